#include "simhost/document/score_notation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

#include "simhost/document/mark_notation.h"

namespace simhost {
namespace {

struct ValueName {
    std::string_view name;
    std::int32_t value;
};

// Longest names first, so that "16" is not read as "1".
constexpr std::array<ValueName, 9> kValueNames = {{
    {"128", kHundredTwentyEighth},
    {"16", kSixteenth},
    {"32", kThirtySecond},
    {"64", kSixtyFourth},
    {"8", kEighth},
    {"b", kBreve},
    {"w", kWhole},
    {"h", kHalf},
    {"q", kQuarter},
}};

constexpr std::string_view kStepLetters = "CDEFGAB";
constexpr Pitch kDefaultPitch{6, 0, 4};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<std::vector<Voice>> Measures(bool allowBars) {
        std::vector<Voice> measures(1);
        std::vector<Tuplet> pending;  // groups opened by '(' before their first event
        std::vector<TupletLook> pendingLooks;
        std::int32_t depth = 0;
        while (SkipSpace()) {
            const char c = text_[pos_];
            if (c == '|') {
                if (!allowBars) return Fail("'|' inside a single measure");
                if (depth > 0 || !pending.empty()) return Fail("a tuplet group crosses a '|'");
                ++pos_;
                measures.emplace_back();
            } else if (c == '(') {
                ++pos_;
                auto tuplet = Ratio();
                if (!tuplet) return std::nullopt;
                TupletLook look;
                if (Take('[')) {
                    const auto items = Bracketed();
                    if (!items) return std::nullopt;
                    if (auto message = ParseTupletLook(*items, look)) return Fail(*message);
                }
                pending.push_back(*tuplet);
                pendingLooks.push_back(look);
                ++depth;
            } else if (c == ')') {
                if (depth == 0) return Fail("')' without an open group");
                if (!pending.empty()) return Fail("an empty tuplet group");
                ++pos_;
                --depth;
                measures.back().events.back().tupletStops += 1;
            } else {
                auto event = ParseEvent();
                if (!event) return std::nullopt;
                event->tupletStarts = std::exchange(pending, {});
                const auto looks = std::exchange(pendingLooks, {});
                if (std::any_of(looks.begin(), looks.end(),
                                [](const TupletLook& look) { return look != TupletLook{}; })) {
                    event->marks.tupletLooks = looks;
                }
                measures.back().events.push_back(std::move(*event));
            }
        }
        if (depth > 0) return Fail("a tuplet group is not closed");
        return measures;
    }

    NotationError error;

private:
    std::nullopt_t Fail(std::string message) {
        error = NotationError{pos_ + 1, std::move(message)};
        return std::nullopt;
    }

    // False at the end of the text.
    bool SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
        return pos_ < text_.size();
    }

    std::optional<std::int32_t> Number() {
        std::int32_t value = 0;
        const char* begin = text_.data() + pos_;
        const auto [end, ec] = std::from_chars(begin, text_.data() + text_.size(), value);
        if (ec != std::errc{} || end == begin) return Fail("a number is expected");
        pos_ += static_cast<std::size_t>(end - begin);
        return value;
    }

    // The text up to the ']' that closes a '[' just read, which it passes.
    std::optional<std::string_view> Bracketed() {
        const std::size_t close = text_.find(']', pos_);
        if (close == std::string_view::npos) return Fail("a '[' without its ']'");
        const std::string_view items = text_.substr(pos_, close - pos_);
        if (items.find_first_of(" \t()|[") != std::string_view::npos) {
            return Fail("marks in '[...]' are separated by commas, without spaces");
        }
        pos_ = close + 1;
        return items;
    }

    std::optional<Tuplet> Ratio() {
        const auto actual = Number();
        if (!actual) return std::nullopt;
        if (pos_ >= text_.size() || text_[pos_] != ':') return Fail("a tuplet ratio like 3:2");
        ++pos_;
        const auto normal = Number();
        if (!normal) return std::nullopt;
        if (*actual < 1 || *normal < 1 || *actual > kMaxTupletCount || *normal > kMaxTupletCount) {
            return Fail("a tuplet ratio needs two numbers from 1 to " +
                        std::to_string(kMaxTupletCount));
        }
        return Tuplet{*actual, *normal};
    }

