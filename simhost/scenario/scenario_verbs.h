// Every step a scenario may hold, declared once. The parser takes each verb's word, the number
// of words that may follow it and its usage from here. The runner hands each step to its
// family's handler, which switches on the family's enumerators without a default, so a verb
// added here does not build until the runner handles it.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>
#include <variant>

namespace simhost::scenario {

// VERB(enumerator, word, fewest words, most words or kAnyCount, usage). An expectation's word
// joins `expect` and the thing expected: "expect rows" is "expect-rows". One list per family
// of verbs; the runner has one handler per family.
//
// The steps that make the document, before the host starts.
#define SIMHOST_SCENARIO_DOCUMENT_STEPS(VERB)                                        \
    VERB(Document, "document", 1, 1, "document <path>")                              \
    VERB(Staff, "staff", 1, kAnyCount, "staff <instrument> \"<voice>\"...")          \
    VERB(Measures, "measures", 1, 1, "measures <count>")                             \
    VERB(Allotments, "allotments", 1, kAnyCount, "allotments <duration>:<width>...") \
    VERB(Scaling, "scaling", 2, 2, "scaling <factor> <reference width>")             \
    VERB(MeasureWidth, "measure-width", 1, 1, "measure-width <width>")               \
    VERB(HostVersion, "host-version", 1, 1, "host-version <hex>")

// The host's steps, and the marks a script takes to compare with later.
#define SIMHOST_SCENARIO_HOST_STEPS(VERB)                               \
    VERB(Select, "select", 1, 2, "select <first> <last> | select none") \
    VERB(Invoke, "invoke", 0, 0, "invoke")                              \
    VERB(Terminate, "terminate", 0, 0, "terminate")                     \
    VERB(HostWindow, "host-window", 1, 1, "host-window enable|disable") \
    VERB(HostModal, "host-modal", 0, 0, "host-modal")                   \
    VERB(Undo, "undo", 0, 0, "undo")                                    \
    VERB(Redo, "redo", 0, 0, "redo")                                    \
    VERB(Mark, "mark", 1, 1, "mark <name>")

// The user's steps at the dialog and its window.
#define SIMHOST_SCENARIO_USER_STEPS(VERB)                             \
    VERB(Choose, "choose", 1, 1, "choose \"<row>\"")                  \
    VERB(DoubleClick, "double-click", 1, 1, "double-click \"<row>\"") \
    VERB(ClearSelection, "clear-selection", 0, 0, "clear-selection")  \
    VERB(Click, "click", 1, 1, "click <control>")                     \
    VERB(CloseBox, "close-box", 0, 0, "close-box")                    \
    VERB(DragBottom, "drag-bottom", 1, 1, "drag-bottom <pixels>")     \
    VERB(DragRight, "drag-right", 1, 1, "drag-right <pixels>")        \
    VERB(Move, "move", 2, 2, "move <dx> <dy>")                        \
    VERB(Minimise, "minimise", 0, 0, "minimise")                      \
    VERB(Restore, "restore", 0, 0, "restore")

// What the user should see of the dialog and its window.
#define SIMHOST_SCENARIO_DIALOG_EXPECTATIONS(VERB)                                       \
    VERB(ExpectOpen, "expect-open", 0, 0, "expect open")                                 \
    VERB(ExpectClosed, "expect-closed", 0, 0, "expect closed")                           \
    VERB(ExpectEnabled, "expect-enabled", 0, 0, "expect enabled")                        \
    VERB(ExpectDisabled, "expect-disabled", 0, 0, "expect disabled")                     \
    VERB(ExpectRows, "expect-rows", 1, kAnyCount, "expect rows \"<row>\"...")            \
    VERB(ExpectSelected, "expect-selected", 1, 1, "expect selected \"<row>\" | none")    \
    VERB(ExpectDescription, "expect-description", 1, 2,                                  \
         "expect description \"<text>\" | empty | starting \"<text>\"")                  \
    VERB(ExpectChecked, "expect-checked", 0, 0, "expect checked")                        \
    VERB(ExpectUnchecked, "expect-unchecked", 0, 0, "expect unchecked")                  \
    VERB(ExpectWindow, "expect-window", 1, 4,                                            \
         "expect window same-as <mark> | size <mark> <dw> <dh> | height cap | designed") \
    VERB(ExpectItem, "expect-item", 3, 5,                                                \
         "expect item <control> moved|grown <mark> <dx> <dy> | moved-with|grown-with <mark>")

// What the extension should have asked of the host.
#define SIMHOST_SCENARIO_HOST_EXPECTATIONS(VERB)                                         \
    VERB(ExpectBeeps, "expect-beeps", 1, 1, "expect beeps <count>")                      \
    VERB(ExpectEdits, "expect-edits", 1, kAnyCount, "expect edits \"<name>\"... | none") \
    VERB(ExpectOpenEdits, "expect-open-edits", 1, 1, "expect open-edits <count>")        \
    VERB(ExpectRedraws, "expect-redraws", 1, 1, "expect redraws <count>")                \
    VERB(ExpectRespaces, "expect-respaces", 1, 1, "expect respaces <count>")

// What the document should hold.
#define SIMHOST_SCENARIO_DOCUMENT_EXPECTATIONS(VERB)                                               \
    VERB(ExpectDocument, "expect-document", 2, 2, "expect document same-as|changed-from <mark>")   \
    VERB(ExpectSettings, "expect-settings", 2, 2, "expect settings same-as|changed-from <mark>")   \
    VERB(ExpectWidths, "expect-widths", 1, kAnyCount, "expect widths same-as <mark> | <width>...") \
    VERB(ExpectPositions, "expect-positions", 3, kAnyCount,                                        \
         "expect positions <measure> <slot> <position>...")

// No limit on the words after a verb.
constexpr int kAnyCount = -1;

#define SIMHOST_VERB_ENUMERATOR(enumerator, word, fewest, most, usage) enumerator,
// Each family's verbs, for its handler's switch.
enum class DocumentStep { SIMHOST_SCENARIO_DOCUMENT_STEPS(SIMHOST_VERB_ENUMERATOR) };
enum class HostStep { SIMHOST_SCENARIO_HOST_STEPS(SIMHOST_VERB_ENUMERATOR) };
enum class UserStep { SIMHOST_SCENARIO_USER_STEPS(SIMHOST_VERB_ENUMERATOR) };
enum class DialogExpectation { SIMHOST_SCENARIO_DIALOG_EXPECTATIONS(SIMHOST_VERB_ENUMERATOR) };
enum class HostExpectation { SIMHOST_SCENARIO_HOST_EXPECTATIONS(SIMHOST_VERB_ENUMERATOR) };
enum class DocumentExpectation { SIMHOST_SCENARIO_DOCUMENT_EXPECTATIONS(SIMHOST_VERB_ENUMERATOR) };
// Every verb, family after family.
// clang-format off
enum class Verb {
    SIMHOST_SCENARIO_DOCUMENT_STEPS(SIMHOST_VERB_ENUMERATOR)
    SIMHOST_SCENARIO_HOST_STEPS(SIMHOST_VERB_ENUMERATOR)
    SIMHOST_SCENARIO_USER_STEPS(SIMHOST_VERB_ENUMERATOR)
    SIMHOST_SCENARIO_DIALOG_EXPECTATIONS(SIMHOST_VERB_ENUMERATOR)
    SIMHOST_SCENARIO_HOST_EXPECTATIONS(SIMHOST_VERB_ENUMERATOR)
    SIMHOST_SCENARIO_DOCUMENT_EXPECTATIONS(SIMHOST_VERB_ENUMERATOR)
};
// clang-format on
#undef SIMHOST_VERB_ENUMERATOR

// A verb as its family's handler takes it.
using FamilyVerb = std::variant<DocumentStep, HostStep, UserStep, DialogExpectation,
                                HostExpectation, DocumentExpectation>;

struct VerbShape {
    Verb verb;
    FamilyVerb family;
    std::string_view word;
    int fewestWords;
    int mostWords;  // kAnyCount: no limit
    std::string_view usage;

