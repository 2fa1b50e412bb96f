#include "simhost/app/measure_voices.h"

#include <algorithm>
#include <limits>

#include "simhost/app/musicxml_marks.h"
#include "simhost/app/note_values.h"
#include "simhost/document/score_limits.h"

namespace simhost {
namespace {

Rational ScaleOf(const Tuplet& tuplet) { return Rational(tuplet.normal, tuplet.actual); }

std::optional<Tuplet> TupletOfScale(Rational scale) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (scale <= Rational(0) || scale.Num() > kMax || scale.Den() > kMax) return std::nullopt;
    return Tuplet{static_cast<std::int32_t>(scale.Den()), static_cast<std::int32_t>(scale.Num())};
}

}  // namespace

std::optional<Rational> MeasureVoices::Product(const std::vector<Group>& groups,
                                               bool explicitOnly) {
    std::optional<Rational> product = Rational(1);
    for (const Group& group : groups) {
        if (product && (!explicitOnly || !group.inferred)) {
            product = CheckedProduct(*product, ScaleOf(group.ratio));
        }
    }
    return product;
}

bool MeasureVoices::RoomForGroup(const Lane& lane) {
    return lane.open.size() < static_cast<std::size_t>(kMaxTupletNesting);
}

void MeasureVoices::Push(Lane& lane, Event event) {
    lane.music.events.push_back(std::move(event));
    ++events_;
}

void MeasureVoices::CloseGroups(Lane& lane, std::size_t keep) {
    while (lane.open.size() > keep) {
        lane.open.pop_back();
        if (!lane.music.events.empty()) lane.music.events.back().tupletStops += 1;
    }
}

bool MeasureVoices::Pad(Lane& lane, Rational position) {
    if (lane.end >= position) return true;
    // Spaces are never put into a group that is still open: they would be shortened with it.
    CloseGroups(lane, 0);
    auto rests = GapRests(position - lane.end);
    if (!rests) return false;
    for (Event& rest : *rests) {
        rest.space = true;
        Push(lane, std::move(rest));
    }
    lane.end = position;
    return true;
}

MeasureVoices::Lane& MeasureVoices::LaneFor(const std::string& voice, Rational onset) {
    for (Lane& lane : lanes_) {
        if (lane.voice == voice && lane.end <= onset) return lane;
    }
    lanes_.push_back(Lane{voice, Rational(0), {}, {}});
    return lanes_.back();
}

