// The room key and time signatures take where a measure starts, in 24ths of a staff space: a
// measure that opens with a change of key or time has it in its leading space, and the
// pictures draw the signatures there, one accidental or one signature after another.
#pragma once

#include <cstdint>

namespace simhost {

constexpr std::int16_t kSignatureGap = 8;        // before the first signature
constexpr std::int16_t kKeyAccidentalRoom = 22;  // one sharp, flat or natural of a key
constexpr std::int16_t kTimeSignatureRoom = 48;  // the two figures and the air after them

// How many accidentals a change from one key (sharps positive, flats negative) to another
// shows: the new key's, or, into a key without any, a natural for each of the old key's.
int KeyChangeAccidentals(std::int16_t from, std::int16_t to);

// The room the signatures of a measure's start take, beyond its plain leading space.
std::int16_t SignatureRoom(std::int16_t previousKey, std::int16_t key, bool timeChanges);

}  // namespace simhost
