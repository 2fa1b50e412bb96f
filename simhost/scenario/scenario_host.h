// What a scenario needs of a host: the document side is the same DocumentBackend in every
// host, the windows differ (the headless stand-in on Linux, the real USER32 on Windows). Every
// user action answers false when the user could not have done it (no dialog open, a disabled
// dialog, a row that is not there); the runner reports that as a failure of the step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_api.h"
#include "simhost/document/document.h"
#include "simhost/services/document_backend.h"

namespace simhost::scenario {

// What the user reads of a text the extension gave in UTF-16: one byte per unit, as the
// extension's own 8-bit view does.
inline std::string NarrowText(const std::u16string& text) {
    std::string out;
    for (const char16_t unit : text) out.push_back(static_cast<char>(unit & 0xFF));
    return out;
}

// A rectangle in plain numbers, so that a report can print it.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

class ScenarioHost {
public:
    virtual ~ScenarioHost() = default;

    virtual DocumentBackend& Backend() = 0;
    // Replaces the document before the host starts.
    virtual void SetDocument(Document document) = 0;
    // Loads the extension on first use and goes through Version, Init, the enumeration and
    // the menu status in the host's order; then chooses the menu item. False when the module
    // could not be loaded, with the reason in Error().
    virtual bool Invoke(std::uint32_t hostVersion) = 0;
    virtual bool Terminate() = 0;
    virtual std::string Error() const = 0;

    // The user, at the dialog the extension opened.
    virtual bool ChooseRow(std::int32_t row) = 0;
    virtual bool DoubleClickRow(std::int32_t row) = 0;
    // The list loses its selection without telling the dialog (LB_SETCURSEL with -1), as when
    // another program or an accessibility tool clears it; a mouse cannot.
    virtual bool ClearListSelection() = 0;
    virtual bool Click(std::int32_t item) = 0;
    virtual bool UseCloseBox() = 0;
    // Drags the bottom border until the window is `height` high (the host's limits apply).
    virtual bool DragBottomTo(std::int32_t height) = 0;
    // Drags the right border until the window is `width` wide.
    virtual bool DragRightTo(std::int32_t width) = 0;
    virtual bool MoveTo(std::int32_t left, std::int32_t top) = 0;
    virtual bool Minimise() = 0;
    virtual bool Restore() = 0;
    // The host's own main window, disabled or enabled again (as around its modal work).
    virtual void SetMainWindowEnabled(bool enabled) = 0;
    // One of the host's modal dialogs comes up and goes away again.
    virtual void RunHostModal() = 0;

    // What the user sees.
    virtual bool DialogOpen() = 0;
    virtual bool DialogEnabled() = 0;
    virtual std::vector<std::string> Rows() = 0;
    virtual std::int32_t SelectedRow() = 0;
    virtual std::string ItemText(std::int32_t item) = 0;
    virtual std::int32_t CheckState(std::int32_t item) = 0;
    // Screen coordinates.
    virtual Rect WindowRect() = 0;
    // The dialog's client coordinates.
    virtual Rect ItemRect(std::int32_t item) = 0;
    virtual std::int32_t FullScreenHeight() = 0;
    // Every MessageBeep the extension made, in order.
    virtual std::vector<std::uint32_t> Beeps() = 0;
};

}  // namespace simhost::scenario