    // Reads `c` when it comes next.
    bool Take(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    std::optional<Event> ParseEvent() {
        Event event;
        event.cue = Take('c');
        if (Take('g')) event.grace = Take('/') ? Grace::Slashed : Grace::Plain;
        const bool rest = Take('r');
        event.wholeMeasure = !rest && Take('R');
        event.space = !rest && !event.wholeMeasure && Take('s');
        const bool silent = rest || event.wholeMeasure || event.space;
        if (silent && event.IsGrace()) return Fail("a grace note is a note, not a rest");
        if (event.space && event.cue) return Fail("a space is not drawn, so it has no cue size");
        const std::string_view rest_of_text = text_.substr(pos_);
        bool found = false;
        for (const ValueName& name : kValueNames) {
            if (rest_of_text.starts_with(name.name)) {
                event.value = name.value;
                pos_ += name.name.size();
                found = true;
                break;
            }
        }
        if (!found) return Fail("a note value (b w h q 8 16 32 64 128) is expected");
        while (pos_ < text_.size() && text_[pos_] == '.') {
            ++event.dots;
            ++pos_;
        }
        if (event.dots > kMaxDots) return Fail("more than four dots");
        if (pos_ < text_.size() && text_[pos_] == ':') {
            if (silent) return Fail("a rest has no pitch");
            ++pos_;
            std::vector<TieMark> ties;
            for (;;) {
                TieMark tie;
                tie.stop = Take('~');
                auto pitch = ParsePitch();
                if (!pitch) return std::nullopt;
                tie.start = Take('~');
                event.pitches.push_back(*pitch);
                ties.push_back(tie);
                if (pos_ >= text_.size() || text_[pos_] != '+') break;
                ++pos_;
            }
            if (std::any_of(ties.begin(), ties.end(),
                            [](const TieMark& tie) { return tie != TieMark{}; })) {
                event.marks.ties = std::move(ties);
            }
        } else if (!silent) {
            event.pitches.push_back(kDefaultPitch);
        }
        if (Take('[')) {
            const auto items = Bracketed();
            if (!items) return std::nullopt;
            if (auto message = ParseEventMarks(*items, event.marks)) return Fail(*message);
        }
        if (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) &&
            text_[pos_] != ')' && text_[pos_] != '|') {
            return Fail("unexpected character after an event");
        }
        return event;
    }

    std::optional<Pitch> ParsePitch() {
        if (pos_ >= text_.size()) return Fail("a pitch like C4 is expected");
        const auto step = kStepLetters.find(text_[pos_]);
        if (step == std::string_view::npos) return Fail("a pitch like C4 is expected");
        ++pos_;
        Pitch pitch{static_cast<std::int8_t>(step), 0, 0};
        while (pos_ < text_.size() && (text_[pos_] == '#' || text_[pos_] == 'b')) {
            pitch.alter = static_cast<std::int8_t>(pitch.alter + (text_[pos_] == '#' ? 1 : -1));
            ++pos_;
        }
        if (pitch.alter < -kMaxAccidentals || pitch.alter > kMaxAccidentals) {
            return Fail("more than two accidentals");
        }
        const auto octave = Number();
        if (!octave) return std::nullopt;
        if (*octave < kLowestOctave || *octave > kHighestOctave) {
            return Fail("an octave from -1 to 9");
        }
        pitch.octave = static_cast<std::int8_t>(*octave);
        return pitch;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string_view NameOfValue(std::int32_t value) {
    for (const ValueName& name : kValueNames) {
        if (name.value == value) return name.name;
    }
    return "q";
}

void AppendPitch(std::string& out, const Pitch& pitch) {
    out.push_back(kStepLetters[static_cast<std::size_t>(pitch.step) % kStepLetters.size()]);
    for (std::int8_t i = 0; i < pitch.alter; ++i) out.push_back('#');
    for (std::int8_t i = 0; i > pitch.alter; --i) out.push_back('b');
    out += std::to_string(pitch.octave);
}

}  // namespace

std::optional<Voice> ParseVoice(std::string_view text, NotationError* error) {
    Parser parser(text);
    auto measures = parser.Measures(false);
    if (!measures) {
        if (error) *error = parser.error;
        return std::nullopt;
    }
    return std::move(measures->front());
}

std::optional<std::vector<Voice>> ParseVoiceMeasures(std::string_view text, NotationError* error) {
    Parser parser(text);
    auto measures = parser.Measures(true);
    if (!measures && error) *error = parser.error;
    return measures;
}

std::string FormatVoice(const Voice& voice) {
    std::string out;
    for (const Event& event : voice.events) {
        if (!out.empty()) out.push_back(' ');
        for (std::size_t g = 0; g < event.tupletStarts.size(); ++g) {
            const Tuplet& tuplet = event.tupletStarts[g];
            out.append("(").append(std::to_string(tuplet.actual)).append(":");
            out.append(std::to_string(tuplet.normal));
            if (g < event.marks.tupletLooks.size()) {
                AppendTupletLook(out, event.marks.tupletLooks[g]);
            }
            out.push_back(' ');
        }
        if (event.cue) out.push_back('c');
        if (event.grace == Grace::Plain) out.push_back('g');
        if (event.grace == Grace::Slashed) out.append("g/");
        if (event.wholeMeasure) {
            out.push_back('R');
        } else if (event.space) {
            out.push_back('s');
        } else if (event.IsRest()) {
            out.push_back('r');
        }
        out += NameOfValue(event.value);
        out.append(static_cast<std::size_t>(event.dots), '.');
        const std::vector<TieMark>& ties = event.marks.ties;
        for (std::size_t i = 0; i < event.pitches.size(); ++i) {
            out.push_back(i == 0 ? ':' : '+');
            const TieMark tie = i < ties.size() ? ties[i] : TieMark{};
            if (tie.stop) out.push_back('~');
            AppendPitch(out, event.pitches[i]);
            if (tie.start) out.push_back('~');
        }
        AppendEventMarks(out, event.marks);
        out.append(static_cast<std::size_t>(event.tupletStops), ')');
    }
    return out;
}

}  // namespace simhost
