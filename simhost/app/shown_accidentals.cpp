#include "simhost/app/shown_accidentals.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>

namespace simhost {
namespace {

// The letters that sharps and flats of a key reach first: F C G D A E B, and backwards.
constexpr std::array<int, 7> kSharpOrder = {3, 0, 4, 1, 5, 2, 6};

}  // namespace

int KeyAlter(int key, int step) {
    const int count = std::min(std::abs(key), 7);
    for (int i = 0; i < count; ++i) {
        const int letter = key > 0 ? kSharpOrder[static_cast<std::size_t>(i)]
                                   : kSharpOrder[static_cast<std::size_t>(6 - i)];
        if (letter == step) return key > 0 ? 1 : -1;
    }
    return 0;
}

std::map<std::pair<const Event*, std::size_t>, int> ShownAccidentals(
    const std::vector<TimedEvent>& events, int key) {
    std::vector<const TimedEvent*> order;
    order.reserve(events.size());
    for (const TimedEvent& event : events) order.push_back(&event);
    // Grace notes sound before the note they ornament, the farthest first.
    std::stable_sort(order.begin(), order.end(), [](const TimedEvent* a, const TimedEvent* b) {
        return std::tuple(a->onset, -a->graceRank) < std::tuple(b->onset, -b->graceRank);
    });
    std::map<int, int> inForce;  // diatonic step (octave included) -> alteration
    std::map<std::pair<const Event*, std::size_t>, int> shown;
    for (const TimedEvent* timed : order) {
        const Event& event = *timed->event;
        for (std::size_t i = 0; i < event.pitches.size(); ++i) {
            const Pitch& pitch = event.pitches[i];
            const int line = pitch.octave * 7 + pitch.step;
            // An alteration is a small signed count, not a character.
            const int alter = pitch.alter;  // NOLINT(bugprone-signed-char-misuse)
            const auto known = inForce.find(line);
            const int expected = known != inForce.end() ? known->second : KeyAlter(key, pitch.step);
            if (alter != expected) shown[{&event, i}] = alter;
            inForce[line] = alter;
        }
    }
    return shown;
}

}  // namespace simhost
