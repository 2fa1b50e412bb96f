#include "simhost/app/musicxml_clef.h"

#include <array>
#include <string_view>

#include "simhost/app/xml_values.h"

namespace simhost {
namespace {

struct SignReading {
    std::string_view sign;
    ClefSign clefSign;
    std::int8_t usualLine;
};

constexpr std::array<SignReading, 5> kSigns = {{
    {"G", ClefSign::G, 2},
    {"F", ClefSign::F, 4},
    {"C", ClefSign::C, 3},
    {"percussion", ClefSign::Percussion, 3},
    {"TAB", ClefSign::Tab, 5},
}};

constexpr std::int64_t kMaxOctaveChange = 2;

}  // namespace

ClefElement ReadClefElement(pugi::xml_node clef) {
    const pugi::xml_node signNode = clef.child("sign");
    const std::string_view sign = TextOf(signNode);
    const SignReading* reading = nullptr;
    for (const SignReading& candidate : kSigns) {
        if (candidate.sign == sign) reading = &candidate;
    }
    if (reading == nullptr) {
        return ClefElement{kTrebleClef,
                           "<sign> \"" + std::string(sign) +
                               "\" is no clef that can be drawn: the staff is drawn under a "
                               "treble clef",
                           signNode ? signNode : clef};
    }
    Clef result{reading->clefSign, reading->usualLine, 0};
    if (const pugi::xml_node line = clef.child("line"); line && result.Pitched()) {
        const auto value = ParseInteger(TextOf(line));
        if (!value || *value < 1 || *value > 5) {
            return ClefElement{std::nullopt,
                               "<line> must be a staff line from 1 to 5, not \"" +
                                   std::string(TextOf(line)) + "\"",
                               line};
        }
        result.line = static_cast<std::int8_t>(*value);
    }
    if (const pugi::xml_node change = clef.child("clef-octave-change")) {
        const auto value = ParseInteger(TextOf(change));
        if (!value || *value < -kMaxOctaveChange || *value > kMaxOctaveChange) {
            return ClefElement{std::nullopt,
                               "<clef-octave-change> must be a number from -2 to 2, not \"" +
                                   std::string(TextOf(change)) + "\"",
                               change};
        }
        if (result.Pitched()) result.octave = static_cast<std::int8_t>(*value);
    }
    if (result.sign == ClefSign::Percussion) {
        return ClefElement{result,
                           "a percussion clef: its notes are drawn as plain heads where their "
                           "display steps put them, as under a treble clef, and stand for no "
                           "pitch",
                           clef};
    }
    if (result.sign == ClefSign::Tab) {
        return ClefElement{result,
                           "a TAB clef: its notes are drawn as plain heads on the middle line, "
                           "without strings or frets",
                           clef};
    }
    return ClefElement{result, "", clef};
}

}  // namespace simhost
