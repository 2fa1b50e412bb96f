#include "simhost/scenario/scenario_script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "simhost/document/document_builder.h"
#include "simhost/document/score_limits.h"
#include "simhost/document/score_notation.h"
#include "simhost/scenario/dialog_items.h"

namespace simhost::scenario {

namespace {

// Splits a line into words; quoted words keep their blanks. Answers false with a message on
// an unterminated quote or an unknown escape.
bool SplitWords(std::string_view line, std::vector<std::string>& words, std::string& message) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    word.push_back(d);
                    continue;
                }
                if (i >= line.size()) break;
                const char e = line[i++];
                if (e == 'n') {
                    word.push_back('\n');
                } else if (e == '"' || e == '\\') {
                    word.push_back(e);
                } else {
                    message = std::string("unknown escape \\") + e;
                    return false;
                }
            }
            if (!closed) {
                message = "a quoted text is not closed";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                word.push_back(line[i++]);
            }
        }
        words.push_back(std::move(word));
    }
    return true;
}

// A number as a step writes it: decimal, with an optional '+', or hexadecimal after 0x.
std::optional<std::int64_t> StepNumber(std::string_view word) {
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        word.remove_prefix(2);
        base = 16;
    } else if (word.starts_with('+')) {
        word.remove_prefix(1);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (error != std::errc() || end != word.data() + word.size() || word.empty()) {
        return std::nullopt;
    }
    return value;
}

// What a script asks of the host, as far as reading can tell: the notes of its staves, which the
// host builds only once a later step needs the document; what its document would cost (its
// measures, its staves and, per measure, the events of all of them), before anything is built;
// and drags and moves no screen could hold. What else a step means (a number that is not one)
// is left to the step when it runs.
class StepChecks {
public:
    std::optional<std::string> Add(const Step& step) {
        switch (step.verb) {
            case Verb::Measures:
                return Measures(step.words[0]);
            case Verb::Staff:
                return Staff(step.words);
            case Verb::DragBottom:
            case Verb::DragRight:
            case Verb::Move:
                return Pixels(step.words);
            default:
                return std::nullopt;
        }
    }

private:
    static std::optional<std::string> Measures(const std::string& word) {
        const auto count = StepNumber(word);
        if (!count || (*count >= 0 && *count <= kMaxMeasures)) return std::nullopt;
        return "a document of " + word + " measures: from 0 to " + std::to_string(kMaxMeasures);
    }

    // Window coordinates travel in 16 bits.
    static std::optional<std::string> Pixels(const std::vector<std::string>& words) {
        for (const std::string& word : words) {
            const auto pixels = StepNumber(word);
            if (pixels && (*pixels < INT16_MIN || *pixels > INT16_MAX)) {
                return "a move of " + word + " pixels: at most 32767 either way";
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> Staff(const std::vector<std::string>& words) {
        if (auto error = CheckStaves(++staves_)) return error;
        const std::size_t voices = words.size() - 1;
        if (voices == 0) {
            ++silentStaves_;
        } else if (auto error = CheckMeasureSize(voices, 0)) {
            return error;
        }
        for (std::size_t i = 1; i < words.size(); ++i) {
            NotationError notation;
            const auto measures = ParseVoiceMeasures(words[i], &notation);
            if (!measures) {
                return "voice \"" + words[i] + "\", column " + std::to_string(notation.column) +
                       ": " + notation.message;
            }
            if (auto error = CheckMeasures(measures->size())) return error;
            if (events_.size() < measures->size()) events_.resize(measures->size());
            for (std::size_t m = 0; m < measures->size(); ++m) {
                if (auto error = CheckVoice((*measures)[m])) return error;
                events_[m] += (*measures)[m].events.size();
            }
        }
        const std::size_t busiest =
            events_.empty() ? 0 : *std::max_element(events_.begin(), events_.end());
        return CheckMeasureSize(0, busiest + silentStaves_ * DefaultStaffEvents());
    }

    // What a staff given no voice plays in each measure, as the builder makes it.
    static std::size_t DefaultStaffEvents() {
        static const std::size_t events = EventCount(
            DocumentBuilder().withStaff(1).withMeasures(1).Build().GetScore().Measures().front());
        return events;
    }

    std::size_t staves_ = 0;
    std::size_t silentStaves_ = 0;
    std::vector<std::size_t> events_;  // per measure, of the staves given voices
};

}  // namespace

std::string ScriptError::Describe() const {
    std::ostringstream out;
    out << file;
    if (line != 0) out << ':' << line;
    out << ": " << message;
    return out.str();
}

std::optional<int> ControlId(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, int>, 7> kControls{{
        {"apply", kApplyButton},
        {"close", kCloseButton},
        {"tasks-label", kTasksLabel},
        {"list", kTaskList},
        {"fixed-barlines", kFixedBarlinesBox},
        {"description", kDescription},
        {"default", kSetAsDefaultButton},
    }};
    for (const auto& [controlName, id] : kControls) {
        if (controlName == name) return id;
    }
    return std::nullopt;
}

ParsedScript ParseScript(std::string_view text, const std::string& fileName,
                         const std::string& folder) {
    ParsedScript parsed;
    Script script;
    StepChecks checks;
    script.name = fileName;
    script.folder = folder;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        const auto fail = [&](std::string message) {
            parsed.error = ScriptError{fileName, lineNumber, std::move(message)};
            return parsed;
        };
        std::vector<std::string> words;
        std::string message;
        if (!SplitWords(line, words, message)) return fail(message);
        if (words.empty()) continue;

        Step step;
        step.line = lineNumber;
        step.command = words.front();
        words.erase(words.begin());
        if (step.command == "expect") {
            if (words.empty()) return fail("expect what? (for example: expect beeps 1)");
            step.command += "-" + words.front();
            words.erase(words.begin());
        }
        const VerbShape* shape = FindVerb(step.command);
        if (shape == nullptr) return fail("unknown step '" + step.command + "'");
        const int count = static_cast<int>(words.size());
        if (count < shape->fewestWords ||
            (shape->mostWords != kAnyCount && count > shape->mostWords)) {
            return fail("expected: " + std::string(shape->usage));
        }
        step.verb = shape->verb;
        if ((step.verb == Verb::Click || step.verb == Verb::ExpectItem) &&
            !ControlId(words.front())) {
            return fail("unknown control '" + words.front() + "'");
        }
        step.words = std::move(words);
        if (auto error = checks.Add(step)) return fail(*error);
        script.steps.push_back(std::move(step));
    }
    parsed.script = std::move(script);
    return parsed;
}

ParsedScript ReadScriptFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ParsedScript parsed;
        parsed.error = ScriptError{path, 0, "cannot open the file"};
        return parsed;
    }
    std::ostringstream content;
    content << in.rdbuf();
    const std::size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    return ParseScript(content.str(), path, folder);
}

}  // namespace simhost::scenario
