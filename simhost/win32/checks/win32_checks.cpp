// Checks of NOTAVO.EXE's Win32 pieces on the real USER32 (run under Wine): the dialog
// procedure forwarding, the main window's notices to its pop-ups, the item services, the
// sizing limits, the import patch and the window capture, and the module's version as Windows
// reads it. The note spacing dialog comes from this program's own resources.
// Usage: win32_checks.exe <module.nxt> <scratch folder>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "simhost/scenario/dialog_items.h"
#include "simhost/win32/dialog_forwarder.h"
#include "simhost/win32/import_patch.h"
#include "simhost/win32/win32_dialogs.h"
#include "simhost/win32/window_capture.h"

namespace {

using namespace simhost;
using namespace simhost::win32;
using simhost::scenario::kDescription;
using simhost::scenario::kFixedBarlinesBox;
using simhost::scenario::kNoteSpacingDialog;

constexpr LONG kMinHeight = 300;
constexpr LONG kMaxHeight = 400;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    void* user;
};

// What the dialog procedure was given, for every dialog a check opens.
std::vector<Seen>& Log() {
    static std::vector<Seen> log;
    return log;
}

LRESULT WINAPI RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, void* user) {
    Log().push_back(Seen{message, wParam, lParam, user});
    if (message == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.y = kMinHeight;
        info->ptMaxTrackSize.y = kMaxHeight;
    }
    return 0;
}

struct Context {
    std::wstring modulePath;
    std::filesystem::path scratch;
};

// A failed expectation: the reason, or empty when it held.
using Check = std::function<std::string(Context&)>;

std::string Expect(bool holds, const std::string& why) { return holds ? std::string() : why; }

std::size_t IndexOf(UINT message) {
    for (std::size_t i = 0; i < Log().size(); ++i) {
        if (Log()[i].message == message) return i;
    }
    return Log().size();
}

std::string Forwarder_GivesTheUserPointerToEveryMessage_FromBeforeInitDialog(Context&) {
    Log().clear();
    int marker = 0;
    const HWND dialog = DialogForwarder::Create(GetModuleHandleW(nullptr), kNoteSpacingDialog,
                                                nullptr, &RecordingProc, &marker);
    if (dialog == nullptr) return "no dialog was created";
    const bool owned = DialogForwarder::Owns(dialog);
    DestroyWindow(dialog);
    const std::size_t font = IndexOf(WM_SETFONT);
    const std::size_t init = IndexOf(WM_INITDIALOG);
    if (init == Log().size()) return "WM_INITDIALOG never arrived";
    if (font >= init) return "WM_SETFONT did not arrive before WM_INITDIALOG";
    if (Log()[init].lParam != reinterpret_cast<LPARAM>(&marker)) {
        return "WM_INITDIALOG's lParam is not the user pointer";
    }
    for (const Seen& seen : Log()) {
        if (seen.user != &marker) return "message " + std::to_string(seen.message) + " lost it";
    }
    if (Log().back().message != WM_NCDESTROY) return "WM_NCDESTROY was not the last message";
    return Expect(owned && !DialogForwarder::Owns(dialog),
                  "the dialog is not known while it lives, or still known after");
}

// The main window's notices to the dialog it owns, for each way the host's work disables it.
std::string MainWindow_TellsItsDialogWhenItIsDisabledAndEnabled(Context&) {
    struct Case {
        const char* what;
        std::function<void(Win32Dialogs&)> act;
        std::vector<WPARAM> notices;
    };
    const std::vector<Case> cases = {
        {"disable", [](Win32Dialogs& d) { d.SetMainWindowEnabled(false); }, {kFloatStatusDisable}},
        {"disable, enable",
         [](Win32Dialogs& d) {
             d.SetMainWindowEnabled(false);
             d.SetMainWindowEnabled(true);
         },
         {kFloatStatusDisable, kFloatStatusEnable}},
        {"host modal",
         [](Win32Dialogs& d) { d.RunHostModal(); },
         {kFloatStatusDisable, kFloatStatusEnable}},
    };
    for (const Case& one : cases) {
        Win32Dialogs dialogs;
        int marker = 0;
        dialogs.Dialog(kNoteSpacingDialog, &RecordingProc, 0, 0, &marker);
        if (dialogs.OpenDialog() == nullptr) return std::string(one.what) + ": no dialog";
        Log().clear();
        one.act(dialogs);
        std::vector<WPARAM> notices;
        for (const Seen& seen : Log()) {
            if (seen.message == kFloatStatusMessage) notices.push_back(seen.wParam);
        }
        if (notices != one.notices) return std::string(one.what) + ": other notices";
        if (!IsWindowEnabled(dialogs.MainWindow()) != (one.notices.back() == kFloatStatusDisable)) {
            return std::string(one.what) + ": the main window is left in the wrong state";
        }
    }
    return {};
}

