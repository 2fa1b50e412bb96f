#include "simhost/document/measure_spacer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

namespace simhost {
namespace {

using Kind = SpacedColumn::Kind;

struct Sounding {
    Rational onset;
    Rational end;
    Rational duration;
};

std::int16_t Position(double x) {
    return static_cast<std::int16_t>(std::clamp<long>(std::lround(x), -32768, 32767));
}

// Columns at one onset stand clef change first, then the grace notes from the farthest, then
// the onset's own notes.
bool StandsBefore(const SpacedColumn& a, const SpacedColumn& b) {
    return std::tuple(a.onset, a.kind, -a.graceRank) < std::tuple(b.onset, b.kind, -b.graceRank);
}

bool SamePlace(const SpacedColumn& a, const SpacedColumn& b) {
    return a.onset == b.onset && a.kind == b.kind && a.graceRank == b.graceRank;
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
    std::vector<SpacedColumn> wanted;
    std::vector<std::vector<std::vector<TimedEvent>>> timed(measure.staves.size());
    for (std::size_t staff = 0; staff < measure.staves.size(); ++staff) {
        for (const Voice& voice : measure.staves[staff]) {
            timed[staff].push_back(voice.Timed());
            for (const TimedEvent& event : timed[staff].back()) {
                if (event.event->IsGrace()) {
                    wanted.push_back({event.onset, Kind::Grace, event.graceRank});
                    continue;
                }
                sounding.push_back({event.onset, event.onset + event.duration, event.duration});
                wanted.push_back({event.onset, Kind::Onset, 0});
            }
        }
    }
    if (sounding.empty()) {
        const Rational length(fields.Length() > 0 ? fields.Length() : kWhole);
        sounding.push_back({Rational(0), length, length});
        wanted.push_back({Rational(0), Kind::Onset, 0});
    }
    Rational end(0);
    for (const Sounding& s : sounding) end = std::max(end, s.end);
    for (const ClefChange& change : measure.clefChanges) {
        wanted.push_back({std::min(change.at, end), Kind::ClefChange, 0});
    }

    MeasureSpacing spacing;
    std::sort(wanted.begin(), wanted.end(), StandsBefore);
    for (const SpacedColumn& column : wanted) {
        if (spacing.columns.empty() || !SamePlace(spacing.columns.back(), column)) {
            spacing.columns.push_back(column);
        }
    }

    double x = fields.leadingSpace;
    for (std::size_t i = 0; i < spacing.columns.size(); ++i) {
        SpacedColumn& column = spacing.columns[i];
        column.x = x;
        if (column.kind == Kind::Grace) {
            column.space = kGraceNoteSpace;
        } else if (column.kind == Kind::ClefChange) {
            column.space = kClefChangeSpace;
        } else {
            Rational next = end;
            for (std::size_t j = i + 1; j < spacing.columns.size(); ++j) {
                if (spacing.columns[j].kind == Kind::Onset) {
                    next = spacing.columns[j].onset;
                    break;
                }
            }
            std::optional<Rational> shortest;
            for (const Sounding& s : sounding) {
                if (s.onset <= column.onset && column.onset < s.end &&
                    (!shortest || s.duration < *shortest)) {
                    shortest = s.duration;
                }
            }
            column.space = shortest ? SpaceAfterOnset(widths, *shortest, next - column.onset) : 0.0;
        }
        x += column.space;
    }
    spacing.width = x + fields.trailingSpace;

    const double middle = (fields.leadingSpace + spacing.width - fields.trailingSpace) / 2;
    const auto columnOf = [&](const TimedEvent& event) {
        const SpacedColumn key{event.onset, event.event->IsGrace() ? Kind::Grace : Kind::Onset,
                               event.graceRank};
        const auto it =
            std::lower_bound(spacing.columns.begin(), spacing.columns.end(), key, StandsBefore);
        return it == spacing.columns.end() ? x : it->x;
    };
    for (const auto& voices : timed) {
        std::vector<std::int16_t> positions;
        for (const auto& voice : voices) {
            for (const TimedEvent& event : voice) {
                positions.push_back(Position(event.event->wholeMeasure ? middle : columnOf(event)));
            }
        }
        spacing.staffPositions.push_back(std::move(positions));
    }
    return spacing;
}

}  // namespace simhost
