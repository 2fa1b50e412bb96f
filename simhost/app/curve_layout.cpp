#include "simhost/app/curve_layout.h"

#include <algorithm>
#include <cmath>

namespace simhost::layout {
namespace {

constexpr double kTieThickness = 0.22 * kSpace;
constexpr double kSlurThickness = 0.3 * kSpace;
// A slur stands this far off the ink it clears.
constexpr double kSlurClearance = 0.45 * kSpace;
// The most a slur bends before it lifts its ends instead.
constexpr double kMostSlurBulge = 3.5 * kSpace;
constexpr double kUnendedTie = 1.8 * kSpace;

// An end of a curve as drawn: its event's chord and column.
struct Anchor {
    ChordLayout chord;
    const PlacedEvent* item = nullptr;
    bool severalVoices = false;
};

std::optional<Anchor> AnchorOf(RowMusic& row, const CurveEnd& end) {
    const MeasureMusic* music = row.Music(end.measure);
    if (music == nullptr || end.staff >= music->staves.size()) return std::nullopt;
    const StaffMusic& staff = music->staves[end.staff];
    const auto found = staff.where.find(end.event);
    if (found == staff.where.end()) return std::nullopt;
    return Anchor{LayOutEvent(row.GetDocument(), *music, end.staff, found->second),
                  &music->placed[end.staff][found->second], staff.severalVoices};
}

const PlacedHead* HeadOf(const ChordLayout& chord, std::size_t pitch) {
    for (const PlacedHead& head : chord.heads) {
        if (head.pitch == pitch) return &head;
    }
    return nullptr;
}

// Whether a tie of this head bends up: of several voices, to its stem's side; else of a chord's
// upper half, or away from the stem.
bool TieUp(const Anchor& anchor, const PlacedHead& head) {
    const ChordLayout& chord = anchor.chord;
    if (anchor.severalVoices) return chord.up;
    const std::size_t count = chord.heads.size();
    const auto rank = static_cast<std::size_t>(&head - chord.heads.data());
    if (count > 1 && 2 * rank + 1 != count) return 2 * rank + 1 > count;
    if (!chord.stem) return head.step >= 0;
    return !chord.up;
}

// Where a tie leaves or meets a head: beside the heads of a chord, off the head's side alone.
struct Point {
    double x;
    double y;
};

Point TieEnd(const ChordLayout& chord, const PlacedHead& head, bool up, bool leaving) {
    const double sign = up ? -1 : 1;
    const double side = leaving ? 1 : -1;
    if (chord.heads.size() > 1) {
        return Point{head.centre + side * (chord.rx + 0.15 * kSpace), head.y + sign * 0.2 * kSpace};
    }
    return Point{head.centre + side * 0.55 * chord.rx, head.y + sign * (chord.ry + 0.2 * kSpace)};
}

std::optional<PlacedCurve> Tie(const CurveSpan& span, RowMusic& row) {
    const auto first = AnchorOf(row, span.start);
    const auto last = span.end ? AnchorOf(row, *span.end) : std::nullopt;
    const PlacedHead* from = first ? HeadOf(first->chord, span.start.pitch) : nullptr;
    const PlacedHead* to = last ? HeadOf(last->chord, span.end->pitch) : nullptr;
    if (from == nullptr && to == nullptr) return std::nullopt;
    const bool up = from != nullptr ? TieUp(*first, *from) : TieUp(*last, *to);
    Point a{};
    Point b{};
    if (from != nullptr) a = TieEnd(first->chord, *from, up, true);
    if (to != nullptr) b = TieEnd(last->chord, *to, up, false);
    if (from == nullptr) {
        a = Point{row.Left() + 0.3 * kSpace, b.y};
    } else if (to == nullptr) {
        const bool pastRow = span.end && span.end->measure > row.Measures().last;
        b = Point{pastRow ? row.Right() - 0.3 * kSpace : a.x + kUnendedTie, a.y};
    }
    if (b.x - a.x < 0.5 * kSpace) return std::nullopt;
    const double size = from != nullptr ? first->chord.size : last->chord.size;
    const double length = b.x - a.x;
    const double bulge = std::clamp(0.22 * length, 0.45 * kSpace, 1.1 * kSpace) * size;
    return PlacedCurve{CurveKind::Tie, span.start.staff,
                       Crescent{a.x, a.y, b.x, b.y, up ? -bulge : bulge, kTieThickness * size}};
}

// Whether a slur goes over its notes.
bool SlurAbove(const CurveSpan& span, const std::optional<Anchor>& first,
               const std::optional<Anchor>& last) {
    if (span.placement != Placement::Unstated) return span.placement == Placement::Above;
    const Anchor& one = first ? *first : *last;
    if (one.severalVoices) return one.chord.up;
    const bool firstUp = !first || first->chord.up;
    const bool lastUp = !last || last->chord.up;
    return !(firstUp && lastUp);
}

// Where a slur meets a chord: over or under its ink, at the stem where the stem is on that side.
Point SlurEnd(const Anchor& anchor, bool above) {
    const ChordLayout& chord = anchor.chord;
    const Reach reach = ReachOf(chord);
    const bool stemSide = chord.stem && chord.up == above;
    const double x =
        stemSide ? chord.stem->x
                 : (chord.heads.empty() ? anchor.item->x + kHeadRx : chord.heads.front().centre);
    return Point{x, above ? reach.top - kSlurClearance : reach.bottom + kSlurClearance};
}

class SlurLayout {
public:
    SlurLayout(const std::vector<CurveSpan>& spans, RowMusic& row) : spans_(spans), row_(row) {}

