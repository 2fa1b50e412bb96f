// Every step a scenario may hold, declared once. The parser takes each verb's word, the number
// of words that may follow it and its usage from here; the runner switches on the enumerator
// without a default, so a verb added here does not build until the runner handles it.
#pragma once

#include <cstddef>
#include <string_view>

namespace simhost::scenario {

// VERB(enumerator, word, fewest words, most words or kAnyCount, usage). An expectation's word
// joins `expect` and the thing expected: "expect rows" is "expect-rows".
//
// The steps that make the document, before the host starts.
#define SIMHOST_SCENARIO_DOCUMENT_VERBS(VERB)                                        \
    VERB(Document, "document", 1, 1, "document <path>")                              \
    VERB(Staff, "staff", 1, kAnyCount, "staff <instrument> \"<voice>\"...")          \
    VERB(Measures, "measures", 1, 1, "measures <count>")                             \
    VERB(Allotments, "allotments", 1, kAnyCount, "allotments <duration>:<width>...") \
    VERB(Scaling, "scaling", 2, 2, "scaling <factor> <reference width>")             \
    VERB(MeasureWidth, "measure-width", 1, 1, "measure-width <width>")               \
    VERB(HostVersion, "host-version", 1, 1, "host-version <hex>")

// The host's and the user's steps, then what the user should see.
#define SIMHOST_SCENARIO_SESSION_VERBS(VERB)                                                       \
    VERB(Select, "select", 1, 2, "select <first> <last> | select none")                            \
    VERB(Invoke, "invoke", 0, 0, "invoke")                                                         \
    VERB(Terminate, "terminate", 0, 0, "terminate")                                                \
    VERB(Choose, "choose", 1, 1, "choose \"<row>\"")                                               \
    VERB(DoubleClick, "double-click", 1, 1, "double-click \"<row>\"")                              \
    VERB(ClearSelection, "clear-selection", 0, 0, "clear-selection")                               \
    VERB(Click, "click", 1, 1, "click <control>")                                                  \
    VERB(CloseBox, "close-box", 0, 0, "close-box")                                                 \
    VERB(DragBottom, "drag-bottom", 1, 1, "drag-bottom <pixels>")                                  \
    VERB(DragRight, "drag-right", 1, 1, "drag-right <pixels>")                                     \
    VERB(Move, "move", 2, 2, "move <dx> <dy>")                                                     \
    VERB(Minimise, "minimise", 0, 0, "minimise")                                                   \
    VERB(Restore, "restore", 0, 0, "restore")                                                      \
    VERB(HostWindow, "host-window", 1, 1, "host-window enable|disable")                            \
    VERB(HostModal, "host-modal", 0, 0, "host-modal")                                              \
    VERB(Undo, "undo", 0, 0, "undo")                                                               \
    VERB(Redo, "redo", 0, 0, "redo")                                                               \
    VERB(Mark, "mark", 1, 1, "mark <name>")                                                        \
    /* What the user should see. */                                                                \
    VERB(ExpectOpen, "expect-open", 0, 0, "expect open")                                           \
    VERB(ExpectClosed, "expect-closed", 0, 0, "expect closed")                                     \
    VERB(ExpectEnabled, "expect-enabled", 0, 0, "expect enabled")                                  \
    VERB(ExpectDisabled, "expect-disabled", 0, 0, "expect disabled")                               \
    VERB(ExpectRows, "expect-rows", 1, kAnyCount, "expect rows \"<row>\"...")                      \
    VERB(ExpectSelected, "expect-selected", 1, 1, "expect selected \"<row>\" | none")              \
    VERB(ExpectDescription, "expect-description", 1, 2,                                            \
         "expect description \"<text>\" | empty | starting \"<text>\"")                            \
    VERB(ExpectChecked, "expect-checked", 0, 0, "expect checked")                                  \
    VERB(ExpectUnchecked, "expect-unchecked", 0, 0, "expect unchecked")                            \
    VERB(ExpectBeeps, "expect-beeps", 1, 1, "expect beeps <count>")                                \
    VERB(ExpectEdits, "expect-edits", 1, kAnyCount, "expect edits \"<name>\"... | none")           \
    VERB(ExpectOpenEdits, "expect-open-edits", 1, 1, "expect open-edits <count>")                  \
    VERB(ExpectRedraws, "expect-redraws", 1, 1, "expect redraws <count>")                          \
    VERB(ExpectRespaces, "expect-respaces", 1, 1, "expect respaces <count>")                       \
    VERB(ExpectDocument, "expect-document", 2, 2, "expect document same-as|changed-from <mark>")   \
    VERB(ExpectSettings, "expect-settings", 2, 2, "expect settings same-as|changed-from <mark>")   \
    VERB(ExpectWidths, "expect-widths", 1, kAnyCount, "expect widths same-as <mark> | <width>...") \
    VERB(ExpectPositions, "expect-positions", 3, kAnyCount,                                        \
         "expect positions <measure> <slot> <position>...")                                        \
    VERB(ExpectWindow, "expect-window", 1, 4,                                                      \
         "expect window same-as <mark> | size <mark> <dw> <dh> | height cap | designed")           \
    VERB(ExpectItem, "expect-item", 3, 5,                                                          \
         "expect item <control> moved|grown <mark> <dx> <dy> | moved-with|grown-with <mark>")

// No limit on the words after a verb.
constexpr int kAnyCount = -1;

enum class Verb {
#define SIMHOST_VERB_ENUMERATOR(enumerator, word, fewest, most, usage) enumerator,
    SIMHOST_SCENARIO_DOCUMENT_VERBS(SIMHOST_VERB_ENUMERATOR)
        SIMHOST_SCENARIO_SESSION_VERBS(SIMHOST_VERB_ENUMERATOR)
#undef SIMHOST_VERB_ENUMERATOR
};

struct VerbShape {
    Verb verb;
    std::string_view word;
    int fewestWords;
    int mostWords;  // kAnyCount: no limit
    std::string_view usage;
    bool makesDocument;  // a step before the host starts
};

// In the enumerators' order, so that ShapeOf can index it.
inline constexpr VerbShape kVerbs[] = {
#define SIMHOST_DOCUMENT_VERB_SHAPE(enumerator, word, fewest, most, usage) \
    VerbShape{Verb::enumerator, word, fewest, most, usage, true},
#define SIMHOST_SESSION_VERB_SHAPE(enumerator, word, fewest, most, usage) \
    VerbShape{Verb::enumerator, word, fewest, most, usage, false},
    SIMHOST_SCENARIO_DOCUMENT_VERBS(SIMHOST_DOCUMENT_VERB_SHAPE)
        SIMHOST_SCENARIO_SESSION_VERBS(SIMHOST_SESSION_VERB_SHAPE)
#undef SIMHOST_DOCUMENT_VERB_SHAPE
#undef SIMHOST_SESSION_VERB_SHAPE
};

constexpr const VerbShape& ShapeOf(Verb verb) { return kVerbs[static_cast<std::size_t>(verb)]; }

// The verb a step's word names; null for a word no verb has.
constexpr const VerbShape* FindVerb(std::string_view word) {
    for (const VerbShape& shape : kVerbs) {
        if (shape.word == word) return &shape;
    }
    return nullptr;
}

}  // namespace simhost::scenario
