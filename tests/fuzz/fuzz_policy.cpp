#include "tests/fuzz/fuzz_policy.h"

#include <memory>

#include "host/module/entry_points.h"
#include "resources/note_spacing_dialog_ids.h"
#include "simhost/headless/headless_dialogs.h"

namespace quorfuzz {
namespace {

using nx::Service;
using quorfaults::Answer;

Answer ReadAnswer(FuzzReader& script) { return static_cast<Answer>(script.TakeChoice(5)); }

constexpr std::int32_t kMaxCallBackDepth = 2;
constexpr std::int32_t kMaxCallsBack = 4;
constexpr std::int32_t kHostContext = 7;

std::uint64_t& CallsBackMade() {
    static std::uint64_t calls = 0;
    return calls;
}

LRESULT Command(simhost::headless::Desktop& screen, HWND dialog, WORD item, WORD code) {
    return screen.Send(dialog, WM_COMMAND, MAKEWPARAM(item, code), 0);
}

// The services at whose start the host may call back.
bool MayCallBackFrom(Service service) {
    switch (service) {
        case Service::LoadEData:
        case Service::SaveEData:
        case Service::DeleteEData:
        case Service::GetCurERegions:
        case Service::StartNotavoEditUtf16:
        case Service::ExecuteMenuItem:
        case Service::EndNotavoEdit:
        case Service::Dialog:
        case Service::EndDialog:
        case Service::GetDlgItemVal:
        case Service::SetDlgString:
        case Service::SetDlgStringUtf16:
            return true;
        default:
            return false;
    }
}

// Draws whether to call back into the module, and makes the call. Nesting and the number of
// calls in one session are bounded, so that every session ends.
class CallBack {
public:
    CallBack(simhost::headless::HeadlessDialogs& dialogs, FuzzReader& answers)
        : dialogs_(dialogs), answers_(answers) {}

    void operator()() {
        if (depth_ >= kMaxCallBackDepth || calls_ >= kMaxCallsBack) return;
        // A zero byte, which is all a used-up input gives, makes no call.
        const std::uint32_t call = answers_.TakeChoice(32);
        if (call == 0 || call > 10) return;
        ++depth_;
        ++calls_;
        ++CallsBackMade();
        Make(call);
        --depth_;
    }

private:
    void Make(std::uint32_t call) {
        simhost::headless::Desktop& screen = dialogs_.Screen();
        const HWND dialog = dialogs_.OpenDialog();
        switch (call) {
            case 1:
                NotavoExtensionTerminate(0);
                break;
            case 2:
                NotavoExtensionInvoke(kHostContext, 0, 0, 0);
                break;
            case 3: {
                std::uint32_t flags = 0;
                NotavoExtensionInit(0, &flags);
                break;
            }
            case 4: {
                NXMenuEntry16 entry{};
                NotavoExtensionEnumerate_UTF16(0, 0, &entry);
                NotavoExtensionGetMenuStatus(0);
                break;
            }
            case 5:
                if (dialog != nullptr) Command(screen, dialog, IDC_SPACING_APPLY, BN_CLICKED);
                break;
            case 6:
                if (dialog != nullptr) {
                    Command(screen, dialog, IDC_SPACING_SET_AS_DEFAULT, BN_CLICKED);
                }
                break;
            case 7:
                if (dialog != nullptr) Command(screen, dialog, IDC_SPACING_CLOSE, BN_CLICKED);
                break;
            case 8:
                if (dialog != nullptr) screen.Send(dialog, WM_CLOSE, 0, 0);
                break;
            case 9:
                if (dialog != nullptr) {
                    Command(screen, dialog, IDC_SPACING_TASK_LIST, LBN_SELCHANGE);
                }
                break;
            default:
                NotavoExtensionTerminate(0);
                NotavoExtensionInvoke(kHostContext, 0, 0, 0);
                break;
        }
    }

    simhost::headless::HeadlessDialogs& dialogs_;
    FuzzReader& answers_;
    std::int32_t depth_ = 0;
    std::int32_t calls_ = 0;
};

}  // namespace

std::uint64_t CallsBack() { return CallsBackMade(); }

HostPolicy HostPolicy::Read(FuzzReader& script) {
    HostPolicy policy;
    policy.loads = ReadAnswer(script);
    policy.saves = ReadAnswer(script);
    policy.creates = ReadAnswer(script);
    policy.deletes = ReadAnswer(script);
    policy.nexts = ReadAnswer(script);
    policy.starts = ReadAnswer(script);
    policy.ends = ReadAnswer(script);
    const auto flags = script.Take<std::uint8_t>();
    policy.draws.sizes = (flags & 0x01) != 0;
    policy.draws.keys = (flags & 0x02) != 0;
    policy.draws.regions = (flags & 0x04) != 0;
    policy.draws.strings = (flags & 0x08) != 0;
    policy.draws.values = (flags & 0x10) != 0;
    policy.draws.currentWindow = (flags & 0x20) != 0;
    policy.callBack = (flags & 0x40) != 0;
    return policy;
}

void HostPolicy::ApplyTo(quorfaults::FaultLayer& faults,
                         simhost::headless::HeadlessDialogs& dialogs,
                         const FuzzReader& answers) const {
    faults.loads = loads;
    faults.saves = saves;
    faults.creates = creates;
    faults.deletes = deletes;
    faults.nexts = nexts;
    faults.starts = starts;
    faults.ends = ends;
    faults.mostClaimedLoads = kMostClaimedLoads;
    faults.DrawFrom(answers, draws);
    if (!callBack) return;
    // The calls back draw from the same answers as the layer, in the order the calls come.
    auto callBack = std::make_shared<CallBack>(dialogs, faults.Answers());
    faults.onCall = [callBack](Service service, std::uint32_t) {
        if (MayCallBackFrom(service)) (*callBack)();
    };
}

}  // namespace quorfuzz