    std::optional<PlacedCurve> Slur(std::size_t index, int depth = 0) {
        const CurveSpan& span = spans_[index];
        if (!span.end) return std::nullopt;
        const auto first = AnchorOf(row_, span.start);
        const auto last = AnchorOf(row_, *span.end);
        if (!first && !last) return std::nullopt;
        const bool above = SlurAbove(span, first, last);
        const double sign = above ? -1 : 1;
        Point a{};
        Point b{};
        if (first) a = SlurEnd(*first, above);
        if (last) b = SlurEnd(*last, above);
        if (!first) a = Point{row_.Left() + 0.3 * kSpace, b.y};
        if (!last) b = Point{row_.Right() - 0.3 * kSpace, a.y};
        if (b.x - a.x < 0.5 * kSpace) return std::nullopt;
        const double length = b.x - a.x;
        double bulge = sign * std::clamp(0.18 * length, 0.8 * kSpace, 2 * kSpace);
        // Bends further for each point it must pass beyond.
        const auto clear = [&](double x, double y) {
            const double t = std::clamp((x - a.x) / length, 0.1, 0.9);
            const double line = a.y + t * (b.y - a.y);
            const double needed = (y - line) / (3 * t * (1 - t));
            bulge = above ? std::min(bulge, needed) : std::max(bulge, needed);
        };
        // Of several voices, only the slur's own voice (the stems that go its way) is cleared.
        const bool ownVoiceOnly = first && first->severalVoices;
        const bool voiceUp = ownVoiceOnly && first->chord.up;
        const std::int32_t from = std::max<std::int32_t>(span.start.measure, row_.Measures().first);
        const std::int32_t to = std::min<std::int32_t>(span.end->measure, row_.Measures().last);
        for (std::int32_t m = from; m <= to; ++m) {
            const MeasureMusic* music = row_.Music(m);
            if (music == nullptr || span.start.staff >= music->staves.size()) continue;
            const std::vector<PlacedEvent>& placed = music->placed[span.start.staff];
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const PlacedEvent& item = placed[i];
                const Event& event = *item.timed.event;
                if (event.space || event.IsRest() || &event == span.start.event ||
                    &event == span.end->event || item.x <= a.x || item.x >= b.x) {
                    continue;
                }
                const ChordLayout chord =
                    LayOutEvent(row_.GetDocument(), *music, span.start.staff, i);
                if (ownVoiceOnly && chord.up != voiceUp) continue;
                const Reach reach = ReachOf(chord);
                const double x = chord.heads.empty() ? item.x : chord.heads.front().centre;
                clear(x, above ? reach.top - kSlurClearance : reach.bottom + kSlurClearance);
            }
        }
        if (depth < 4) {
            for (const std::size_t inner : Within(index)) {
                const auto curve = Slur(inner, depth + 1);
                if (!curve || (curve->shape.bulge < 0) != above) continue;
                const Crescent& c = curve->shape;
                const double peak = (c.y1 + c.y2) / 2 + 0.75 * c.bulge;
                clear((c.x1 + c.x2) / 2, peak + sign * kSlurClearance);
            }
        }
        if (std::abs(bulge) > kMostSlurBulge) {
            const double lift = 0.75 * (std::abs(bulge) - kMostSlurBulge);
            a.y += sign * lift;
            b.y += sign * lift;
            bulge = sign * kMostSlurBulge;
        }
        const double size = first ? first->chord.size : last->chord.size;
        return PlacedCurve{CurveKind::Slur, span.start.staff,
                           Crescent{a.x, a.y, b.x, b.y, bulge, kSlurThickness * size}};
    }

private:
    // The slurs of the same staff that start and end within this one's notes, itself excluded.
    std::vector<std::size_t> Within(std::size_t index) const {
        const CurveSpan& outer = spans_[index];
        std::vector<std::size_t> inner;
        const auto begin = std::lower_bound(spans_.begin(), spans_.end(), outer.start.measure,
                                            [](const CurveSpan& span, std::int32_t measure) {
                                                return span.start.measure < measure;
                                            });
        for (auto it = begin; it != spans_.end() && it->start.measure <= outer.end->measure; ++it) {
            const auto i = static_cast<std::size_t>(it - spans_.begin());
            if (i == index || it->kind != CurveKind::Slur || !it->end ||
                it->start.staff != outer.start.staff) {
                continue;
            }
            if (Before(outer.start, it->start) && Before(*it->end, *outer.end)) inner.push_back(i);
        }
        return inner;
    }