    // A step before the host starts.
    constexpr bool MakesDocument() const { return std::holds_alternative<DocumentStep>(family); }
};

// In the enumerators' order, so that ShapeOf can index it.
inline constexpr VerbShape kVerbs[] = {
#define SIMHOST_VERB_SHAPE(Family, enumerator, word, fewest, most, usage) \
    VerbShape{Verb::enumerator, Family::enumerator, word, fewest, most, usage},
#define SIMHOST_DOCUMENT_STEP(...) SIMHOST_VERB_SHAPE(DocumentStep, __VA_ARGS__)
#define SIMHOST_HOST_STEP(...) SIMHOST_VERB_SHAPE(HostStep, __VA_ARGS__)
#define SIMHOST_USER_STEP(...) SIMHOST_VERB_SHAPE(UserStep, __VA_ARGS__)
#define SIMHOST_DIALOG_EXPECTATION(...) SIMHOST_VERB_SHAPE(DialogExpectation, __VA_ARGS__)
#define SIMHOST_HOST_EXPECTATION(...) SIMHOST_VERB_SHAPE(HostExpectation, __VA_ARGS__)
#define SIMHOST_DOCUMENT_EXPECTATION(...) SIMHOST_VERB_SHAPE(DocumentExpectation, __VA_ARGS__)
    // clang-format off
    SIMHOST_SCENARIO_DOCUMENT_STEPS(SIMHOST_DOCUMENT_STEP)
    SIMHOST_SCENARIO_HOST_STEPS(SIMHOST_HOST_STEP)
    SIMHOST_SCENARIO_USER_STEPS(SIMHOST_USER_STEP)
    SIMHOST_SCENARIO_DIALOG_EXPECTATIONS(SIMHOST_DIALOG_EXPECTATION)
    SIMHOST_SCENARIO_HOST_EXPECTATIONS(SIMHOST_HOST_EXPECTATION)
    SIMHOST_SCENARIO_DOCUMENT_EXPECTATIONS(SIMHOST_DOCUMENT_EXPECTATION)
// clang-format on
#undef SIMHOST_VERB_SHAPE
#undef SIMHOST_DOCUMENT_STEP
#undef SIMHOST_HOST_STEP
#undef SIMHOST_USER_STEP
#undef SIMHOST_DIALOG_EXPECTATION
#undef SIMHOST_HOST_EXPECTATION
#undef SIMHOST_DOCUMENT_EXPECTATION
};

constexpr const VerbShape& ShapeOf(Verb verb) { return kVerbs[static_cast<std::size_t>(verb)]; }

// The verb a step's word names; null for a word no verb has.
constexpr const VerbShape* FindVerb(std::string_view word) {
    for (const VerbShape& shape : kVerbs) {
        if (shape.word == word) return &shape;
    }
    return nullptr;
}

// Each row stands at its verb's place, so that ShapeOf finds it.
static_assert([] {
    for (std::size_t i = 0; i < std::size(kVerbs); ++i) {
        if (static_cast<std::size_t>(kVerbs[i].verb) != i) return false;
    }
    return true;
}());

}  // namespace simhost::scenario
