#include "simhost/document/signature_room.h"

#include <cstdlib>

namespace simhost {

int KeyChangeAccidentals(std::int16_t from, std::int16_t to) {
    if (from == to) return 0;
    return to == 0 ? std::abs(from) : std::abs(to);
}

std::int16_t SignatureRoom(std::int16_t previousKey, std::int16_t key, bool timeChanges) {
    const int accidentals = KeyChangeAccidentals(previousKey, key);
    if (accidentals == 0 && !timeChanges) return 0;
    return static_cast<std::int16_t>(kSignatureGap + accidentals * kKeyAccidentalRoom +
                                     (timeChanges ? kTimeSignatureRoom : 0));
}

}  // namespace simhost
