// libFuzzer target: one session of a host with the extension, from load to terminate. The
// input's first byte says how long its script is; the script chooses the host version, the
// services the host lacks, how each service misbehaves and what the user does; the bytes after
// the script are the host's drawn answers. Every loop is bounded by the input: at most
// kMaxActions actions, of which at most kMaxRuns start a spacing run, and each host answer
// reads a few bytes at most.
//
// Besides what the sanitizers see, every action must leave no edit open: the module's edit
// depth back at 0, and the host's edit closed unless the host itself left it open: it ignored an
// end, or it lacks the service that ends or cancels an edit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "framework/ui/dialog_proc.h"
#include "host/module/entry_points.h"
#include "host/module/module_state.h"
#include "host/services/host_window_codes.h"
#include "host/services/nx_services.h"
#include "simhost/document/document_builder.h"
#include "simhost/headless/dialog_user.h"
#include "simhost/headless/headless_dialogs.h"
#include "simhost/headless/headless_host.h"
#include "simhost/headless/kernel32.h"
#include "simhost/services/dialog_backend.h"
#include "simhost/services/document_backend.h"
#include "spacing/note_spacing_window.h"
#include "tests/faults/fault_layer.h"
#include "tests/faults/fuzz_reader.h"
#include "tests/fuzz/fuzz_policy.h"

namespace quorfuzz {
namespace {

constexpr int kMaxActions = 32;
// A host that claims every allotment probe makes a run walk 65536 records; a few such runs
// are all one input may ask for, so that an input never nears the time limit.
constexpr int kMaxRuns = 4;
constexpr int kMaxAbsent = 3;
constexpr std::int32_t kHostContext = 7;

constexpr std::uint32_t kHostVersions[] = {0x12050000, 0x10000000, 0x11000000, 0x12000000};

// Two staves over four measures, a triplet against quarters, the document's own allotments and
// a selection the script may clear.
const simhost::Document& StartingDocument(bool selected) {
    static const auto build = [](bool selection) {
        return simhost::DocumentBuilder()
            .withStaff(1, {"q q q q | h h | (3:2 8 8 8) q h | w"})
            .withStaff(41)
            .withAllotments({{0, 70}, {512, 80}, {1024, 90}})
            .withSelection(selection ? 1 : 0, selection ? 3 : 0)
            .Build();
    };
    static const simhost::Document withSelection = build(true);
    static const simhost::Document withoutSelection = build(false);
    return selected ? withSelection : withoutSelection;
}

void ResetModule() {
    ResetModuleState();
    nx::ResetBindings();
}

HWND OwnDialog() { return Module().window != nullptr ? Module().window->DialogHandle() : nullptr; }

enum class Action : std::uint8_t {
    Invoke,
    SelectRow,
    DoubleClickRow,
    TickFixedBarlines,
    Apply,
    SetAsDefault,
    CloseButton,
    CloseBox,
    Resize,
    Move,
    Minimise,
    Restore,
    Activate,
    HostModal,
    Terminate,
    Init,
    Enumerate,
    DialogMessage,
    NullWindowMessage,
    Count
};

class Session {
public:
    Session(FuzzReader& script, FuzzReader answers, bool selected, const HostPolicy& policy)
        : script_(script), host_(dialogs_, StartingDocument(selected)) {
        policy.ApplyTo(faults_, dialogs_, answers);
    }

