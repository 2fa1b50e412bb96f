#include "bench/support/dialog_session.h"

#include "simhost/headless/kernel32.h"
#include "simhost/scenario/dialog_items.h"

namespace quorbench {

namespace {

using simhost::scenario::kApplyButton;
using simhost::scenario::kCloseButton;
using simhost::scenario::kFixedBarlinesBox;
using simhost::scenario::kSetAsDefaultButton;
constexpr std::uint32_t kHostVersion = 0x12050000;

}  // namespace

DialogSession::DialogSession(std::string modulePath, simhost::Document document)
    : host_(std::move(modulePath)) {
    host_.SetDocument(std::move(document));
}

bool DialogSession::Fail(std::string reason) {
    error_ = std::move(reason);
    return false;
}

bool DialogSession::Open() {
    if (!host_.Invoke(kHostVersion)) return Fail("the dialog did not open: " + host_.Error());
    return true;
}

bool DialogSession::Press(const RunKind& kind) { return Press(kind, kind.row); }

bool DialogSession::Press(const RunKind& kind, std::int32_t row) {
    return Prepare(kind, row) && PressButton(kind);
}

bool DialogSession::Prepare(const RunKind& kind, std::int32_t row) {
    if (!host_.ChooseRow(row)) return Fail("could not choose row " + std::to_string(row));
    const bool ticked = host_.CheckState(kFixedBarlinesBox) != 0;
    if (ticked != kind.fixedBarlines && !host_.Click(kFixedBarlinesBox))
        return Fail("could not click Fixed Barlines");
    return true;
}

bool DialogSession::PressButton(const RunKind& kind) {
    const std::size_t edits = Doc().History().UndoSteps().size();
    auto& journal = host_.Services().Journal();
    const std::size_t callsBefore = journal.Calls().size();
    if (!host_.Click(kind.asDefault ? kSetAsDefaultButton : kApplyButton))
        return Fail(std::string("could not press the button of ") + kind.name);
    callsOfLastPress_ = journal.Calls().size() - callsBefore;
    if (Doc().History().UndoSteps().size() != edits + 1)
        return Fail(std::string("a press of ") + kind.name + " made no edit");
    return true;
}

bool DialogSession::Close() {
    if (!host_.Click(kCloseButton)) return Fail("could not click Close");
    if (host_.DialogOpen()) return Fail("the dialog stayed open after Close");
    return true;
}

bool DialogSession::Terminate() {
    if (!host_.Terminate()) return Fail("terminate failed: " + host_.Error());
    return true;
}

void DialogSession::ForgetHostLogs() {
    ClearJournal();
    simhost::headless::ClearLookupLog();
    host_.Dialogs().Screen().ForgetHistory();
}

bool DialogSession::Undo() {
    if (!Doc().Undo()) return Fail("there was nothing to undo");
    return true;
}

}  // namespace quorbench
