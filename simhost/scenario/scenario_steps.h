// What the runner does with each step, one handler per family of verbs (scenario_verbs.h),
// and the state of a run they share. scenario_runner.cpp runs the steps in order and hands each
// to its family's handler; scenario_steps.cpp performs the document's, the host's and the
// user's steps; scenario_expectations.cpp checks what the user should see, what the extension
// asked of the host and what the document holds. A step that fails throws StepFailure, which
// ends the run.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "simhost/document/document_builder.h"
#include "simhost/scenario/scenario_host.h"
#include "simhost/scenario/scenario_runner.h"
#include "simhost/scenario/scenario_verbs.h"

namespace simhost::scenario {

// A step that failed: the message goes into the report with the step's line.
struct StepFailure {
    std::string message;
};

// Fails the step unless the condition holds.
void Require(bool condition, const std::string& message);
// A number in a step: decimal, or hex after "0x"; any other word fails the step.
std::int64_t Number(const std::string& word);
std::int32_t Int(const std::string& word);
// As a report quotes them: a text in quotes with its line breaks written "\n", words quoted
// one after another ("none" for no words), a rectangle by its corner and size.
std::string Quoted(const std::string& text);
std::string Join(const std::vector<std::string>& words);
std::string Describe(const Rect& rect);

// What `mark` remembers.
struct Mark {
    Document document;
    std::optional<Rect> window;
    std::map<std::int32_t, Rect> items;
};

struct RunState {
    RunState(const Script& script, ScenarioHost& host, RunOptions options);

    // Hands the host the document the document steps made, when it first needs it.
    void EnsureDocument();
    Document& Doc() { return host.Backend().GetDocument(); }
    const Mark& MarkNamed(const std::string& name) const;
    const Rect& MarkedWindow(const Mark& mark, const std::string& name) const;

    const Script& script;
    ScenarioHost& host;
    // The document steps gather into one builder, or load one file.
    DocumentBuilder builder;
    std::optional<Document> loaded;
    bool hasStaff = false;
    bool documentReady = false;
    bool documentGiven = false;
    std::uint32_t hostVersion = 0;
    std::map<std::string, Mark> marks;
    // The first opening's height, for `expect window height cap` and `designed`.
    std::optional<std::int32_t> designedHeight;
};

using Words = std::vector<std::string>;

// One handler per family; each switches on its family's verbs without a default.
void Perform(DocumentStep verb, const Words& w, RunState& state);
void Perform(HostStep verb, const Words& w, RunState& state);
void Perform(UserStep verb, const Words& w, RunState& state);
void Perform(DialogExpectation verb, const Words& w, RunState& state);
void Perform(HostExpectation verb, const Words& w, RunState& state);
void Perform(DocumentExpectation verb, const Words& w, RunState& state);

}  // namespace simhost::scenario
