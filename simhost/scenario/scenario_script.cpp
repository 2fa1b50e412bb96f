#include "simhost/scenario/scenario_script.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

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
