// The control objects of a window: each stands for one dialog item, known by its id and its
// owner window, and acts on it through the host's dialog-item services and Win32. A control is
// created unowned; the window's builder appends it to the window (which then owns it) and sets
// the window as its owner. Without an owner a control uses a null dialog handle: the Win32
// calls then do nothing and the host services receive a null window.
#pragma once

#include <cstdint>

#include "framework/core/nc_base.h"
#include "framework/core/nc_string.h"
#include "platform/win_api.h"

class NCResourceWindow;

class NCControl : public __NCBase {
public:
    // What a command from the control does in the window's dialog procedure: nothing of its own
    // (the window's HandleCommand decides), or the window's OK, cancel or third button.
    enum CommandKind : std::int32_t {
        kOrdinary = 0,
        kOkButton = 1,
        kCancelButton = 2,
        kThirdButton = 3
    };

    explicit NCControl(std::int16_t id, std::int32_t commandKind = kOrdinary)
        : id_(id), commandKind_(commandKind) {}

    const char* TypeName() const override;
    ~NCControl() override = default;

    // 0 for every control class of this module.
    virtual std::int32_t ControlKind() const;
    virtual BOOL Redraw();
    virtual void Enable(bool enable);
    virtual bool IsEnabled();
    virtual void Show(bool show);
    // Hosts from 0x11000000 on take the UTF-16 units, older ones the 8-bit text (the low byte
    // of each unit). A null text empties the item.
    virtual void SetText(const NCString* text);
    // Reads at most 5000 units (or bytes) of the item's text, whatever the host wrote.
    virtual void GetText(NCString* out);
    // Changes the item's size by dx, dy; recorded instead while the owner defers its layout.
    virtual void ResizeBy(std::int32_t dx, std::int32_t dy);

    // Moves the item by dx, dy in the owner's client area; recorded instead while the owner
    // defers its layout.
    void MoveBy(std::int32_t dx, std::int32_t dy);

    std::int16_t Id() const { return id_; }
    NCResourceWindow* Owner() const { return owner_; }
    void SetOwner(NCResourceWindow* owner) { owner_ = owner; }
    std::int32_t CommandKind() const { return commandKind_; }
    void SetCommandKind(std::int32_t kind) { commandKind_ = kind; }

    // The deferred layout, as the owner applies it.
    bool MovePending() const { return movePending_; }
    bool SizePending() const { return sizePending_; }
    std::int32_t PendingLeft() const { return pendingLeft_; }
    std::int32_t PendingTop() const { return pendingTop_; }
    std::int32_t PendingWidth() const { return pendingWidth_; }
    std::int32_t PendingHeight() const { return pendingHeight_; }
    void ClearPending() { movePending_ = sizePending_ = false; }

    // The owner's dialog handle, or null; and the item in it.
    HWND OwnerHandle() const;
    HWND Item() const;

private:
    bool OwnerDefers() const;

    bool movePending_ = false;
    bool sizePending_ = false;
    std::int32_t pendingLeft_ = 0;
    std::int32_t pendingTop_ = 0;
    std::int32_t pendingWidth_ = 0;
    std::int32_t pendingHeight_ = 0;
    std::int16_t id_;
    NCResourceWindow* owner_ = nullptr;
    std::int32_t commandKind_;
};

class NCCtrlStatic : public NCControl {
public:
    using NCControl::NCControl;
    const char* TypeName() const override;
};

class NCCtrlListBox : public NCControl {
public:
    using NCControl::NCControl;
    const char* TypeName() const override;
};

class NCCtrlCheckbox : public NCControl {
public:
    using NCControl::NCControl;

    // Value kind 1 of the host's item services: the check state.
    virtual void SetCheck(std::int16_t value);
    // Callers take a nonzero low 16 bits as checked.
    virtual std::int32_t GetCheck();
};

// A push button is driven like a check box; only its commands differ, by its command kind.
class NCCtrlButton : public NCCtrlCheckbox {
public:
    using NCCtrlCheckbox::NCCtrlCheckbox;
};
