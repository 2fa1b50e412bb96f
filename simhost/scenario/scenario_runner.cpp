#include "simhost/scenario/scenario_runner.h"

#include <charconv>
#include <sstream>
#include <utility>
#include <variant>

#include "simhost/scenario/scenario_steps.h"

namespace simhost::scenario {

void Require(bool condition, const std::string& message) {
    if (!condition) throw StepFailure{message};
}

std::int64_t Number(const std::string& word) {
    std::int64_t value = 0;
    const char* first = word.data();
    const char* last = word.data() + word.size();
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        first += 2;
        base = 16;
    } else if (!word.empty() && word[0] == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end != last || first == last) {
        throw StepFailure{"'" + word + "' is not a number"};
    }
    return value;
}

std::int32_t Int(const std::string& word) { return static_cast<std::int32_t>(Number(word)); }

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else {
            out.push_back(c);
        }
    }
    return out + "\"";
}

std::string Join(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) {
        if (!out.empty()) out += ' ';
        out += Quoted(word);
    }
    return out.empty() ? "none" : out;
}

std::string Describe(const Rect& rect) {
    std::ostringstream out;
    out << '(' << rect.left << ", " << rect.top << ") " << rect.Width() << 'x' << rect.Height();
    return out.str();
}

RunState::RunState(const Script& script, ScenarioHost& host, RunOptions options)
    : script(script),
      host(host),
      documentReady(options.documentGiven),
      documentGiven(options.documentGiven),
      hostVersion(options.hostVersion) {}

void RunState::EnsureDocument() {
    if (documentReady) return;
    documentReady = true;
    if (loaded) {
        host.SetDocument(std::move(*loaded));
    } else {
        if (!hasStaff) builder.withStaff(1);
        host.SetDocument(builder.Build());
    }
}

const Mark& RunState::MarkNamed(const std::string& name) const {
    const auto found = marks.find(name);
    Require(found != marks.end(), "no mark named '" + name + "'");
    return found->second;
}

const Rect& RunState::MarkedWindow(const Mark& mark, const std::string& name) const {
    Require(mark.window.has_value(), "mark '" + name + "' was taken with no dialog open");
    return *mark.window;
}

namespace {

void PerformStep(const Step& step, RunState& state) {
    const VerbShape& shape = ShapeOf(step.verb);
    if (!shape.MakesDocument()) state.EnsureDocument();
    // Each family's own handler: a family without one does not build.
    std::visit([&](auto verb) { Perform(verb, step.words, state); }, shape.family);
}

}  // namespace

RunResult RunScript(const Script& script, ScenarioHost& host, RunOptions options) {
    RunState state(script, host, options);
    RunResult result;
    for (const Step& step : script.steps) {
        try {
            PerformStep(step, state);
        } catch (const StepFailure& failure) {
            result.failure = ScriptError{script.name, step.line, failure.message}.Describe();
            return result;
        }
        ++result.stepsRun;
    }
    result.passed = true;
    return result;
}

}  // namespace simhost::scenario
