// The steps that make the document, the host's steps, and the user's steps at the dialog.
#include "simhost/scenario/scenario_steps.h"

#include <stdexcept>
#include <utility>

#include "simhost/document/document_file.h"
#include "simhost/scenario/dialog_items.h"

namespace simhost::scenario {
namespace {

void LoadDocument(const std::string& path, RunState& state) {
    Require(!state.hasStaff, "a document file and inline staves do not mix");
    ParsedDocument parsed = ReadDocumentFile(state.script.folder + "/" + path);
    Require(parsed.document.has_value(), parsed.error.Describe());
    state.loaded = std::move(parsed.document);
}

// An inline document step; what the builder refuses fails the step.
template <typename Add>
void Build(RunState& state, Add add) {
    Require(!state.loaded, "a document file and inline staves do not mix");
    try {
        add();
    } catch (const std::invalid_argument& error) {
        throw StepFailure{error.what()};
    }
}

std::vector<AllotmentRow> AllotmentRows(const Words& w) {
    std::vector<AllotmentRow> rows;
    for (const std::string& word : w) {
        const std::size_t colon = word.find(':');
        Require(colon != std::string::npos, "'" + word + "' is not <duration>:<width>");
        AllotmentRow row{};
        row.duration = Int(word.substr(0, colon));
        row.width = static_cast<std::int16_t>(Int(word.substr(colon + 1)));
        rows.push_back(row);
    }
    return rows;
}

// Measures first..last of every staff, as the host's selection tool makes it.
void Select(const Words& w, Document& document) {
    if (w[0] == "none") {
        Require(w.size() == 1, "expected: select none");
        document.SetSelection(NXRegionRecord{});
        return;
    }
    Require(w.size() == 2, "expected: select <first> <last>");
    const Score& score = document.GetScore();
    Require(!score.Staves().empty(), "the document has no staff to select");
    const auto first = static_cast<std::int16_t>(Int(w[0]));
    const auto last = static_cast<std::int16_t>(Int(w[1]));
    const Staff& top = score.Staves().front();
    const Staff& bottom = score.Staves().back();
    const std::optional<MeasureFields> end = document.MeasureRecord(last);
    document.SetSelection(NXRegionRecord{top.key, static_cast<std::uint16_t>(top.slot), first, 0,
                                         bottom.key, static_cast<std::uint16_t>(bottom.slot), last,
                                         static_cast<std::uint32_t>(end ? end->Length() : 0)});
}

void TakeMark(const std::string& name, RunState& state) {
    Mark mark{state.Doc(), std::nullopt, {}};
    if (state.host.DialogOpen()) {
        mark.window = state.host.WindowRect();
        for (const std::int32_t id : kDialogItems) mark.items[id] = state.host.ItemRect(id);
    }
    state.marks.insert_or_assign(name, std::move(mark));
}

// A user action the host answered false to: the user could not have done it.
void Act(bool done, const std::string& what, const ScenarioHost& host) {
    Require(done, "the user could not " + what + (host.Error().empty() ? "" : ": ") + host.Error());
}

std::int32_t RowOf(const std::string& text, ScenarioHost& host) {
    const std::vector<std::string> rows = host.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == text) return static_cast<std::int32_t>(i);
    }
    throw StepFailure{"no row " + Quoted(text) + " in the list (" + Join(rows) + ")"};
}

// The dialog's window, which a drag or a move starts from.
Rect OpenWindow(ScenarioHost& host, const std::string& what) {
    Require(host.DialogOpen(), "no dialog to " + what);
    return host.WindowRect();
}

}  // namespace

void Perform(DocumentStep verb, const Words& w, RunState& state) {
    Require(!state.documentGiven || verb == DocumentStep::HostVersion,
            "the document is already given; the script cannot make another");
    Require(!state.documentReady, "the document is set before the host starts");
    DocumentBuilder& builder = state.builder;
    switch (verb) {
        case DocumentStep::Document:
            return LoadDocument(w[0], state);
        case DocumentStep::Staff:
            return Build(state, [&] {
                state.hasStaff = true;
                builder.withStaff(static_cast<std::int16_t>(Int(w[0])),
                                  Words(w.begin() + 1, w.end()));
            });
        case DocumentStep::Measures:
            return Build(state, [&] { builder.withMeasures(Int(w[0])); });
        case DocumentStep::Allotments:
            return Build(state, [&] { builder.withAllotments(AllotmentRows(w)); });
        case DocumentStep::Scaling:
            return Build(state, [&] {
                builder.withScaling(Int(w[0]), static_cast<std::int16_t>(Int(w[1])));
            });
        case DocumentStep::MeasureWidth:
            return Build(state,
                         [&] { builder.withMeasureWidth(static_cast<std::int16_t>(Int(w[0]))); });
        case DocumentStep::HostVersion:
            state.hostVersion = static_cast<std::uint32_t>(Number(w[0]));
            return;
    }
}

void Perform(HostStep verb, const Words& w, RunState& state) {
    ScenarioHost& host = state.host;
    switch (verb) {
        case HostStep::Select:
            return Select(w, state.Doc());
        case HostStep::Invoke:
            Act(host.Invoke(state.hostVersion), "choose the menu item", host);
            // The first opening shows the dialog at its designed size.
            if (!state.designedHeight && host.DialogOpen()) {
                state.designedHeight = host.WindowRect().Height();
            }
            return;
        case HostStep::Terminate:
            return Act(host.Terminate(), "terminate the extension", host);
        case HostStep::HostWindow:
            Require(w[0] == "enable" || w[0] == "disable", "expected: host-window enable|disable");
            host.SetMainWindowEnabled(w[0] == "enable");
            return;
        case HostStep::HostModal:
            return host.RunHostModal();
        case HostStep::Undo:
            return Require(state.Doc().Undo(), "there is nothing to undo");
        case HostStep::Redo:
            return Require(state.Doc().Redo(), "there is nothing to redo");
        case HostStep::Mark:
            return TakeMark(w[0], state);
    }
}

void Perform(UserStep verb, const Words& w, RunState& state) {
    ScenarioHost& host = state.host;
    switch (verb) {
        case UserStep::Choose:
            return Act(host.ChooseRow(RowOf(w[0], host)), "choose " + Quoted(w[0]), host);
        case UserStep::DoubleClick:
            return Act(host.DoubleClickRow(RowOf(w[0], host)), "double-click " + Quoted(w[0]),
                       host);
        case UserStep::ClearSelection:
            return Act(host.ClearListSelection(), "clear the list", host);
        case UserStep::Click:
            return Act(host.Click(*ControlId(w[0])), "click " + w[0], host);
        case UserStep::CloseBox:
            return Act(host.UseCloseBox(), "use the close box", host);
        case UserStep::DragBottom: {
            const Rect window = OpenWindow(host, "drag");
            return Act(host.DragBottomTo(window.Height() + Int(w[0])), "drag the border", host);
        }
        case UserStep::DragRight: {
            const Rect window = OpenWindow(host, "drag");
            return Act(host.DragRightTo(window.Width() + Int(w[0])), "drag the border", host);
        }
        case UserStep::Move: {
            const Rect window = OpenWindow(host, "move");
            return Act(host.MoveTo(window.left + Int(w[0]), window.top + Int(w[1])),
                       "move the dialog", host);
        }
        case UserStep::Minimise:
            return Act(host.Minimise(), "minimise the dialog", host);
        case UserStep::Restore:
            return Act(host.Restore(), "restore the dialog", host);
    }
}

}  // namespace simhost::scenario
