// A MusicXML <clef>: <sign> G, F or C on the <line> it names (its usual line when none is
// given), with <clef-octave-change>, or a percussion or TAB clef. Percussion and TAB clefs are
// kept, since the staff is drawn plainly under them, but warned about: they name no pitches.
// A sign without a clef to draw ("none", "jianpu") gives a treble clef, warned about, since
// MusicXML places such a staff's notes as a treble clef would.
#pragma once

#include <optional>
#include <pugixml.hpp>
#include <string>

#include "simhost/document/clef.h"

namespace simhost {

struct ClefElement {
    std::optional<Clef> clef;  // nothing: the element is refused
    std::string message;       // why it is refused, or a warning about the clef it gives
    pugi::xml_node at;         // the element the message is about
};

ClefElement ReadClefElement(pugi::xml_node clef);

}  // namespace simhost
