// What a scenario expects: what the user sees of the dialog and its window, what the extension
// asked of the host, and what the document holds. Each names what it saw when it fails.
#include <algorithm>

#include "simhost/document/respacer.h"
#include "simhost/scenario/dialog_items.h"
#include "simhost/scenario/scenario_steps.h"

namespace simhost::scenario {
namespace {

void ExpectOpen(bool expected, ScenarioHost& host) {
    const bool open = host.DialogOpen();
    Require(open == expected, std::string("the dialog is ") + (open ? "open" : "closed"));
}

void ExpectEnabled(bool expected, ScenarioHost& host) {
    Require(host.DialogOpen(), "no dialog is open");
    const bool enabled = host.DialogEnabled();
    Require(enabled == expected,
            std::string("the dialog is ") + (enabled ? "enabled" : "disabled"));
}

void ExpectSelected(const std::string& expected, ScenarioHost& host) {
    const std::int32_t row = host.SelectedRow();
    const std::vector<std::string> rows = host.Rows();
    const std::string actual = row >= 0 && row < static_cast<std::int32_t>(rows.size())
                                   ? Quoted(rows[static_cast<std::size_t>(row)])
                                   : "none";
    const std::string wanted = expected == "none" ? "none" : Quoted(expected);
    Require(actual == wanted, "the selected row is " + actual);
}

void ExpectDescription(const Words& w, ScenarioHost& host) {
    const std::string text = host.ItemText(kDescription);
    if (w.size() == 1 && w[0] == "empty") {
        return Require(text.empty(), "the description is " + Quoted(text));
    }
    if (w.size() == 2) {
        Require(w[0] == "starting", "expected: expect description starting \"<text>\"");
        return Require(text.starts_with(w[1]), "the description is " + Quoted(text));
    }
    Require(text == w[0], "the description is " + Quoted(text));
}

void ExpectChecked(bool expected, ScenarioHost& host) {
    const std::int32_t state = host.CheckState(kFixedBarlinesBox);
    Require((state != 0) == expected,
            "Fixed Barlines is " + std::string(state ? "ticked" : "clear"));
}

void ExpectWindow(const Words& w, RunState& state) {
    ScenarioHost& host = state.host;
    Require(host.DialogOpen(), "no dialog is open");
    const Rect now = host.WindowRect();
    if (w[0] == "same-as" && w.size() == 2) {
        const Rect& then = state.MarkedWindow(state.MarkNamed(w[1]), w[1]);
        return Require(now == then,
                       "the dialog is at " + Describe(now) + ", not at " + Describe(then));
    }
    if (w[0] == "size" && w.size() == 4) {
        const Rect& then = state.MarkedWindow(state.MarkNamed(w[1]), w[1]);
        const std::int32_t dw = now.Width() - then.Width();
        const std::int32_t dh = now.Height() - then.Height();
        return Require(dw == Int(w[2]) && dh == Int(w[3]),
                       "the dialog changed size by " + std::to_string(dw) + ", " +
                           std::to_string(dh) + " since '" + w[1] + "'");
    }
    if (w[0] == "height" && w.size() == 2 && w[1] == "cap") {
        const std::int32_t cap = host.FullScreenHeight() * 8 / 10;
        const std::int32_t expected = std::max(cap, state.designedHeight.value_or(0));
        return Require(now.Height() == expected, "the dialog is " + std::to_string(now.Height()) +
                                                     " high, expected " + std::to_string(expected));
    }
    if (w[0] == "designed" && w.size() == 1) {
        Require(state.designedHeight.has_value(), "no dialog was opened yet");
        return Require(now.Height() == *state.designedHeight,
                       "the dialog is " + std::to_string(now.Height()) + " high, designed " +
                           std::to_string(*state.designedHeight));
    }
    throw StepFailure{
        "expected: expect window same-as <mark> | size <mark> <dw> <dh> | height cap | "
        "designed"};
}

void ExpectItem(const Words& w, RunState& state) {
    ScenarioHost& host = state.host;
    Require(host.DialogOpen(), "no dialog is open");
    const std::int32_t id = *ControlId(w[0]);
    const std::string& how = w[1];
    const Mark& mark = state.MarkNamed(w[2]);
    const auto found = mark.items.find(id);
    Require(found != mark.items.end(), "mark '" + w[2] + "' was taken with no dialog open");
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    if (how == "moved-with" || how == "grown-with") {
        // By as much as the whole dialog changed size since the mark.
        Require(w.size() == 3, "expected: expect item <control> " + how + " <mark>");
        const Rect now = host.WindowRect();
        const Rect& then = state.MarkedWindow(mark, w[2]);
        dx = now.Width() - then.Width();
        dy = now.Height() - then.Height();
    } else {
        Require(w.size() == 5, "expected: expect item <control> " + how + " <mark> <dx> <dy>");
        dx = Int(w[3]);
        dy = Int(w[4]);
    }
    const Rect now = host.ItemRect(id);
    const Rect& then = found->second;
    if (how == "moved" || how == "moved-with") {
        const bool ok = now.left - then.left == dx && now.top - then.top == dy &&
                        now.Width() == then.Width() && now.Height() == then.Height();
        return Require(ok, w[0] + " is at " + Describe(now) + ", was at " + Describe(then) +
                               ", expected a move by " + std::to_string(dx) + ", " +
                               std::to_string(dy));
    }
    Require(how == "grown" || how == "grown-with",
            "expected: moved, grown, moved-with or "
            "grown-with");
    const bool ok = now.left == then.left && now.top == then.top &&
                    now.Width() - then.Width() == dx && now.Height() - then.Height() == dy;
    Require(ok, w[0] + " is " + Describe(now) + ", was " + Describe(then) +
                    ", expected it to grow by " + std::to_string(dx) + ", " + std::to_string(dy));
}

void ExpectCount(const std::string& what, std::int64_t expected, std::int64_t actual) {
    Require(expected == actual, "expected " + std::to_string(expected) + " " + what + ", got " +
                                    std::to_string(actual));
}

void ExpectEdits(const Words& w, Document& document) {
    std::vector<std::string> names;
    for (const EditStep& edit : document.History().UndoSteps()) {
        names.push_back(NarrowText(edit.name));
    }
    const bool none = w.size() == 1 && w[0] == "none";
    Require(none ? names.empty() : names == w, "the edits are " + Join(names));
}

// The spacing settings are the records whose tags begin "ot".
bool IsSetting(std::uint32_t tag) { return (tag >> 16) == (MakeTag("ot  ") >> 16); }

bool SameSettings(const Document& a, const Document& b) {
    std::vector<std::pair<RecordId, StoredRecord>> left;
    std::vector<std::pair<RecordId, StoredRecord>> right;
    for (const auto& entry : a.Records().All()) {
        if (IsSetting(entry.first.tag)) left.push_back(entry);
    }
    for (const auto& entry : b.Records().All()) {
        if (IsSetting(entry.first.tag)) right.push_back(entry);
    }
    return left == right;
}

void ExpectSameAs(const std::string& what, const Words& w, RunState& state) {
    const std::string& relation = w[0];
    const std::string& name = w[1];
    Require(relation == "same-as" || relation == "changed-from",
            "expected: same-as or changed-from");
    const Document& now = state.Doc();
    const Document& marked = state.MarkNamed(name).document;
    const bool same = what == "document"
                          ? now.SameContentAs(marked) && now.Records() == marked.Records()
                          : SameSettings(now, marked);
    Require(same == (relation == "same-as"),
            "the " + what + (same ? " is unchanged from '" : " differs from '") + name + "'");
}

std::vector<std::int32_t> MeasureWidths(const Document& document) {
    std::vector<std::int32_t> widths;
    const auto count = static_cast<std::int16_t>(document.GetScore().Measures().size());
    for (std::int16_t number = 1; number <= count; ++number) {
        const std::optional<MeasureFields> fields = document.MeasureRecord(number);
        widths.push_back(fields ? fields->width : -1);
    }
    return widths;
}

std::string DescribeNumbers(const std::vector<std::int32_t>& numbers) {
    std::string out;
    for (const std::int32_t n : numbers) {
        if (!out.empty()) out.push_back(' ');
        out += std::to_string(n);
    }
    return out.empty() ? "none" : out;
}

void ExpectWidths(const Words& w, RunState& state) {
    const std::vector<std::int32_t> actual = MeasureWidths(state.Doc());
    std::vector<std::int32_t> expected;
    if (w[0] == "same-as") {
        Require(w.size() == 2, "expected: expect widths same-as <mark>");
        expected = MeasureWidths(state.MarkNamed(w[1]).document);
    } else {
        for (const std::string& word : w) expected.push_back(Int(word));
    }
    Require(actual == expected, "the measure widths are " + DescribeNumbers(actual) +
                                    ", expected " + DescribeNumbers(expected));
}

void ExpectPositions(const Words& w, Document& document) {
    const auto measure = static_cast<std::int16_t>(Int(w[0]));
    const auto slot = static_cast<std::int16_t>(Int(w[1]));
    std::vector<std::int32_t> actual;
    for (const std::int16_t p : NotePositions(document, measure, slot)) actual.push_back(p);
    std::vector<std::int32_t> expected;
    for (std::size_t i = 2; i < w.size(); ++i) expected.push_back(Int(w[i]));
    Require(actual == expected, "the note positions are " + DescribeNumbers(actual));
}

}  // namespace

void Perform(DialogExpectation verb, const Words& w, RunState& state) {
    ScenarioHost& host = state.host;
    switch (verb) {
        case DialogExpectation::ExpectOpen:
            return ExpectOpen(true, host);
        case DialogExpectation::ExpectClosed:
            return ExpectOpen(false, host);
        case DialogExpectation::ExpectEnabled:
            return ExpectEnabled(true, host);
        case DialogExpectation::ExpectDisabled:
            return ExpectEnabled(false, host);
        case DialogExpectation::ExpectRows: {
            const std::vector<std::string> rows = host.Rows();
            return Require(rows == w, "the list shows " + Join(rows));
        }
        case DialogExpectation::ExpectSelected:
            return ExpectSelected(w[0], host);
        case DialogExpectation::ExpectDescription:
            return ExpectDescription(w, host);
        case DialogExpectation::ExpectChecked:
            return ExpectChecked(true, host);
        case DialogExpectation::ExpectUnchecked:
            return ExpectChecked(false, host);
        case DialogExpectation::ExpectWindow:
            return ExpectWindow(w, state);
        case DialogExpectation::ExpectItem:
            return ExpectItem(w, state);
    }
}

void Perform(HostExpectation verb, const Words& w, RunState& state) {
    ScenarioHost& host = state.host;
    switch (verb) {
        case HostExpectation::ExpectBeeps:
            return ExpectCount("beeps", Int(w[0]), static_cast<std::int64_t>(host.Beeps().size()));
        case HostExpectation::ExpectEdits:
            return ExpectEdits(w, state.Doc());
        case HostExpectation::ExpectOpenEdits:
            return ExpectCount("open edits", Int(w[0]),
                               static_cast<std::int64_t>(state.Doc().History().Depth()));
        case HostExpectation::ExpectRedraws:
            return ExpectCount("redraws", Int(w[0]), host.Backend().RedrawCount());
        case HostExpectation::ExpectRespaces:
            return ExpectCount("respaces", Int(w[0]), host.Backend().RespaceCount());
    }
}

void Perform(DocumentExpectation verb, const Words& w, RunState& state) {
    switch (verb) {
        case DocumentExpectation::ExpectDocument:
            return ExpectSameAs("document", w, state);
        case DocumentExpectation::ExpectSettings:
            return ExpectSameAs("settings", w, state);
        case DocumentExpectation::ExpectWidths:
            return ExpectWidths(w, state);
        case DocumentExpectation::ExpectPositions:
            return ExpectPositions(w, state.Doc());
    }
}

}  // namespace simhost::scenario