std::optional<std::string> MeasureVoices::AddNote(const PlacedNote& note) {
    Lane& lane = LaneFor(note.voice, note.onset);
    lastLane_ = static_cast<std::size_t>(&lane - lanes_.data());
    if (!Pad(lane, note.onset)) return "the gap before this note cannot be filled with spaces";

    Event event = note.event;
    event.tupletStarts.clear();
    event.tupletStops = 0;
    event.marks.tupletLooks.clear();
    // Outside the voice's time, a grace note neither opens nor closes a group.
    if (event.IsGrace()) {
        Push(lane, std::move(event));
        return std::nullopt;
    }
    const Rational modification = ScaleOf(note.modification);

    if (!note.starts.empty()) {
        // Explicit groups open outside any inferred one.
        const auto firstInferred = std::find_if(lane.open.begin(), lane.open.end(),
                                                [](const Group& g) { return g.inferred; });
        CloseGroups(lane, static_cast<std::size_t>(firstInferred - lane.open.begin()));
        std::optional<Rational> enclosing = Product(lane.open, true);
        std::size_t unstated = 0;
        for (const TupletMark& mark : note.starts) {
            if (!mark.ratio) {
                ++unstated;
            } else if (enclosing) {
                enclosing = CheckedProduct(*enclosing, ScaleOf(*mark.ratio));
            }
        }
        if (unstated > 1) {
            return "several <tuplet> groups start at one note without <tuplet-actual> and "
                   "<tuplet-normal>";
        }
        const auto remaining =
            enclosing ? CheckedProduct(modification, Rational(enclosing->Den(), enclosing->Num()))
                      : std::nullopt;
        if (!remaining) return TupletRatiosError();
        for (const TupletMark& mark : note.starts) {
            std::optional<Tuplet> ratio = mark.ratio;
            // Alone in the note's modification, the group keeps its written counts (6:4).
            if (!ratio && *remaining != Rational(1)) {
                ratio = *enclosing == Rational(1) ? note.modification : TupletOfScale(*remaining);
            }
            if (!ratio) continue;
            if (!RoomForGroup(lane)) return TupletNestingError();
            lane.open.push_back(Group{*ratio, false, mark.number, Rational(0), Rational(0), false});
            event.tupletStarts.push_back(*ratio);
            event.marks.tupletLooks.push_back(mark.look);
        }
    }

    // What the explicit groups leave of the note's modification is an inferred group: a run
    // of notes under one <time-modification> without <tuplet> marks.
    const auto outer = Product(lane.open, true);
    const auto remaining =
        outer ? CheckedProduct(modification, Rational(outer->Den(), outer->Num())) : std::nullopt;
    if (!remaining) return TupletRatiosError();
    if (!lane.open.empty() && lane.open.back().inferred &&
        ScaleOf(lane.open.back().ratio) != *remaining) {
        CloseGroups(lane, lane.open.size() - 1);
    }
    const bool inferredOpen = !lane.open.empty() && lane.open.back().inferred;
    if (!inferredOpen && *remaining != Rational(1)) {
        const auto ratio = *outer == Rational(1) ? std::optional<Tuplet>(note.modification)
                                                 : TupletOfScale(*remaining);
        if (!ratio) return "a <time-modification> that the groups around it cannot make";
        if (!RoomForGroup(lane)) return TupletNestingError();
        const Rational unit = note.normalValue.value_or(Rational(event.value));
        lane.open.push_back(
            Group{*ratio, true, 0, Rational(0), unit, note.normalValue.has_value()});
        event.tupletStarts.push_back(*ratio);
        event.marks.tupletLooks.emplace_back();
    }
    // Looks are kept only where some group states one.
    std::vector<TupletLook>& looks = event.marks.tupletLooks;
    if (std::all_of(looks.begin(), looks.end(),
                    [](const TupletLook& look) { return look == TupletLook{}; })) {
        looks.clear();
    }

    const Rational plain = DottedDuration(event.value, event.dots);
    const auto scale = Product(lane.open, false);
    const auto sounding = scale ? CheckedProduct(plain, *scale) : std::nullopt;
    const auto end = sounding ? CheckedSum(note.onset, *sounding) : std::nullopt;
    if (!end) return TupletRatiosError();
    lane.end = *end;
    Push(lane, std::move(event));

    // An inferred group is complete when its notes add up to `actual` of its unit: three
    // eighths of a 3:2 group, or a quarter and an eighth.
    if (!lane.open.empty() && lane.open.back().inferred) {
        Group& group = lane.open.back();
        group.plainSoFar += plain;
        if (!group.unitStated) {
            group.unit = std::min(group.unit, Rational(lane.music.events.back().value));
        }
        if (group.plainSoFar >= Rational(group.ratio.actual) * group.unit) {
            CloseGroups(lane, lane.open.size() - 1);
        }
    }

    for (const std::int32_t number : note.stops) {
        for (std::size_t i = lane.open.size(); i-- > 0;) {
            if (!lane.open[i].inferred && lane.open[i].number == number) {
                CloseGroups(lane, i);
                break;
            }
        }
    }
    return std::nullopt;
}

void MeasureVoices::AddChordPitch(const Pitch& pitch, const NoteMarks& marks, TieMark tie) {
    if (!lastLane_) return;
    Voice& music = lanes_[*lastLane_].music;
    if (music.events.empty() || music.events.back().IsRest()) return;
    Event& chord = music.events.back();
    chord.pitches.push_back(pitch);
    JoinChordMarks(chord.marks, chord.pitches.size(), marks, tie);
}

void MeasureVoices::FillTo(const std::string& voice, Rational position) {
    Lane& lane = LaneFor(voice, position);
    Pad(lane, position);
}

std::vector<Voice> MeasureVoices::Finish() {
    std::vector<Voice> voices;
    for (Lane& lane : lanes_) {
        CloseGroups(lane, 0);
        if (!lane.music.events.empty()) voices.push_back(std::move(lane.music));
    }
    lanes_.clear();
    lastLane_.reset();
    events_ = 0;
    return voices;
}

}  // namespace simhost
