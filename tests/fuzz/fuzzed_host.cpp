#include "tests/fuzz/fuzzed_host.h"

#include <algorithm>
#include <climits>

#include "host/module/entry_points.h"
#include "resources/note_spacing_dialog_ids.h"

namespace quorfuzz {
namespace {

Mode ReadMode(FuzzReader& script) { return static_cast<Mode>(script.TakeChoice(5)); }

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

}  // namespace

std::uint64_t CallsBack() { return CallsBackMade(); }

HostPolicy HostPolicy::Read(FuzzReader& script) {
    HostPolicy policy;
    policy.loads = ReadMode(script);
    policy.saves = ReadMode(script);
    policy.creates = ReadMode(script);
    policy.deletes = ReadMode(script);
    policy.nexts = ReadMode(script);
    policy.starts = ReadMode(script);
    policy.ends = ReadMode(script);
    const auto flags = script.Take<std::uint8_t>();
    policy.drawSizes = (flags & 0x01) != 0;
    policy.drawKeys = (flags & 0x02) != 0;
    policy.drawRegions = (flags & 0x04) != 0;
    policy.drawStrings = (flags & 0x08) != 0;
    policy.drawValues = (flags & 0x10) != 0;
    policy.drawCurrentWindow = (flags & 0x20) != 0;
    policy.callBack = (flags & 0x40) != 0;
    return policy;
}

void FuzzedHost::MaybeCallBack() {
    if (!policy_.callBack || callBackDepth_ >= kMaxCallBackDepth || callsBack_ >= kMaxCallsBack) {
        return;
    }
    // A zero byte, which is all a used-up input gives, makes no call.
    const std::uint32_t call = answers_.TakeChoice(32);
    if (call == 0 || call > 10) return;
    ++callBackDepth_;
    ++callsBack_;
    ++CallsBackMade();
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
            if (dialog != nullptr) Command(screen, dialog, IDC_SPACING_SET_AS_DEFAULT, BN_CLICKED);
            break;
        case 7:
            if (dialog != nullptr) Command(screen, dialog, IDC_SPACING_CLOSE, BN_CLICKED);
            break;
        case 8:
            if (dialog != nullptr) screen.Send(dialog, WM_CLOSE, 0, 0);
            break;
        case 9:
            if (dialog != nullptr) Command(screen, dialog, IDC_SPACING_TASK_LIST, LBN_SELCHANGE);
            break;
        default:
            NotavoExtensionTerminate(0);
            NotavoExtensionInvoke(kHostContext, 0, 0, 0);
            break;
    }
    --callBackDepth_;
}

FuzzedHost::FuzzedHost(simhost::headless::HeadlessDialogs& dialogs, simhost::Document document,
                       HostPolicy policy, FuzzReader answers)
    : DocumentBackend(std::move(document)), dialogs_(dialogs), policy_(policy), answers_(answers) {}

Mode FuzzedHost::ModeOf(Mode policy) {
    return policy == Mode::Drawn ? static_cast<Mode>(answers_.TakeChoice(4)) : policy;
}

template <typename Result, typename Work>
Result FuzzedHost::Answered(Mode policy, Work&& work) {
    switch (ModeOf(policy)) {
        case Mode::Refuse:
            return 0;
        case Mode::ClaimOnly:
            return 1;
        case Mode::DenyDone:
            work();
            return 0;
        default:
            return work();
    }
}

void FuzzedHost::BendKey(NXRecordKey& key) {
    if (!policy_.drawKeys) return;
    switch (answers_.TakeChoice(6)) {
        case 1:
            --key.item;  // backwards
            break;
        case 2:
            key.item = -1;  // 0xFFFF
            break;
        case 3:
            ++key.incidence;
            break;
        case 4:
            key.item = answers_.Take<std::int16_t>();
            key.incidence = answers_.Take<std::int16_t>();
            break;
        case 5:
            answers_.TakeBytes(key.reserved, sizeof(key.reserved));
            break;
        default:
            break;  // as answered
    }
}

std::int16_t FuzzedHost::LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                   std::int32_t* size, std::uint32_t version) {
    MaybeCallBack();
    const Mode mode = ModeOf(policy_.loads);
    const std::int32_t capacity = size != nullptr ? *size : 0;
    if (mode == Mode::Refuse) return 0;
    if (mode == Mode::ClaimOnly && ++claimedLoads_ > kMaxClaimedLoads) return 0;
    std::int16_t result = 1;
    if (mode == Mode::ClaimOnly) {
        // Bytes of the host's own making, never more than the capacity asked for.
        if (buffer != nullptr && capacity > 0) {
            answers_.TakeBytes(buffer, static_cast<std::size_t>(capacity));
        }
    } else {
        result = DocumentBackend::LoadEData(tag, key, buffer, size, version);
        if (mode == Mode::DenyDone) result = 0;
    }
    if (size != nullptr && policy_.drawSizes) {
        switch (answers_.TakeChoice(8)) {
            case 1:
                *size = capacity + 1;
                break;
            case 2:
                *size = INT_MAX;
                break;
            case 3:
                *size = -1;
                break;
            case 4:
                *size = 0;
                break;
            case 5:
                *size = 1;
                break;
            case 6:
                *size = INT_MIN;
                break;
            case 7:
                *size = answers_.Take<std::int32_t>();
                break;
            default:
                break;
        }
    }
    return result;
}

std::int16_t FuzzedHost::SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                   std::int32_t size, std::uint32_t version) {
    MaybeCallBack();
    return Answered<std::int16_t>(
        policy_.saves, [&] { return DocumentBackend::SaveEData(tag, key, buffer, size, version); });
}

