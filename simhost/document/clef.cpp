#include "simhost/document/clef.h"

#include <array>
#include <charconv>

namespace simhost {
namespace {

constexpr int kMiddleLine = 3;
constexpr int kStepsPerLine = 2;
constexpr int kStepsPerOctave = 7;

struct SignFacts {
    ClefSign sign;
    char letter;
    int step;    // of the pitch the sign names
    int octave;  // of that pitch
};

constexpr std::array<SignFacts, 3> kPitchedSigns = {{
    {ClefSign::G, 'G', 4, 4},
    {ClefSign::F, 'F', 3, 3},
    {ClefSign::C, 'C', 0, 4},
}};

const SignFacts* FactsOf(ClefSign sign) {
    for (const SignFacts& facts : kPitchedSigns) {
        if (facts.sign == sign) return &facts;
    }
    return nullptr;
}

constexpr std::string_view kPercussionText = "percussion";
constexpr std::string_view kTabText = "TAB";

struct CommonName {
    ClefSign sign;
    int line;
    std::string_view name;
};

constexpr std::array<CommonName, 10> kCommonNames = {{
    {ClefSign::G, 2, "treble"},
    {ClefSign::G, 1, "French violin"},
    {ClefSign::F, 4, "bass"},
    {ClefSign::F, 3, "baritone"},
    {ClefSign::F, 5, "sub-bass"},
    {ClefSign::C, 1, "soprano"},
    {ClefSign::C, 2, "mezzo-soprano"},
    {ClefSign::C, 3, "alto"},
    {ClefSign::C, 4, "tenor"},
    {ClefSign::C, 5, "baritone"},
}};

// "8 below", "15 above": how an octave change is spoken of and written on the clef.
int OctaveFigure(int octave) { return octave == 1 || octave == -1 ? 8 : 15; }

}  // namespace

std::optional<int> Clef::MiddleLine() const {
    if (sign == ClefSign::Percussion) return kTrebleClef.MiddleLine();
    const SignFacts* facts = FactsOf(sign);
    if (facts == nullptr) return std::nullopt;
    return DiatonicStep(facts->step, facts->octave) + (kMiddleLine - line) * kStepsPerLine +
           octave * kStepsPerOctave;
}

std::string ClefText(const Clef& clef) {
    if (clef.sign == ClefSign::Percussion) return std::string(kPercussionText);
    if (clef.sign == ClefSign::Tab) return std::string(kTabText);
    std::string text(1, FactsOf(clef.sign)->letter);
    text += std::to_string(clef.line);
    if (clef.octave != 0) {
        text += clef.octave < 0 ? '-' : '+';
        text += std::to_string(OctaveFigure(clef.octave));
    }
    return text;
}

std::optional<Clef> ParseClef(std::string_view text) {
    if (text == kPercussionText) return Clef{ClefSign::Percussion, 3, 0};
    if (text == kTabText) return Clef{ClefSign::Tab, 5, 0};
    if (text.size() < 2) return std::nullopt;
    const SignFacts* facts = nullptr;
    for (const SignFacts& candidate : kPitchedSigns) {
        if (candidate.letter == text[0]) facts = &candidate;
    }
    if (facts == nullptr || text[1] < '1' || text[1] > '5') return std::nullopt;
    Clef clef{facts->sign, static_cast<std::int8_t>(text[1] - '0'), 0};
    const std::string_view change = text.substr(2);
    if (change.empty()) return clef;
    int figure = 0;
    const char* begin = change.data() + 1;
    const char* end = change.data() + change.size();
    const auto [stop, error] = std::from_chars(begin, end, figure);
    if ((change[0] != '-' && change[0] != '+') || error != std::errc{} || stop != end ||
        (figure != 8 && figure != 15)) {
        return std::nullopt;
    }
    const int octaves = figure == 8 ? 1 : 2;
    clef.octave = static_cast<std::int8_t>(change[0] == '-' ? -octaves : octaves);
    return clef;
}

std::string ClefName(const Clef& clef) {
    if (clef.sign == ClefSign::Percussion) return "percussion";
    if (clef.sign == ClefSign::Tab) return "TAB";
    std::string name;
    for (const CommonName& common : kCommonNames) {
        if (common.sign == clef.sign && common.line == clef.line) name = common.name;
    }
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + string&& here.
    if (name.empty()) {
        name.append(1, FactsOf(clef.sign)->letter).append(" clef on line ");
        name.append(std::to_string(clef.line));
    }
    if (clef.octave != 0) {
        name.append(" ").append(std::to_string(OctaveFigure(clef.octave)));
        name.append(clef.octave < 0 ? " below" : " above");
    }
    return name;
}

}  // namespace simhost
