#include "simhost/app/spacing_report.h"

#include <sstream>
#include <vector>

#include "simhost/document/measure_record.h"
#include "simhost/document/respacer.h"

namespace simhost {

namespace {

std::string Numbers(const std::vector<std::int16_t>& values) {
    std::string out;
    for (const std::int16_t value : values) out += (out.empty() ? "" : " ") + std::to_string(value);
    return out;
}

std::string Width(const Document& document, std::int16_t measure) {
    const std::optional<MeasureFields> fields = document.MeasureRecord(measure);
    return fields ? std::to_string(fields->width) : "(no record)";
}

// "0", "3/2": 1024ths as quarters.
std::string Quarters(Rational onset) {
    const Rational quarters = onset * Rational(1, kQuarter);
    std::string text = std::to_string(quarters.Num());
    if (quarters.Den() != 1) text += "/" + std::to_string(quarters.Den());
    return text;
}

// The clef at the measure's start, then each change with where it comes.
std::string Clefs(const Score& score, std::size_t staff, std::int16_t number,
                  const Measure& measure) {
    std::string text = ClefName(score.ClefAt(staff, number, Rational(0))) + " clef";
    for (const ClefChange& change : measure.clefChanges) {
        if (change.staff != staff || change.at == Rational(0)) continue;
        text += ", " + ClefName(change.clef) + " clef at " + Quarters(change.at);
    }
    return text;
}

// The positions of the events the voices draw: the record lists every event, voice after
// voice, spaces among them.
std::vector<std::vector<std::int16_t>> ByVoice(const std::vector<std::int16_t>& positions,
                                               const std::vector<Voice>& voices) {
    std::vector<std::vector<std::int16_t>> byVoice;
    std::size_t next = 0;
    for (const Voice& voice : voices) {
        byVoice.emplace_back();
        for (const Event& event : voice.events) {
            if (next < positions.size() && !event.space) byVoice.back().push_back(positions[next]);
            ++next;
        }
    }
    if (next != positions.size()) byVoice.assign(voices.size(), {});
    return byVoice;
}

}  // namespace

std::string DescribeChanges(const Document& before, const Document& after, MeasureRange span) {
    std::ostringstream out;
    const Score& score = after.GetScore();
    for (std::int16_t m = span.first; m <= span.last; ++m) {
        const std::string was = Width(before, m);
        const std::string now = Width(after, m);
        out << "measure " << m << "  width " << was;
        if (now != was) out << " -> " << now;
        out << '\n';
        const Measure* measure = score.MeasureNumber(m);
        if (measure == nullptr) continue;
        for (std::size_t s = 0; s < score.Staves().size() && s < measure->staves.size(); ++s) {
            const Staff& staff = score.Staves()[s];
            out << "  staff " << staff.slot << "  " << Clefs(score, s, m, *measure) << '\n';
            const std::vector<Voice>& voices = measure->staves[s];
            const auto p0 = ByVoice(NotePositions(before, m, staff.slot), voices);
            const auto p1 = ByVoice(NotePositions(after, m, staff.slot), voices);
            for (std::size_t v = 0; v < voices.size(); ++v) {
                std::string onsets;
                for (const TimedEvent& timed : voices[v].Timed()) {
                    if (timed.event->space) continue;
                    onsets += (onsets.empty() ? "" : " ");
                    onsets += (timed.event->IsGrace() ? "g" : "") + Quarters(timed.onset);
                }
                if (onsets.empty()) continue;
                const std::string a0 = p0[v].empty() ? "(not placed)" : Numbers(p0[v]);
                const std::string a1 = p1[v].empty() ? "(not placed)" : Numbers(p1[v]);
                out << "    voice " << v + 1 << "  onsets " << onsets << "  at " << a0;
                if (a1 != a0) out << "  ->  " << a1;
                out << '\n';
            }
        }
    }
    return out.str();
}

}  // namespace simhost
