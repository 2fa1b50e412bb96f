#include "simhost/scenario/scenario_script.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

#include "simhost/scenario/dialog_items.h"

namespace simhost::scenario {

namespace {

constexpr int kAny = -1;

struct CommandShape {
    std::string_view command;
    int minWords;
    int maxWords;  // kAny: no limit
    std::string_view usage;
};

// Every step a script may hold.
constexpr std::array kCommands{
    // The document, before the host starts.
    CommandShape{"document", 1, 1, "document <path>"},
    CommandShape{"staff", 1, kAny, "staff <instrument> \"<voice>\"..."},
    CommandShape{"measures", 1, 1, "measures <count>"},
    CommandShape{"allotments", 1, kAny, "allotments <duration>:<width>..."},
    CommandShape{"scaling", 2, 2, "scaling <factor> <reference width>"},
    CommandShape{"measure-width", 1, 1, "measure-width <width>"},
    CommandShape{"host-version", 1, 1, "host-version <hex>"},
    // The host and the user.
    CommandShape{"select", 1, 2, "select <first> <last> | select none"},
    CommandShape{"invoke", 0, 0, "invoke"},
    CommandShape{"terminate", 0, 0, "terminate"},
    CommandShape{"choose", 1, 1, "choose \"<row>\""},
    CommandShape{"double-click", 1, 1, "double-click \"<row>\""},
    CommandShape{"clear-selection", 0, 0, "clear-selection"},
    CommandShape{"click", 1, 1, "click <control>"},
    CommandShape{"close-box", 0, 0, "close-box"},
    CommandShape{"drag-bottom", 1, 1, "drag-bottom <pixels>"},
    CommandShape{"drag-right", 1, 1, "drag-right <pixels>"},
    CommandShape{"move", 2, 2, "move <dx> <dy>"},
    CommandShape{"minimise", 0, 0, "minimise"},
    CommandShape{"restore", 0, 0, "restore"},
    CommandShape{"host-window", 1, 1, "host-window enable|disable"},
    CommandShape{"host-modal", 0, 0, "host-modal"},
    CommandShape{"undo", 0, 0, "undo"},
    CommandShape{"redo", 0, 0, "redo"},
    CommandShape{"mark", 1, 1, "mark <name>"},
    // What the user should see.
    CommandShape{"expect-open", 0, 0, "expect open"},
    CommandShape{"expect-closed", 0, 0, "expect closed"},
    CommandShape{"expect-enabled", 0, 0, "expect enabled"},
    CommandShape{"expect-disabled", 0, 0, "expect disabled"},
    CommandShape{"expect-rows", 1, kAny, "expect rows \"<row>\"..."},
    CommandShape{"expect-selected", 1, 1, "expect selected \"<row>\" | none"},
    CommandShape{"expect-description", 1, 2,
                 "expect description \"<text>\" | empty | starting \"<text>\""},
    CommandShape{"expect-checked", 0, 0, "expect checked"},
    CommandShape{"expect-unchecked", 0, 0, "expect unchecked"},
    CommandShape{"expect-beeps", 1, 1, "expect beeps <count>"},
    CommandShape{"expect-edits", 1, kAny, "expect edits \"<name>\"... | none"},
    CommandShape{"expect-open-edits", 1, 1, "expect open-edits <count>"},
    CommandShape{"expect-redraws", 1, 1, "expect redraws <count>"},
    CommandShape{"expect-respaces", 1, 1, "expect respaces <count>"},
    CommandShape{"expect-document", 2, 2, "expect document same-as|changed-from <mark>"},
    CommandShape{"expect-settings", 2, 2, "expect settings same-as|changed-from <mark>"},
    CommandShape{"expect-widths", 1, kAny, "expect widths same-as <mark> | <width>..."},
    CommandShape{"expect-positions", 3, kAny, "expect positions <measure> <slot> <position>..."},
    CommandShape{"expect-window", 1, 4,
                 "expect window same-as <mark> | size <mark> <dw> <dh> | height cap | designed"},
    CommandShape{"expect-item", 3, 5,
                 "expect item <control> moved|grown <mark> <dx> <dy> | moved-with|grown-with "
                 "<mark>"},
};

const CommandShape* FindShape(std::string_view command) {
    for (const CommandShape& shape : kCommands) {
        if (shape.command == command) return &shape;
    }
    return nullptr;
}

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
        const CommandShape* shape = FindShape(step.command);
        if (shape == nullptr) return fail("unknown step '" + step.command + "'");
        const int count = static_cast<int>(words.size());
        if (count < shape->minWords || (shape->maxWords != kAny && count > shape->maxWords)) {
            return fail("expected: " + std::string(shape->usage));
        }
        if ((step.command == "click" || step.command == "expect-item") &&
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
