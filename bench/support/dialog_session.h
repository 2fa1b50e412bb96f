// A user at the note spacing dialog of the headless host, with the module loaded from disk the
// way the host loads it. Each step answers false when the user could not take it, or when it
// did not have its effect (a press that made no edit), with the reason in Error(). The journal
// of service calls is the host's own; CallsOfLastPress() counts the entries of the last press.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "bench/support/run_kinds.h"
#include "simhost/headless/headless_scenario_host.h"

namespace quorbench {

class DialogSession {
public:
    // The host holds `document`; the module is loaded on the first Open().
    DialogSession(std::string modulePath, simhost::Document document);

    // The user chooses the menu item: the dialog opens.
    bool Open();
    // Chooses the kind's row, sets Fixed Barlines as the kind says and presses "Apply Spacing"
    // or "Set as Default": one run, one more undoable edit. The dialog stays open.
    bool Press(const RunKind& kind);
    // The same with another task's row.
    bool Press(const RunKind& kind, std::int32_t row);
    // The two halves of a press: the row and the check box set, then the button alone.
    bool Prepare(const RunKind& kind, std::int32_t row);
    bool PressButton(const RunKind& kind);
    // The Close button.
    bool Close();
    // The host tells the extension that it quits; the module stays loaded and a later Open()
    // starts it again.
    bool Terminate();
    // Undoes the last edit of the document.
    bool Undo();

    // Service calls journalled by the last press of a button, up to the redraw.
    std::size_t CallsOfLastPress() const { return callsOfLastPress_; }
    // Forgets the journal, which would otherwise keep every call of every run.
    void ClearJournal() { host_.Services().Journal().Clear(); }
    // Forgets, besides the journal, what the host keeps only for tests to look back at: the
    // names the module looked up, the destroyed windows and the messages. Between runs only.
    void ForgetHostLogs();

    simhost::headless::HeadlessScenarioHost& Host() { return host_; }
    simhost::Document& Doc() { return host_.Backend().GetDocument(); }
    const std::string& Error() const { return error_; }

private:
    bool Fail(std::string reason);

    simhost::headless::HeadlessScenarioHost host_;
    std::size_t callsOfLastPress_ = 0;
    std::string error_;
};

}  // namespace quorbench