    void Run() {
        const std::uint32_t choice = script_.TakeChoice(5);
        NotavoExtensionVersion(choice < 4 ? kHostVersions[choice] : script_.Take<std::uint32_t>());
        const std::uint32_t absent = script_.TakeChoice(kMaxAbsent + 1);
        const auto& names = simhost::ServiceLayer::ServiceNames();
        for (std::uint32_t i = 0; i < absent; ++i) {
            layer_.Services().SetAbsent(
                names[script_.TakeBelow(static_cast<std::uint32_t>(names.size()))]);
        }
        std::uint32_t flags = 0;
        NotavoExtensionInit(0, &flags);
        for (int i = 0; i < kMaxActions && !script_.Empty(); ++i) {
            const auto action =
                static_cast<Action>(script_.TakeChoice(static_cast<std::uint32_t>(Action::Count)));
            Perform(action);
            CheckNoEditOpen(i, action);
            // The journal would otherwise grow with every probe of every run.
            layer_.Services().Journal().Clear();
        }
        // The host's own calls back may invoke the module again from inside a terminate, which
        // leaves a fresh window; it terminates until none is left, as a host does before it
        // unloads the module. Its calls back are few, so this ends.
        do {
            NotavoExtensionTerminate(0);
        } while (Module().window != nullptr);
        CheckNoEditOpen(kMaxActions, Action::Terminate);
        // A dialog the host could not end goes now; its messages find no window.
        faults_.EndOpenedDialogs();
    }

private:
    // Whether the host closes every edit the module asks it to close.
    bool HostClosesEdits() {
        const simhost::ServiceLayer& services = layer_.Services();
        return !faults_.IgnoredAnEnd() &&
               !services.IsAbsent(nx::ServiceName(nx::Service::EndNotavoEdit)) &&
               !services.IsAbsent(nx::ServiceName(nx::Service::CancelNotavoEdit));
    }

    // An edit left open after an action is a fault of the module's, and ends the run as a crash
    // does, with the action that left it.
    void CheckNoEditOpen(int index, Action action) {
        const std::int32_t depth = nx::EditDepth();
        const bool hostOpen = host_.GetDocument().History().IsOpen() && HostClosesEdits();
        if (depth == 0 && !hostOpen) return;
        std::fprintf(stderr, "fuzz: after action %d (%d) an edit is left open: depth %d, %s\n",
                     index, static_cast<int>(action), static_cast<int>(depth),
                     hostOpen ? "the host's edit open" : "the host's edit closed");
        std::abort();
    }

    // A click that may start a spacing run, while runs are left.
    void ClickRunButton(std::int32_t item) {
        if (runs_ >= kMaxRuns) return;
        ++runs_;
        user_.Click(item);
    }

    void Perform(Action action) {
        switch (action) {
            case Action::Invoke:
                NotavoExtensionInvoke(kHostContext, 0, 0, 0);
                break;
            case Action::SelectRow:
                user_.SelectRow(NCNoteSpacingWindow::kTaskListId, script_.Take<std::int8_t>());
                break;
            case Action::DoubleClickRow:
                user_.DoubleClickRow(NCNoteSpacingWindow::kTaskListId, script_.Take<std::int8_t>());
                break;
            case Action::TickFixedBarlines:
                user_.Click(NCNoteSpacingWindow::kFixedBarlinesId);
                break;
            case Action::Apply:
                ClickRunButton(NCNoteSpacingWindow::kApplyButtonId);
                break;
            case Action::SetAsDefault:
                ClickRunButton(NCNoteSpacingWindow::kSetAsDefaultId);
                break;
            case Action::CloseButton:
                user_.Click(NCNoteSpacingWindow::kCloseButtonId);
                break;
            case Action::CloseBox:
                user_.UseCloseBox();
                break;
            case Action::Resize: {
                const WPARAM edge = WMSZ_LEFT + script_.TakeChoice(8);
                const std::int16_t width = script_.Take<std::int16_t>();
                const std::int16_t height = script_.Take<std::int16_t>();
                user_.DragBorder(edge, width, height);
                break;
            }
            case Action::Move: {
                const std::int16_t x = script_.Take<std::int16_t>();
                const std::int16_t y = script_.Take<std::int16_t>();
                user_.MoveTo(x, y);
                break;
            }
            case Action::Minimise:
                user_.Minimise();
                break;
            case Action::Restore:
                user_.Restore();
                break;
            case Action::Activate:
                if (script_.TakeBool()) {
                    user_.Activate();
                } else {
                    dialogs_.ActivateMainWindow();
                }
                break;
            case Action::HostModal:
                // The dialog must take no input while the host is modal.
                dialogs_.RunHostModal([&] { ClickRunButton(NCNoteSpacingWindow::kApplyButtonId); });
                break;
            case Action::Terminate:
                // Without NX_EndDialog the dialog stays, and later actions reach it.
                NotavoExtensionTerminate(0);
                break;
            case Action::Init: {
                std::uint32_t flags = script_.Take<std::uint32_t>();
                NotavoExtensionInit(0, &flags);
                break;
            }
            case Action::Enumerate: {
                const auto index = script_.Take<std::int32_t>();
                NXMenuEntry8 entry8{};
                NXMenuEntry16 entry16{};
                NotavoExtensionEnumerate(0, index, &entry8);
                NotavoExtensionEnumerate_UTF16(0, index, &entry16);
                NotavoExtensionGetMenuStatus(0);
                break;
            }
            case Action::DialogMessage:
                SendDialogMessage();
                break;
            case Action::NullWindowMessage: {
                // Nothing the message carries may be looked at without a window.
                const auto message = script_.Take<std::uint32_t>();
                const auto wParam = static_cast<WPARAM>(script_.Take<std::uint32_t>());
                const auto lParam = static_cast<LPARAM>(script_.Take<std::int32_t>());
                ResourceWindowDialogProc(OwnDialog(), message, wParam, lParam, nullptr);
                break;
            }
            case Action::Count:
                break;
        }
    }