std::string ItemServices_GiveBackWhatWasSet(Context&) {
    Win32Dialogs dialogs;
    int marker = 0;
    dialogs.Dialog(kNoteSpacingDialog, &RecordingProc, 0, 0, &marker);
    const HWND dialog = dialogs.OpenDialog();
    if (dialog == nullptr) return "no dialog";
    for (const std::int32_t value : {0, 42, -17, INT32_MAX, INT32_MIN}) {
        dialogs.SetDlgItemVal(dialog, kDescription, kItemValueNumber, value);
        if (dialogs.GetDlgItemVal(dialog, kDescription, kItemValueNumber) != value) {
            return "the number " + std::to_string(value) + " did not come back";
        }
    }
    for (const std::int32_t state : {1, 0}) {
        dialogs.SetDlgItemVal(dialog, kFixedBarlinesBox, kItemValueCheckState, state);
        if (dialogs.GetDlgItemVal(dialog, kFixedBarlinesBox, kItemValueCheckState) != state)
            return "check state lost";
    }
    dialogs.SetDlgString(dialog, kDescription, "Hello");
    char narrow[3] = {'x', 'x', 'x'};
    dialogs.GetDlgString(dialog, kDescription, narrow, 3);
    if (std::strcmp(narrow, "He") != 0) return "the 8-bit text is not cut to capacity - 1";
    dialogs.SetDlgStringUtf16(dialog, kDescription, u"\u00e9t\u00e9");
    char16_t wide[8] = {};
    dialogs.GetDlgStringUtf16(dialog, kDescription, wide, 8);
    if (std::u16string(wide) != u"\u00e9t\u00e9") return "the UTF-16 text did not come back";
    char missing[4] = {'x', 0, 0, 0};
    dialogs.GetDlgString(dialog, 999, missing, 4);
    return Expect(missing[0] == 0 && dialogs.GetDlgItemVal(dialog, 999, 1) == 0 &&
                      dialogs.GetDlgItemVal(dialog, kDescription, 2) == 0,
                  "an unknown item or kind answered something");
}

// The scenarios' drags rely on SetWindowPos keeping a sizable window within the limits its
// procedure answers to WM_GETMINMAXINFO.
std::string SetWindowPos_KeepsASizableDialogWithinItsLimits(Context&) {
    Win32Dialogs dialogs;
    int marker = 0;
    dialogs.Dialog(kNoteSpacingDialog, &RecordingProc, 0, 0, &marker);
    const HWND dialog = dialogs.OpenDialog();
    if (dialog == nullptr) return "no dialog";
    const std::vector<std::pair<LONG, LONG>> heights = {
        {1000, kMaxHeight}, {10, kMinHeight}, {350, 350}};
    for (const auto& [asked, expected] : heights) {
        RECT rect{};
        GetWindowRect(dialog, &rect);
        SetWindowPos(dialog, nullptr, 0, 0, rect.right - rect.left, asked,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(dialog, &rect);
        if (rect.bottom - rect.top != expected) {
            return "asked for " + std::to_string(asked) + ", got " +
                   std::to_string(rect.bottom - rect.top);
        }
    }
    return {};
}

BOOL WINAPI SilentBeep(UINT) { return TRUE; }

std::string PatchImport_RedirectsOnlyTheNamedImport(Context& context) {
    const HMODULE module = LoadLibraryW(context.modulePath.c_str());
    if (module == nullptr) return "the module does not load";
    const auto real =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "MessageBeep"));
    struct Case {
        const char* library;
        const char* function;
        bool found;
    };
    const Case cases[] = {{"USER32.dll", "NoSuchFunction", false},
                          {"GDI32.dll", "MessageBeep", false},
                          {"user32.DLL", "MessageBeep", true}};
    std::string why;
    for (const Case& one : cases) {
        void* previous =
            PatchImport(module, one.library, one.function, reinterpret_cast<void*>(&SilentBeep));
        if ((previous != nullptr) != one.found) {
            why = std::string(one.library) + "!" + one.function + ": wrong answer";
        } else if (one.found && previous != real) {
            why = "the previous address is not USER32's MessageBeep";
        }
    }
    FreeLibrary(module);
    return why;
}

