#include "simhost/document/measure_spacer.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace simhost {
namespace {

struct Sounding {
    Rational onset;
    Rational end;
    Rational duration;
};

std::int16_t Position(double x) {
    return static_cast<std::int16_t>(std::clamp<long>(std::lround(x), -32768, 32767));
}

}  // namespace

std::int16_t MeasureSpacing::RecordWidth() const {
    return static_cast<std::int16_t>(std::clamp<long>(std::lround(width), 1, 32767));
}

double SpaceAfterOnset(const NoteWidths& widths, Rational shortestSounding,
                       Rational untilNextOnset) {
    if (shortestSounding <= Rational(0)) return 0.0;
    return widths.WidthOf(shortestSounding) *
           (untilNextOnset.ToDouble() / shortestSounding.ToDouble());
}

MeasureSpacing SpaceMeasure(const Measure& measure, const MeasureFields& fields,
                            const NoteWidths& widths) {
    std::vector<Sounding> sounding;
    std::vector<std::vector<std::vector<TimedEvent>>> timed(measure.staves.size());
    for (std::size_t staff = 0; staff < measure.staves.size(); ++staff) {
        for (const Voice& voice : measure.staves[staff]) {
            timed[staff].push_back(voice.Timed());
            for (const TimedEvent& event : timed[staff].back()) {
                sounding.push_back({event.onset, event.onset + event.duration, event.duration});
            }
        }
    }
    if (sounding.empty()) {
        const Rational length(fields.Length() > 0 ? fields.Length() : kWhole);
        sounding.push_back({Rational(0), length, length});
    }

    MeasureSpacing spacing;
    Rational end(0);
    for (const Sounding& s : sounding) {
        spacing.onsets.push_back(s.onset);
        end = std::max(end, s.end);
    }
    std::sort(spacing.onsets.begin(), spacing.onsets.end());
    spacing.onsets.erase(std::unique(spacing.onsets.begin(), spacing.onsets.end()),
                         spacing.onsets.end());

    double x = fields.leadingSpace;
    for (std::size_t i = 0; i < spacing.onsets.size(); ++i) {
        const Rational onset = spacing.onsets[i];
        const Rational next = i + 1 < spacing.onsets.size() ? spacing.onsets[i + 1] : end;
        std::optional<Rational> shortest;
        for (const Sounding& s : sounding) {
            if (s.onset <= onset && onset < s.end && (!shortest || s.duration < *shortest)) {
                shortest = s.duration;
            }
        }
        const double space = shortest ? SpaceAfterOnset(widths, *shortest, next - onset) : 0.0;
        spacing.columns.push_back(x);
        spacing.spaces.push_back(space);
        x += space;
    }
    spacing.width = x + fields.trailingSpace;

    const auto columnOf = [&](Rational onset) {
        const auto it = std::lower_bound(spacing.onsets.begin(), spacing.onsets.end(), onset);
        return spacing.columns[static_cast<std::size_t>(it - spacing.onsets.begin())];
    };
    for (const auto& voices : timed) {
        std::vector<std::int16_t> positions;
        for (const auto& voice : voices) {
            for (const TimedEvent& event : voice)
                positions.push_back(Position(columnOf(event.onset)));
        }
        spacing.staffPositions.push_back(std::move(positions));
    }
    return spacing;
}

}  // namespace simhost
