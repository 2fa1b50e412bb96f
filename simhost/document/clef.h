// A staff's clef: which pitch each line stands for. A clef names one line (counted from the
// bottom, 1 to 5) with its sign's pitch: G4 for G, F3 for F, middle C for C. An octave change
// moves every note an octave down or up from where the plain clef puts it, as the tenor's
// treble clef with an 8 below does. Percussion and TAB clefs name no pitch at all.
//
// Written in documents and test fixtures as the sign, the line and the octave change:
// "G2" (treble), "F4" (bass), "C3" (alto), "C4" (tenor), "G2-8" (treble, 8 below),
// "F4+15", "percussion", "TAB".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace simhost {

enum class ClefSign : std::uint8_t { G, F, C, Percussion, Tab };

struct Clef {
    ClefSign sign = ClefSign::G;
    std::int8_t line = 2;    // 1 to 5, from the bottom; meaningless for percussion and TAB
    std::int8_t octave = 0;  // -2 to 2: the notes sound this many octaves from the plain clef

    // True for G, F and C: the clef gives each line a pitch.
    bool Pitched() const {
        return sign == ClefSign::G || sign == ClefSign::F || sign == ClefSign::C;
    }
    // The diatonic step (7 per octave, C0 = 0) that sounds on the staff's middle line: B4 under
    // a treble clef, D3 under a bass clef. A percussion clef places unpitched notes by their
    // display step as a treble clef would; TAB has no such line.
    std::optional<int> MiddleLine() const;

    bool operator==(const Clef&) const = default;
};

constexpr Clef kTrebleClef{ClefSign::G, 2, 0};
constexpr Clef kBassClef{ClefSign::F, 4, 0};
constexpr Clef kAltoClef{ClefSign::C, 3, 0};

// The diatonic step of a pitch name's step and octave: C4 is 28.
constexpr int DiatonicStep(int step, int octave) { return octave * 7 + step; }

// "G2", "C3", "G2-8", "percussion", "TAB".
std::string ClefText(const Clef& clef);
// Reads what ClefText writes; nothing for any other text.
std::optional<Clef> ParseClef(std::string_view text);
// What a musician calls it: "treble", "bass", "alto", "tenor", "treble 8 below", "C clef on
// line 2" for one without a common name.
std::string ClefName(const Clef& clef);

}  // namespace simhost