std::string CaptureWindow_WritesABitmapOfTheWindowsSize(Context& context) {
    Win32Dialogs dialogs;
    int marker = 0;
    dialogs.Dialog(kNoteSpacingDialog, &RecordingProc, 0, 0, &marker);
    const HWND dialog = dialogs.OpenDialog();
    if (dialog == nullptr) return "no dialog";
    const std::filesystem::path path = context.scratch / "capture_check.bmp";
    const CaptureResult result = CaptureWindow(dialog, path.wstring());
    if (!result.written) return result.error;
    RECT rect{};
    GetWindowRect(dialog, &rect);
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return "the file is not there";
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    const bool read = std::fread(&header, sizeof header, 1, file) == 1 &&
                      std::fread(&info, sizeof info, 1, file) == 1;
    std::fclose(file);
    if (!read || header.bfType != 0x4D42) return "not a BMP file";
    if (info.biWidth != rect.right - rect.left || info.biHeight != rect.bottom - rect.top) {
        return "the picture is not the window's size";
    }
    return Expect(!CaptureWindow(nullptr, path.wstring()).written, "captured no window");
}

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text != 0; ++text) out.push_back(*text < 128 ? static_cast<char>(*text) : '?');
    return out;
}

// What Windows shows in the module's properties, read through the version API the way the file
// explorer reads it, against what the build was given.
std::string VersionResource_CarriesTheVersionAndTextsTheBuildWasGiven(Context& context) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(context.modulePath.c_str(), &ignored);
    if (size == 0) return "the module has no version resource";
    std::vector<unsigned char> info(size);
    if (!GetFileVersionInfoW(context.modulePath.c_str(), 0, size, info.data())) {
        return "GetFileVersionInfoW failed";
    }
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return "no fixed file information";
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionLS));
    if (numbers != QUOR_FILE_VERSION) return "the file version numbers are " + numbers;
    if (fixed->dwProductVersionMS != fixed->dwFileVersionMS ||
        fixed->dwProductVersionLS != fixed->dwFileVersionLS) {
        return "the product version numbers differ from the file version's";
    }
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &length) ||
        length < 4) {
        return "no translation";
    }
    const auto* translation = static_cast<const WORD*>(value);
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    const std::wstring moduleName = std::filesystem::path(context.modulePath).filename().wstring();
    const std::vector<std::pair<const wchar_t*, std::string>> texts = {
        {L"FileVersion", QUOR_FILE_VERSION},         {L"ProductVersion", QUOR_FILE_VERSION},
        {L"FileDescription", QUOR_FILE_DESCRIPTION}, {L"ProductName", QUOR_PRODUCT_NAME},
        {L"InternalName", QUOR_INTERNAL_NAME},       {L"OriginalFilename", QUOR_ORIGINAL_FILENAME},
        {L"LegalCopyright", QUOR_COPYRIGHT},
    };
    for (const auto& [key, expected] : texts) {
        const std::wstring path = std::wstring(block) + key;
        if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0) {
            return Narrow(key) + " is missing";
        }
        const std::string found = Narrow(static_cast<const wchar_t*>(value));
        if (found != expected) return Narrow(key) + " is '" + found + "', not '" + expected + "'";
    }
    return Expect(
        Narrow(moduleName.c_str()) == QUOR_ORIGINAL_FILENAME,
        "the module is named " + Narrow(moduleName.c_str()) + ", not its original file name");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: win32_checks.exe <module.nxt> <scratch folder>\n", stderr);
        return 2;
    }
    Context context{std::filesystem::path(argv[1]).wstring(), std::filesystem::path(argv[2])};
    const std::vector<std::pair<const char*, Check>> checks = {
        {"Forwarder_GivesTheUserPointerToEveryMessage_FromBeforeInitDialog",
         &Forwarder_GivesTheUserPointerToEveryMessage_FromBeforeInitDialog},
        {"MainWindow_TellsItsDialogWhenItIsDisabledAndEnabled",
         &MainWindow_TellsItsDialogWhenItIsDisabledAndEnabled},
        {"ItemServices_GiveBackWhatWasSet", &ItemServices_GiveBackWhatWasSet},
        {"SetWindowPos_KeepsASizableDialogWithinItsLimits",
         &SetWindowPos_KeepsASizableDialogWithinItsLimits},
        {"PatchImport_RedirectsOnlyTheNamedImport", &PatchImport_RedirectsOnlyTheNamedImport},
        {"CaptureWindow_WritesABitmapOfTheWindowsSize",
         &CaptureWindow_WritesABitmapOfTheWindowsSize},
        {"VersionResource_CarriesTheVersionAndTextsTheBuildWasGiven",
         &VersionResource_CarriesTheVersionAndTextsTheBuildWasGiven},
    };
    std::size_t failed = 0;
    for (const auto& [name, check] : checks) {
        const std::string why = check(context);
        if (why.empty()) {
            std::printf("PASS %s\n", name);
        } else {
            std::printf("FAIL %s: %s\n", name, why.c_str());
            ++failed;
        }
    }
    std::printf("%zu passed, %zu failed\n", checks.size() - failed, failed);
    return failed == 0 ? 0 : 1;
}
