#include "simhost/document/mark_notation.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <vector>

namespace simhost {
namespace {

struct BeamLetter {
    char letter;
    BeamMark mark;
};

constexpr std::array<BeamLetter, 6> kBeamLetters = {{
    {'-', BeamMark::Unstated},
    {'b', BeamMark::Begin},
    {'c', BeamMark::Continue},
    {'e', BeamMark::End},
    {'f', BeamMark::ForwardHook},
    {'k', BeamMark::BackwardHook},
}};

struct StemWord {
    std::string_view word;
    StemDirection stem;
};

constexpr std::array<StemWord, 3> kStemWords = {{
    {"up", StemDirection::Up},
    {"down", StemDirection::Down},
    {"nostem", StemDirection::None},
}};

struct NumberWord {
    std::string_view word;
    TupletNumber number;
};

constexpr std::array<NumberWord, 3> kNumberWords = {{
    {"num=actual", TupletNumber::Actual},
    {"num=both", TupletNumber::Both},
    {"num=none", TupletNumber::Hidden},
}};

constexpr std::string_view kBeamPrefix = "beam=";
constexpr std::string_view kSlurStart = "slur+";
constexpr std::string_view kSlurStop = "slur-";

std::vector<std::string_view> Items(std::string_view text) {
    std::vector<std::string_view> items;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = text.find(',', begin);
        items.push_back(text.substr(begin, comma - begin));
        if (comma == std::string_view::npos) break;
        begin = comma + 1;
    }
    return items;
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + string&& here.
std::string Message(std::initializer_list<std::string_view> parts) {
    std::string message;
    for (const std::string_view part : parts) message.append(part);
    return message;
}

void Open(std::string& out, bool& opened) {
    out.push_back(opened ? ',' : '[');
    opened = true;
}

std::optional<std::string> ParseSlur(std::string_view item, bool start, NoteMarks& marks) {
    SlurMark slur;
    slur.start = start;
    std::string_view rest = item.substr(kSlurStart.size());
    if (!rest.empty() && (rest.back() == '^' || rest.back() == '_')) {
        slur.placement = rest.back() == '^' ? Placement::Above : Placement::Below;
        rest.remove_suffix(1);
    }
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), slur.number);
    if (ec != std::errc{} || end != rest.data() + rest.size() || slur.number < 1 ||
        slur.number > kMaxSlurNumber) {
        return Message(
            {"a slur is numbered 1 to ", std::to_string(kMaxSlurNumber), ", not \"", item, "\""});
    }
    marks.slurs.push_back(slur);
    return std::nullopt;
}

std::optional<std::string> ParseBeams(std::string_view letters, NoteMarks& marks) {
    if (letters.empty() || letters.size() > static_cast<std::size_t>(kMaxBeamLevels)) {
        return Message({"a beam has 1 to ", std::to_string(kMaxBeamLevels), " levels"});
    }
    for (const char letter : letters) {
        bool found = false;
        for (const BeamLetter& known : kBeamLetters) {
            if (known.letter == letter) {
                marks.beams.push_back(known.mark);
                found = true;
            }
        }
        if (!found) return std::string("a beam level is one of b c e f k -, not '") + letter + "'";
    }
    return std::nullopt;
}

}  // namespace

void AppendEventMarks(std::string& out, const NoteMarks& marks) {
    bool opened = false;
    for (const StemWord& word : kStemWords) {
        if (word.stem == marks.stem) {
            Open(out, opened);
            out.append(word.word);
        }
    }
    if (!marks.beams.empty()) {
        Open(out, opened);
        out.append(kBeamPrefix);
        for (const BeamMark mark : marks.beams) {
            for (const BeamLetter& letter : kBeamLetters) {
                if (letter.mark == mark) out.push_back(letter.letter);
            }
        }
    }
    for (const SlurMark& slur : marks.slurs) {
        Open(out, opened);
        out.append(slur.start ? kSlurStart : kSlurStop).append(std::to_string(slur.number));
        if (slur.placement == Placement::Above) out.push_back('^');
        if (slur.placement == Placement::Below) out.push_back('_');
    }
    if (opened) out.push_back(']');
}

void AppendTupletLook(std::string& out, const TupletLook& look) {
    bool opened = false;
    if (look.bracket != TupletBracket::Unstated) {
        Open(out, opened);
        out.append(look.bracket == TupletBracket::Shown ? "bracket" : "nobracket");
    }
    for (const NumberWord& word : kNumberWords) {
        if (word.number == look.number) {
            Open(out, opened);
            out.append(word.word);
        }
    }
    if (opened) out.push_back(']');
}

std::optional<std::string> ParseEventMarks(std::string_view items, NoteMarks& marks) {
    bool stemSeen = false;
    for (const std::string_view item : Items(items)) {
        bool known = false;
        for (const StemWord& word : kStemWords) {
            if (item != word.word) continue;
            if (stemSeen) return std::string("a second stem direction");
            marks.stem = word.stem;
            stemSeen = known = true;
        }
        if (known) continue;
        if (item.starts_with(kBeamPrefix)) {
            if (!marks.beams.empty()) return std::string("a second beam=");
            if (auto error = ParseBeams(item.substr(kBeamPrefix.size()), marks)) return error;
        } else if (item.starts_with(kSlurStart) || item.starts_with(kSlurStop)) {
            if (auto error = ParseSlur(item, item.starts_with(kSlurStart), marks)) return error;
        } else {
            return Message({"unknown mark \"", item, "\""});
        }
    }
    return std::nullopt;
}

std::optional<std::string> ParseTupletLook(std::string_view items, TupletLook& look) {
    for (const std::string_view item : Items(items)) {
        if (item == "bracket" || item == "nobracket") {
            if (look.bracket != TupletBracket::Unstated) return std::string("a second bracket");
            look.bracket = item == "bracket" ? TupletBracket::Shown : TupletBracket::Hidden;
            continue;
        }
        bool known = false;
        for (const NumberWord& word : kNumberWords) {
            if (item != word.word) continue;
            if (look.number != TupletNumber::Unstated) return std::string("a second num=");
            look.number = word.number;
            known = true;
        }
        if (!known) return Message({"unknown tuplet mark \"", item, "\""});
    }
    return std::nullopt;
}

}  // namespace simhost
