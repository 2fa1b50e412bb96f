#include "simhost/headless/headless_dialogs.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "simhost/headless/ansi_code_page.h"
#include "simhost/headless/desktop_internal.h"

#ifndef QUOR_DIALOG_RESOURCE_SCRIPT
#define QUOR_DIALOG_RESOURCE_SCRIPT "resources/note_spacing_dialog.rc"
#endif

namespace simhost::headless {

using namespace detail;

namespace {

// GetDlgItemInt, signed: blanks, an optional minus, digits, nothing after but blanks.
std::int32_t ParseNumber(const std::u16string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (i < text.size() && text[i] == u'-') {
        negative = true;
        ++i;
    }
    std::int64_t value = 0;
    const std::size_t first = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i] - u'0');
        if (value > 0x80000000ll) return 0;
        ++i;
    }
    if (i == first) return 0;
    while (i < text.size() && text[i] == u' ') ++i;
    if (i != text.size()) return 0;
    value = negative ? -value : value;
    if (value > INT32_MAX) return 0;
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::string HeadlessConfig::DefaultResourceScript() { return QUOR_DIALOG_RESOURCE_SCRIPT; }

HeadlessDialogs::HeadlessDialogs(HeadlessConfig config)
    : config_(std::move(config)), desktop_(config_.screen, config_.metrics) {
    previous_ = Desktop::Current();
    Desktop::SetCurrent(&desktop_);

    WindowRequest main;
    main.kind = WindowKind::Host;
    main.className = "NotavoFrame";
    main.text = u"Notavo";
    main.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    main.rect = config_.mainWindow;
    mainWindow_ = desktop_.Create(main);
    desktop_.Find(mainWindow_)->notifiesOwnedPopups = config_.mainWindowNotifiesPopups;

    WindowRequest view;
    view.kind = WindowKind::Host;
    view.className = "NotavoDocumentView";
    view.style = WS_CHILD | WS_VISIBLE;
    view.parent = mainWindow_;
    const RECT client = desktop_.ClientScreenRect(*desktop_.Find(mainWindow_));
    view.rect = RECT{0, 0, Width(client), Height(client)};
    documentView_ = desktop_.Create(view);
    currentWindow_ = documentView_;
    // The host is running: its main window is the active one and its view has the focus.
    desktop_.Activate(mainWindow_, WA_ACTIVE);
    desktop_.SetFocus(documentView_);
}

HeadlessDialogs::~HeadlessDialogs() {
    if (Desktop::Current() == &desktop_) Desktop::SetCurrent(previous_);
}

const ResourceScript* HeadlessDialogs::Script() {
    if (!script_) {
        try {
            script_ = ResourceScript::Load(config_.resourceScript);
        } catch (const std::exception& error) {
            lastError_ = error.what();
            return nullptr;
        }
    }
    return &*script_;
}

void HeadlessDialogs::Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t /*context*/,
                             std::int32_t /*zero*/, void* user) {
    const ResourceScript* script = Script();
    if (script == nullptr) return;
    const DialogTemplate* dialog = script->FindDialog(resourceId);
    if (dialog == nullptr) {
        lastError_ = "no dialog " + std::to_string(resourceId) + " in " + config_.resourceScript;
        return;
    }
    DialogRequest request;
    request.owner = mainWindow_;
    request.proc = proc;
    request.user = user;
    request.initParam = Pointer(user);
    request.baseUnits = config_.baseUnits;
    lastDialog_ = CreateDialogFromTemplate(desktop_, *dialog, request);
}

void HeadlessDialogs::EndDialog(HWND dialog) {
    const Window* window = desktop_.Find(dialog);
    if (window != nullptr && window->kind == WindowKind::Dialog) desktop_.Destroy(dialog);
}

void HeadlessDialogs::EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) {
    if (const HWND control = desktop_.DialogItem(dialog, item)) {
        desktop_.Enable(control, enable != 0);
    }
}

std::int32_t HeadlessDialogs::GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) {
    const HWND control = desktop_.DialogItem(dialog, item);
    if (control == nullptr) return 0;
    if (kind == kItemValueCheckState) {
        return static_cast<std::int32_t>(desktop_.Send(control, BM_GETCHECK, 0, 0));
    }
    if (kind == kItemValueNumber) return ParseNumber(desktop_.Find(control)->text);
    return 0;
}

void HeadlessDialogs::SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                                    std::int32_t value) {
    const HWND control = desktop_.DialogItem(dialog, item);
    if (control == nullptr) return;
    if (kind == kItemValueCheckState) {
        desktop_.Send(control, BM_SETCHECK, static_cast<WPARAM>(static_cast<std::uint32_t>(value)),
                      0);
    } else if (kind == kItemValueNumber) {
        const std::u16string text = AnsiToWide(std::to_string(value));
        desktop_.Send(control, WM_SETTEXT, 0, Pointer(text.c_str()));
    }
}

void HeadlessDialogs::GetDlgString(HWND dialog, std::int32_t item, char* buffer,
                                   std::int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) return;
    buffer[0] = 0;
    if (const HWND control = desktop_.DialogItem(dialog, item)) {
        desktop_.SendText(control, WM_GETTEXT, static_cast<WPARAM>(capacity), Pointer(buffer),
                          false);
    }
}

void HeadlessDialogs::GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                                        std::int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) return;
    buffer[0] = 0;
    if (const HWND control = desktop_.DialogItem(dialog, item)) {
        desktop_.SendText(control, WM_GETTEXT, static_cast<WPARAM>(capacity), Pointer(buffer),
                          true);
    }
}

void HeadlessDialogs::SetDlgString(HWND dialog, std::int32_t item, const char* text) {
    if (const HWND control = desktop_.DialogItem(dialog, item)) {
        desktop_.SendText(control, WM_SETTEXT, 0, Pointer(text ? text : ""), false);
    }
}

void HeadlessDialogs::SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) {
    if (const HWND control = desktop_.DialogItem(dialog, item)) {
        desktop_.SendText(control, WM_SETTEXT, 0, Pointer(text ? text : u""), true);
    }
}

void HeadlessDialogs::SetMainWindowEnabled(bool enabled) { desktop_.Enable(mainWindow_, enabled); }

void HeadlessDialogs::RunHostModal(const std::function<void()>& whileOpen) {
    const bool disabledOwner = !desktop_.Enable(mainWindow_, false);
    WindowRequest shape;
    shape.kind = WindowKind::Dialog;
    shape.className = "#32770";
    shape.text = u"Notavo";
    shape.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    shape.owner = mainWindow_;
    shape.rect = RECT{200, 150, 500, 350};
    const HWND modal = desktop_.Create(shape);
    desktop_.ShowWindow(modal, SW_SHOWNORMAL);
    if (whileOpen) whileOpen();
    // EndDialog: the owner is enabled before the modal dialog goes away.
    if (disabledOwner) desktop_.Enable(mainWindow_, true);
    if (desktop_.Find(modal) != nullptr) {
        const bool wasActive = desktop_.Active() == modal;
        desktop_.SetWindowPos(
            modal, nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        if (wasActive) desktop_.Activate(mainWindow_, WA_ACTIVE);
        desktop_.Destroy(modal);
    }
    desktop_.PumpPosted();
}

void HeadlessDialogs::ActivateMainWindow() {
    desktop_.Activate(mainWindow_, WA_CLICKACTIVE);
    desktop_.PumpPosted();
}

HWND HeadlessDialogs::OpenDialog() const {
    return desktop_.Find(lastDialog_) != nullptr ? lastDialog_ : nullptr;
}

}  // namespace simhost::headless