    // Messages a host may send the dialog on its own, with arguments that carry no pointer.
    void SendDialogMessage() {
        const HWND dialog = dialogs_.OpenDialog();
        const std::uint32_t kind = script_.TakeChoice(6);
        const auto wParam = static_cast<WPARAM>(script_.Take<std::uint32_t>());
        const auto lParam = static_cast<LPARAM>(script_.Take<std::uint32_t>());
        if (dialog == nullptr) return;
        simhost::headless::Desktop& screen = dialogs_.Screen();
        switch (kind) {
            case 0:
                screen.Send(dialog, WM_SIZE, wParam % 5, lParam);
                break;
            case 1:
                // A command from an item that may not exist; the run buttons count as runs.
                if (runs_ >= kMaxRuns) break;
                ++runs_;
                screen.Send(dialog, WM_COMMAND, wParam, 0);
                break;
            case 2:
                screen.Send(dialog, WM_ACTIVATE, wParam, 0);
                break;
            case 3:
                screen.Send(dialog, WM_TIMER, wParam, 0);
                break;
            case 4:
                screen.Send(dialog, kFloatStatusMessage, wParam, lParam);
                break;
            default:
                screen.Send(dialog, WM_SHOWWINDOW, wParam, lParam);
                break;
        }
        dialogs_.PumpMessages();
    }

    FuzzReader& script_;
    simhost::headless::HeadlessDialogs dialogs_;
    simhost::WithHeadlessDialogs<simhost::DocumentBackend> host_;
    quorfaults::FaultLayer faults_{host_, &dialogs_};
    simhost::headless::HeadlessHost layer_{faults_};
    simhost::headless::DialogUser user_{dialogs_};
    int runs_ = 0;
};

}  // namespace
}  // namespace quorfuzz

// The count the suite checks: a fuzz run whose hosts never called back into the module has not
// tried what a real host may do.
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    std::atexit([] {
        std::printf("fuzz: %llu re-entrant calls\n",
                    static_cast<unsigned long long>(quorfuzz::CallsBack()));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quorfaults::FuzzReader;
    const std::span<const std::uint8_t> input(data, size);
    const std::size_t scriptLength = input.empty() ? 0 : std::min<std::size_t>(input[0], size - 1);
    FuzzReader script(input.empty() ? input : input.subspan(1, scriptLength));
    const FuzzReader answers(input.empty() ? input : input.subspan(1 + scriptLength));
    const bool selected = script.TakeBool();
    const quorfuzz::HostPolicy policy = quorfuzz::HostPolicy::Read(script);
    quorfuzz::ResetModule();
    {
        quorfuzz::Session session(script, answers, selected, policy);
        session.Run();
    }
    quorfuzz::ResetModule();
    // The stand-in logs every lookup for the tests; left to grow, every input would look like a
    // leak and cost a full leak scan.
    simhost::headless::ClearLookupLog();
    return 0;
}
