// Which notes of one staff's measure are drawn with an accidental, by the rule engravers
// follow: a note shows one when its alteration differs from what the key signature gives its
// letter, or from what an earlier note of the measure on the same line or space (in the same
// octave) set. The measure's notes are taken in the order they sound.
#pragma once

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

#include "simhost/document/score.h"

namespace simhost {

// The alteration the key (sharps positive, flats negative) gives a step (0 to 6, C to B).
int KeyAlter(int key, int step);

// For each event and pitch index that shows an accidental, the alteration shown (0 for a
// natural). The events are every voice's timed events of the staff.
std::map<std::pair<const Event*, std::size_t>, int> ShownAccidentals(
    const std::vector<TimedEvent>& events, int key);

}  // namespace simhost
