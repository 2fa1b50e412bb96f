#include "simhost/document/score.h"

#include <algorithm>

namespace simhost {

Rational DottedDuration(std::int32_t value, std::int32_t dots) {
    // value * (2 - 1/2^dots)
    const std::int64_t power = std::int64_t{1} << std::clamp(dots, 0, 8);
    return Rational(static_cast<std::int64_t>(value) * (2 * power - 1), power);
}

std::vector<TimedEvent> Voice::Timed() const {
    std::vector<TimedEvent> timed;
    timed.reserve(events.size());
    std::vector<Tuplet> open;
    Rational scale(1);
    Rational onset(0);
    const auto rescale = [&] {
        scale = Rational(1);
        for (const Tuplet& tuplet : open) scale = scale * Rational(tuplet.normal, tuplet.actual);
    };
    for (const Event& event : events) {
        for (const Tuplet& tuplet : event.tupletStarts) {
            if (tuplet.actual > 0 && tuplet.normal > 0) open.push_back(tuplet);
        }
        rescale();
        const Rational duration =
            event.IsGrace() ? Rational(0) : DottedDuration(event.value, event.dots) * scale;
        timed.push_back(TimedEvent{onset, duration, &event, 0});
        onset += duration;
        for (std::int32_t i = 0; i < event.tupletStops && !open.empty(); ++i) open.pop_back();
    }
    // Counted back from the note each run of grace notes ornaments.
    std::int32_t rank = 0;
    for (auto it = timed.rbegin(); it != timed.rend(); ++it) {
        rank = it->event->IsGrace() ? rank + 1 : 0;
        it->graceRank = rank;
    }
    return timed;
}

bool Measure::IsEmpty() const {
    return std::all_of(staves.begin(), staves.end(), [](const std::vector<Voice>& voices) {
        return std::all_of(voices.begin(), voices.end(),
                           [](const Voice& voice) { return voice.events.empty(); });
    });
}

const Measure* Score::MeasureNumber(std::int32_t number) const {
    if (number < 1 || static_cast<std::size_t>(number) > measures_.size()) return nullptr;
    return &measures_[static_cast<std::size_t>(number - 1)];
}

const Staff* Score::StaffInSlot(std::int16_t slot, std::uint16_t key) const {
    const auto index = StaffIndexOfSlot(slot);
    if (!index) return nullptr;
    const Staff& staff = staves_[*index];
    if (key != 0 && staff.key != key) return nullptr;
    return &staff;
}

std::optional<std::size_t> Score::StaffIndexOfSlot(std::int16_t slot) const {
    const auto it = std::find_if(staves_.begin(), staves_.end(),
                                 [&](const Staff& staff) { return staff.slot == slot; });
    if (it == staves_.end()) return std::nullopt;
    return static_cast<std::size_t>(it - staves_.begin());
}

const StaffGroup* Score::GroupOf(std::int16_t slot) const {
    const auto it = std::find_if(groups_.begin(), groups_.end(), [&](const StaffGroup& group) {
        return group.firstSlot <= slot && slot <= group.lastSlot;
    });
    return it == groups_.end() ? nullptr : &*it;
}

Clef Score::ClefAt(std::size_t staff, std::int32_t measure, Rational at) const {
    if (staff >= staves_.size()) return kTrebleClef;
    Clef clef = staves_[staff].clef;
    const auto last =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(measure, 0)), measures_.size());
    for (std::size_t m = 0; m < last; ++m) {
        for (const ClefChange& change : measures_[m].clefChanges) {
            if (change.staff == staff && (m + 1 < last || change.at <= at)) clef = change.clef;
        }
    }
    return clef;
}

void Score::AddStaff(const Staff& staff) {
    staves_.push_back(staff);
    for (Measure& measure : measures_) measure.staves.resize(staves_.size());
}

Measure& Score::AddMeasure() {
    measures_.emplace_back();
    measures_.back().staves.resize(staves_.size());
    return measures_.back();
}

}  // namespace simhost
