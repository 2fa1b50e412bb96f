#include "simhost/app/beam_layout.h"

#include <algorithm>
#include <cmath>

namespace simhost::layout {
namespace {

constexpr double kBeamThickness = 0.5 * kSpace;
constexpr double kBeamStep = 0.75 * kSpace;
constexpr double kHookLength = 0.9 * kSpace;

// The side the group's stems take: as stated, as the voice takes it, or away from the note
// furthest from the middle line.
bool GroupUp(const BeamGroup& group, const std::vector<std::size_t>& members,
             const std::vector<PlacedEvent>& staff, const ChordLayouter& layOut) {
    for (const Event* event : group.events) {
        if (event->marks.stem == StemDirection::Up) return true;
        if (event->marks.stem == StemDirection::Down) return false;
    }
    int highest = -1000;
    int lowest = 1000;
    for (const std::size_t i : members) {
        const PlacedEvent& item = staff[i];
        if (item.timed.event->IsRest()) continue;
        if (item.stemUp) return *item.stemUp;
        const ChordLayout chord = layOut(item);
        highest = std::max(highest, chord.highest);
        lowest = std::min(lowest, chord.lowest);
    }
    return highest < -lowest;
}

}  // namespace

BeamLayout LayOutBeam(const BeamGroup& group, const std::vector<std::size_t>& members,
                      std::vector<PlacedEvent>& staff, const ChordLayouter& layOut) {
    BeamLayout beam;
    beam.up = GroupUp(group, members, staff, layOut);
    struct Stemmed {
        std::size_t member;  // in the group
        double x;
        double end;  // the plain stem's end
    };
    std::vector<Stemmed> stems;
    double size = 1;
    for (std::size_t m = 0; m < members.size(); ++m) {
        PlacedEvent& item = staff[members[m]];
        if (item.timed.event->IsRest()) continue;
        item.stemUp = beam.up;
        const ChordLayout chord = layOut(item);
        size = chord.size;
        if (chord.stem) stems.push_back(Stemmed{m, chord.stem->x, chord.stem->end});
    }
    if (stems.size() < 2) return BeamLayout{};
    beam.thickness = kBeamThickness * size;
    const double x0 = stems.front().x;
    const double width = stems.back().x - x0;
    double rise = stems.back().end - stems.front().end;
    const double most = kSpace * size;
    rise = std::clamp(rise, -most, most);
    const double slope = width > 0 ? rise / width : 0;
    double y0 = stems.front().end;
    // Away from the heads until every stem is at least its plain length: up is toward smaller y.
    const double sign = beam.up ? 1 : -1;
    double shift = 0;
    for (const Stemmed& stem : stems) {
        const double y = y0 + slope * (stem.x - x0);
        shift = std::max(shift, sign * (y - stem.end));
    }
    y0 -= sign * shift;
    const auto lineAt = [&](double x) { return y0 + slope * (x - x0); };
    for (const Stemmed& stem : stems) {
        beam.stemEnds.emplace_back(members[stem.member], lineAt(stem.x));
    }
    const auto bar = [&](std::int32_t level, double x1, double x2) {
        const double inward = sign * kBeamStep * size * (level - 1);
        beam.bars.push_back(BeamBar{level, x1, lineAt(x1) + inward, x2, lineAt(x2) + inward});
    };
    bar(1, stems.front().x, stems.back().x);
    // The group's events, by member, to their stems; a span over rests ends at notes.
    const auto stemX = [&](std::size_t member) -> std::optional<double> {
        for (const Stemmed& stem : stems) {
            if (stem.member == member) return stem.x;
        }
        return std::nullopt;
    };
    for (const BeamSpan& span : group.inner) {
        const auto first = stemX(span.first);
        const auto last = stemX(span.last);
        if (!first || !last) continue;
        if (span.first == span.last) {
            const double length = kHookLength * size;
            bar(span.level, span.forward ? *first : *first - length,
                span.forward ? *first + length : *first);
        } else {
            bar(span.level, *first, *last);
        }
    }
    return beam;
}

}  // namespace simhost::layout
