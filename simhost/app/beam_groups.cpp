#include "simhost/app/beam_groups.h"

#include <algorithm>

namespace simhost {
namespace {

// Flags an unbeamed note of this value has: one for an eighth, two for a sixteenth.
std::int32_t LevelsOf(std::int32_t value) {
    std::int32_t levels = 0;
    for (std::int32_t v = kEighth; v >= value && v > 0; v /= 2) ++levels;
    return levels;
}

BeamMark MarkAt(const Event& event, std::int32_t level) {
    const auto index = static_cast<std::size_t>(level - 1);
    return index < event.marks.beams.size() ? event.marks.beams[index] : BeamMark::Unstated;
}

bool Beamable(const Event& event) { return event.value <= kEighth; }

// A group worth a beam: two notes or more, none of them a quarter or longer.
bool Drawable(const BeamGroup& group) {
    std::size_t notes = 0;
    for (const Event* event : group.events) {
        if (event->IsRest()) continue;
        if (!Beamable(*event)) return false;
        ++notes;
    }
    return notes >= 2;
}

// Rests at a group's ends hold no beam.
void TrimRests(BeamGroup& group) {
    while (!group.events.empty() && group.events.back()->IsRest()) group.events.pop_back();
    const auto first = std::find_if(group.events.begin(), group.events.end(),
                                    [](const Event* e) { return !e->IsRest(); });
    group.events.erase(group.events.begin(), first);
}

// Secondary beams as the marks state them: a run of begin/continue/end at a level, or a hook.
void StatedInner(BeamGroup& group) {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    for (std::int32_t level = 2; level <= kMaxBeamLevels; ++level) {
        std::size_t open = kNone;  // where the beam of this level began
        for (std::size_t i = 0; i < group.events.size(); ++i) {
            const BeamMark mark = MarkAt(*group.events[i], level);
            if (mark == BeamMark::ForwardHook || mark == BeamMark::BackwardHook) {
                group.inner.push_back(BeamSpan{level, i, i, mark == BeamMark::ForwardHook});
            }
            const bool joins = mark == BeamMark::Begin || mark == BeamMark::Continue;
            if (mark == BeamMark::End && open != kNone && open < i) {
                group.inner.push_back(BeamSpan{level, open, i, true});
            }
            if (joins && open == kNone) open = i;
            if (!joins) open = kNone;
        }
        if (open != kNone && open + 1 < group.events.size()) {
            group.inner.push_back(BeamSpan{level, open, group.events.size() - 1, true});
        }
    }
}

// Secondary beams by the notes' values: a run of notes of that many flags shares a beam; a
// note alone gets a hook, toward the note after it at the group's start and else toward the
// note before.
void ValueInner(BeamGroup& group) {
    std::int32_t deepest = 0;
    for (const Event* event : group.events) deepest = std::max(deepest, LevelsOf(event->value));
    for (std::int32_t level = 2; level <= deepest; ++level) {
        std::size_t i = 0;
        while (i < group.events.size()) {
            if (LevelsOf(group.events[i]->value) < level) {
                ++i;
                continue;
            }
            std::size_t last = i;
            while (last + 1 < group.events.size() &&
                   LevelsOf(group.events[last + 1]->value) >= level) {
                ++last;
            }
            group.inner.push_back(BeamSpan{level, i, last, i == 0});
            i = last + 1;
        }
    }
}

class StatedGrouper {
public:
    explicit StatedGrouper(std::vector<BeamGroup>& groups) : groups_(groups) {}

    void Add(const Event& event) {
        const BeamMark mark = MarkAt(event, 1);
        if (mark == BeamMark::Begin) {
            Close();
            open_ = true;
        }
        if (mark == BeamMark::Unstated || mark == BeamMark::ForwardHook ||
            mark == BeamMark::BackwardHook) {
            // A rest inside a group is beamed over; a note the file left out of it ends it.
            if (open_ && event.IsRest()) {
                current_.events.push_back(&event);
            } else {
                Close();
            }
            return;
        }
        open_ = true;
        current_.events.push_back(&event);
        if (mark == BeamMark::End) Close();
    }

    void Close() {
        if (open_) {
            TrimRests(current_);
            if (Drawable(current_)) {
                StatedInner(current_);
                groups_.push_back(std::move(current_));
            }
        }
        current_ = BeamGroup{};
        open_ = false;
    }

private:
    std::vector<BeamGroup>& groups_;
    BeamGroup current_;
    bool open_ = false;
};

std::vector<BeamGroup> ByMarks(const Voice& voice) {
    std::vector<BeamGroup> groups;
    StatedGrouper notes(groups);
    StatedGrouper graces(groups);
    for (const Event& event : voice.events) {
        if (event.space) {
            notes.Close();
            graces.Close();
        } else {
            (event.IsGrace() ? graces : notes).Add(event);
        }
    }
    notes.Close();
    graces.Close();
    return groups;
}

std::vector<BeamGroup> ByBeat(const Voice& voice, std::int32_t beats, std::int32_t beatDuration) {
    // A document's time may give the beat no length: it counts as the shortest time there is,
    // which holds no note, rather than a beat of nothing to divide by.
    const std::int64_t unit = std::max<std::int64_t>(beatDuration, 1);
    // Compound time (6/8, 9/8, 12/16) beats in dotted values.
    const bool compound = beats > 3 && beats % 3 == 0 && unit <= kEighth;
    const std::int64_t beat = compound ? 3 * unit : unit;
    std::vector<BeamGroup> groups;
    BeamGroup current;
    std::int64_t currentBeat = -1;
    const auto close = [&] {
        if (current.events.size() >= 2) {
            ValueInner(current);
            groups.push_back(std::move(current));
        }
        current = BeamGroup{};
    };
    for (const TimedEvent& timed : voice.Timed()) {
        const Event& event = *timed.event;
        if (event.IsGrace()) {
            // A grace note stands between the notes around it: no beam crosses it.
            close();
            continue;
        }
        if (event.space || event.IsRest() || !Beamable(event)) {
            close();
            continue;
        }
        const std::int64_t index = timed.onset.Num() / (timed.onset.Den() * beat);
        const bool withinBeat = timed.onset + timed.duration <= Rational((index + 1) * beat);
        if (!withinBeat || index != currentBeat) close();
        currentBeat = withinBeat ? index : -1;
        if (withinBeat) current.events.push_back(&event);
    }
    close();
    return groups;
}

}  // namespace

bool StatesBeams(const Score& score) {
    for (const Measure& measure : score.Measures()) {
        for (const auto& staff : measure.staves) {
            for (const Voice& voice : staff) {
                for (const Event& event : voice.events) {
                    const auto& beams = event.marks.beams;
                    if (std::any_of(beams.begin(), beams.end(),
                                    [](BeamMark m) { return m != BeamMark::Unstated; })) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

std::vector<BeamGroup> BeamGroupsOf(const Voice& voice, bool byMarks, std::int32_t beats,
                                    std::int32_t beatDuration) {
    return byMarks ? ByMarks(voice) : ByBeat(voice, beats, beatDuration);
}

}  // namespace simhost
