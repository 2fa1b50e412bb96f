#include "simhost/app/curve_marks.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace simhost {
namespace {

// A staff's sounding events in one measure, in the order they are played; of one onset, grace
// notes first and voice by voice.
struct Played {
    Rational onset;
    std::int32_t graceRank = 0;
    std::size_t staff = 0;
    std::size_t voice = 0;
    const Event* event = nullptr;
};

// The sounding events of an instrument's staves in one measure, in the order they are played;
// of one onset, grace notes first, then staff by staff and voice by voice.
std::vector<Played> PlayedOrder(const Measure& measure, const std::vector<std::size_t>& staves) {
    std::vector<Played> played;
    for (const std::size_t s : staves) {
        const std::vector<Voice>& voices = measure.staves[s];
        for (std::size_t v = 0; v < voices.size(); ++v) {
            for (const TimedEvent& timed : voices[v].Timed()) {
                if (timed.event->space || timed.event->IsRest()) continue;
                played.push_back(Played{timed.onset, timed.graceRank, s, v, timed.event});
            }
        }
    }
    std::stable_sort(played.begin(), played.end(), [](const Played& a, const Played& b) {
        return std::make_tuple(a.onset, -a.graceRank, a.staff, a.voice) <
               std::make_tuple(b.onset, -b.graceRank, b.staff, b.voice);
    });
    return played;
}

struct OpenTie {
    std::size_t span;
    Pitch pitch;
    std::size_t voice;
};

class Matcher {
public:
    explicit Matcher(std::size_t staves) : ties_(staves) {}

    void Add(std::int32_t measure, std::size_t instrument, const Played& note) {
        const Event& event = *note.event;
        const std::size_t staff = note.staff;
        const CurveEnd here{measure, staff, note.event, 0, note.onset};
        for (std::size_t p = 0; p < event.marks.ties.size() && p < event.pitches.size(); ++p) {
            if (event.marks.ties[p].stop) StopTie(here, p, note.voice);
        }
        for (const SlurMark& slur : event.marks.slurs) {
            if (slur.number < 1 || slur.number > kMaxSlurNumber) continue;
            auto& open = slurs_[instrument];
            const auto found = open.find(slur.number);
            if (!slur.start) {
                if (found != open.end() && spans_[found->second].start.event != note.event) {
                    spans_[found->second].end = here;
                    open.erase(found);
                }
                continue;
            }
            if (found != open.end()) {
                // Started again while open: the open slur ends here.
                if (spans_[found->second].start.event != note.event) {
                    spans_[found->second].end = here;
                }
                open.erase(found);
            }
            open.emplace(slur.number, spans_.size());
            spans_.push_back(CurveSpan{CurveKind::Slur, here, std::nullopt, slur.placement});
        }
        for (std::size_t p = 0; p < event.marks.ties.size() && p < event.pitches.size(); ++p) {
            if (!event.marks.ties[p].start) continue;
            CurveEnd start = here;
            start.pitch = p;
            ties_[staff].push_back(OpenTie{spans_.size(), event.pitches[p], note.voice});
            spans_.push_back(CurveSpan{CurveKind::Tie, start, std::nullopt, Placement::Unstated});
        }
    }

    std::vector<CurveSpan> Finish() && {
        std::stable_sort(spans_.begin(), spans_.end(), [](const CurveSpan& a, const CurveSpan& b) {
            return a.start.measure < b.start.measure;
        });
        return std::move(spans_);
    }

private:
    // Ends the open tie of the pitch, of the same voice if there is one, on this note.
    void StopTie(const CurveEnd& here, std::size_t pitch, std::size_t voice) {
        auto& open = ties_[here.staff];
        const Pitch& sounding = here.event->pitches[pitch];
        auto best = open.end();
        for (auto it = open.begin(); it != open.end(); ++it) {
            if (it->pitch != sounding || spans_[it->span].start.event == here.event) continue;
            if (best == open.end() || it->voice == voice) best = it;
            if (it->voice == voice) break;
        }
        if (best == open.end()) return;
        CurveEnd end = here;
        end.pitch = pitch;
        spans_[best->span].end = end;
        open.erase(best);
    }

    std::vector<std::vector<OpenTie>> ties_;                            // per staff
    std::map<std::size_t, std::map<std::int32_t, std::size_t>> slurs_;  // per instrument, by number
    std::vector<CurveSpan> spans_;
};

}  // namespace

std::vector<CurveSpan> CurveSpansOf(const Score& score,
                                    const std::vector<std::size_t>& instrumentOfStaff) {
    std::size_t staves = 0;
    for (const Measure& measure : score.Measures())
        staves = std::max(staves, measure.staves.size());
    Matcher matcher(staves);
    std::map<std::size_t, std::vector<std::size_t>> instruments;
    for (std::size_t s = 0; s < staves; ++s) {
        instruments[s < instrumentOfStaff.size() ? instrumentOfStaff[s] : s].push_back(s);
    }
    std::int32_t number = 0;
    for (const Measure& measure : score.Measures()) {
        ++number;
        for (auto [instrument, members] : instruments) {
            std::erase_if(members, [&](std::size_t s) { return s >= measure.staves.size(); });
            for (const Played& note : PlayedOrder(measure, members)) {
                matcher.Add(number, instrument, note);
            }
        }
    }
    return std::move(matcher).Finish();
}

}  // namespace simhost