std::int16_t FuzzedHost::CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                     std::int32_t size, std::uint32_t version) {
    const std::int16_t result = Answered<std::int16_t>(policy_.creates, [&] {
        return DocumentBackend::CreateEData(tag, key, buffer, size, version);
    });
    if (key != nullptr) BendKey(*key);
    return result;
}

std::int16_t FuzzedHost::DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    MaybeCallBack();
    return Answered<std::int16_t>(policy_.deletes,
                                  [&] { return DocumentBackend::DeleteEData(tag, key, version); });
}

std::int16_t FuzzedHost::NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    const std::int16_t result = Answered<std::int16_t>(
        policy_.nexts, [&] { return DocumentBackend::NextEData(tag, key, version); });
    if (key != nullptr) BendKey(*key);
    return result;
}

std::int16_t FuzzedHost::SlotToInst(std::int16_t slot, std::int16_t slotKey) {
    if (policy_.drawValues) return answers_.Take<std::int16_t>();
    return DocumentBackend::SlotToInst(slot, slotKey);
}

void FuzzedHost::GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                                NXRegionRecord* second) {
    MaybeCallBack();
    DocumentBackend::GetCurERegions(scratch, first, second);
    if (!policy_.drawRegions) return;
    if (scratch != nullptr) *scratch = answers_.Take<std::int32_t>();
    // Region records are plain bytes; whatever the input holds is a record a host could give.
    if (first != nullptr) answers_.TakeBytes(first, sizeof(NXRegionRecord));
    if (second != nullptr) answers_.TakeBytes(second, sizeof(NXRegionRecord));
}

std::int16_t FuzzedHost::GetCurrentOstrinDocument() {
    if (policy_.drawValues) return answers_.Take<std::int16_t>();
    return DocumentBackend::GetCurrentOstrinDocument();
}

std::int32_t FuzzedHost::StartEdit(const char16_t* name) {
    MaybeCallBack();
    return Answered<std::int32_t>(policy_.starts, [&] { return DocumentBackend::StartEdit(name); });
}

void FuzzedHost::ExecuteMenuItem(std::int32_t command) {
    MaybeCallBack();
    DocumentBackend::ExecuteMenuItem(command);
}

std::int32_t FuzzedHost::EndEdit() {
    MaybeCallBack();
    const bool open = GetDocument().History().IsOpen();
    bool ended = false;
    const auto result = Answered<std::int32_t>(policy_.ends, [&] {
        ended = true;
        return DocumentBackend::EndEdit();
    });
    if (open && !ended) ignoredEnd_ = true;
    return result;
}

void FuzzedHost::Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context,
                        std::int32_t zero, void* user) {
    MaybeCallBack();
    dialogs_.Dialog(resourceId, proc, context, zero, user);
    const HWND opened = dialogs_.OpenDialog();
    if (opened != nullptr && std::find(opened_.begin(), opened_.end(), opened) == opened_.end()) {
        opened_.push_back(opened);
    }
}

void FuzzedHost::EndDialog(HWND dialog) {
    MaybeCallBack();
    // A host that draws its values may also ignore the request.
    if (policy_.drawValues && answers_.TakeBool()) return;
    dialogs_.EndDialog(dialog);
}

void FuzzedHost::EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) {
    dialogs_.EnableDlgItem(dialog, item, enable);
}

std::int32_t FuzzedHost::GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) {
    MaybeCallBack();
    if (policy_.drawValues) return answers_.Take<std::int32_t>();
    return dialogs_.GetDlgItemVal(dialog, item, kind);
}

void FuzzedHost::SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                               std::int32_t value) {
    dialogs_.SetDlgItemVal(dialog, item, kind, value);
}

template <typename Unit>
void FuzzedHost::FillString(Unit* buffer, std::int32_t capacity) {
    if (buffer == nullptr || capacity <= 0) return;
    const auto room = static_cast<std::size_t>(capacity);
    // Up to the whole capacity, terminated or not as the input says.
    const std::size_t units = std::min<std::size_t>(answers_.Take<std::uint16_t>(), room);
    const std::size_t taken = answers_.TakeBytes(buffer, units * sizeof(Unit)) / sizeof(Unit);
    if (answers_.TakeBool() && taken < room) buffer[taken] = 0;
}

void FuzzedHost::GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity) {
    if (policy_.drawStrings) {
        FillString(buffer, capacity);
        return;
    }
    dialogs_.GetDlgString(dialog, item, buffer, capacity);
}

void FuzzedHost::GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                                   std::int32_t capacity) {
    if (policy_.drawStrings) {
        FillString(buffer, capacity);
        return;
    }
    dialogs_.GetDlgStringUtf16(dialog, item, buffer, capacity);
}

void FuzzedHost::SetDlgString(HWND dialog, std::int32_t item, const char* text) {
    MaybeCallBack();
    dialogs_.SetDlgString(dialog, item, text);
}

void FuzzedHost::SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) {
    MaybeCallBack();
    dialogs_.SetDlgStringUtf16(dialog, item, text);
}

HWND FuzzedHost::GetCurrentWindow() {
    if (!policy_.drawCurrentWindow) return dialogs_.GetCurrentWindow();
    switch (answers_.TakeChoice(4)) {
        case 1:
            return nullptr;
        case 2:
            return dialogs_.MainWindow();
        case 3:
            return dialogs_.OpenDialog();
        default:
            return dialogs_.GetCurrentWindow();
    }
}

void FuzzedHost::EndOpenedDialogs() {
    for (const HWND dialog : opened_) {
        if (dialogs_.Screen().Find(dialog) != nullptr) dialogs_.EndDialog(dialog);
    }
    opened_.clear();
}

}  // namespace quorfuzz