    // Whether a stands at or before b, by measure and then onset; equal ends nest too, unless
    // both ends are the outer slur's own.
    static bool Before(const CurveEnd& a, const CurveEnd& b) {
        if (a.measure != b.measure) return a.measure < b.measure;
        return a.event == b.event || a.onset <= b.onset;
    }

    const std::vector<CurveSpan>& spans_;
    RowMusic& row_;
};

}  // namespace

RowMusic::RowMusic(const Document& document, MeasureRange measures, double left, double firstStaff,
                   bool byMarks)
    : document_(document),
      measures_(measures),
      left_(left),
      right_(left + RowWidth(SvgRow{{}, &document, measures})),
      firstStaff_(firstStaff),
      byMarks_(byMarks),
      next_(measures.first),
      nextX_(left) {}

const MeasureMusic* RowMusic::Music(std::int32_t number) {
    if (number < measures_.first || number > measures_.last) return nullptr;
    while (next_ <= number) {
        MeasureMusic music = LayOutMeasure(document_, next_, nextX_, firstStaff_, byMarks_);
        nextX_ += music.width;
        laidOut_.emplace(next_, std::move(music));
        ++next_;
    }
    const auto found = laidOut_.find(number);
    return found == laidOut_.end() ? nullptr : &found->second;
}

void RowMusic::ForgetBefore(std::int32_t number) {
    laidOut_.erase(laidOut_.begin(), laidOut_.lower_bound(number));
}

std::vector<PlacedCurve> CurvesOfMeasure(const std::vector<CurveSpan>& spans, RowMusic& row,
                                         std::int32_t number) {
    std::vector<PlacedCurve> curves;
    const bool first = number == row.Measures().first;
    const auto begin = first ? spans.begin()
                             : std::lower_bound(spans.begin(), spans.end(), number,
                                                [](const CurveSpan& span, std::int32_t measure) {
                                                    return span.start.measure < measure;
                                                });
    SlurLayout slurs(spans, row);
    for (auto it = begin; it != spans.end() && it->start.measure <= number; ++it) {
        // From before the row: only what reaches into it.
        if (it->start.measure < number && (!it->end || it->end->measure < number)) continue;
        const auto curve = it->kind == CurveKind::Tie
                               ? Tie(*it, row)
                               : slurs.Slur(static_cast<std::size_t>(it - spans.begin()));
        if (curve) curves.push_back(*curve);
    }
    return curves;
}

}  // namespace simhost::layout
