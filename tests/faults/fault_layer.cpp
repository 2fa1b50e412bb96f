#include "tests/faults/fault_layer.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "simhost/headless/headless_dialogs.h"

namespace quorfaults {

using nx::Service;

FaultLayer::FaultLayer(simhost::HostBackend& inner, simhost::headless::HeadlessDialogs* dialogs)
    : inner_(inner), dialogs_(dialogs) {}

void FaultLayer::DrawFrom(FuzzReader answers, Draws what) {
    answers_ = answers;
    draws_ = what;
}

bool FaultLayer::Refused(Service service, std::uint32_t tag) {
    const std::uint32_t call = ++calls_[static_cast<std::size_t>(service)];
    if (onCall) onCall(service, tag);
    if (refusedCalls_.empty()) return false;
    const auto [first, last] = refusedCalls_.equal_range(service);
    return std::any_of(first, last, [call](const auto& refused) { return refused.second == call; });
}

Answer FaultLayer::AnswerOf(Answer policy) {
    if (policy != Answer::Drawn) return policy;
    // A used-up input draws 0: the honest answer.
    return answers_ ? static_cast<Answer>(answers_->TakeChoice(4)) : Answer::Honest;
}

template <typename Result, typename Work>
Result FaultLayer::Answered(Answer policy, Work&& work) {
    switch (AnswerOf(policy)) {
        case Answer::Refuse:
            return 0;
        case Answer::ClaimOnly:
            return 1;
        case Answer::DenyDone:
            work();
            return 0;
        case Answer::Honest:
        case Answer::Drawn:
            break;
    }
    return work();
}

void FaultLayer::DrawKey(NXRecordKey& key) {
    if (!draws_.keys || !answers_) return;
    switch (answers_->TakeChoice(6)) {
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
            key.item = answers_->Take<std::int16_t>();
            key.incidence = answers_->Take<std::int16_t>();
            break;
        case 5:
            answers_->TakeBytes(key.reserved, sizeof(key.reserved));
            break;
        default:
            break;  // as answered
    }
}

void FaultLayer::DrawSize(std::int32_t& size, std::int32_t capacity) {
    if (!draws_.sizes || !answers_) return;
    switch (answers_->TakeChoice(8)) {
        case 1:
            size = capacity + 1;
            break;
        case 2:
            size = INT_MAX;
            break;
        case 3:
            size = -1;
            break;
        case 4:
            size = 0;
            break;
        case 5:
            size = 1;
            break;
        case 6:
            size = INT_MIN;
            break;
        case 7:
            size = answers_->Take<std::int32_t>();
            break;
        default:
            break;
    }
}

template <typename Unit>
void FaultLayer::FillString(Unit* buffer, std::int32_t capacity, Unit filler) {
    if (buffer == nullptr || capacity <= 0) return;
    const auto room = static_cast<std::size_t>(capacity);
    if (!draws_.strings || !answers_) {
        std::fill_n(buffer, room, filler);
        return;
    }
    // Up to the whole capacity, terminated or not as the input says.
    const std::size_t units = std::min<std::size_t>(answers_->Take<std::uint16_t>(), room);
    const std::size_t taken = answers_->TakeBytes(buffer, units * sizeof(Unit)) / sizeof(Unit);
    if (answers_->TakeBool() && taken < room) buffer[taken] = 0;
}

std::int16_t FaultLayer::LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                   std::int32_t* size, std::uint32_t version) {
    if (Refused(Service::LoadEData, tag)) return 0;
    const RecordId id = key != nullptr ? RecordId{tag, key->item, key->incidence} : RecordId{};
    if (!refusedLoads.empty() && key != nullptr && refusedLoads.contains(id)) return 0;
    const std::int32_t capacity = size != nullptr ? *size : 0;
    std::int16_t result = 1;
    switch (AnswerOf(loads)) {
        case Answer::Refuse:
            return 0;
        case Answer::ClaimOnly:
            if (++claimedLoads_ > mostClaimedLoads) return 0;
            // Bytes of the host's own making, never more than the capacity asked for.
            if (answers_ && buffer != nullptr && capacity > 0) {
                answers_->TakeBytes(buffer, static_cast<std::size_t>(capacity));
            }
            break;
        case Answer::DenyDone:
            inner_.LoadEData(tag, key, buffer, size, version);
            result = 0;
            break;
        case Answer::Honest:
        case Answer::Drawn: {
            const bool bent = reportSize || (!reportedSizes.empty() && reportedSizes.contains(id));
            if (!bent || buffer == nullptr || size == nullptr || capacity <= 0) {
                result = inner_.LoadEData(tag, key, buffer, size, version);
                break;
            }
            // A host that reports fewer bytes delivers no more than it reports.
            scratch_.resize(static_cast<std::size_t>(capacity));
            result = inner_.LoadEData(tag, key, scratch_.data(), size, version);
            if (result == 0) return result;
            const auto own = reportedSizes.find(id);
            const std::int32_t reported =
                own != reportedSizes.end() ? own->second : reportSize(tag, capacity, *size);
            std::memcpy(
                buffer, scratch_.data(),
                static_cast<std::size_t>(std::clamp(std::min(reported, *size), 0, capacity)));
            *size = reported;
            break;
        }
    }
    if (size != nullptr) DrawSize(*size, capacity);
    if (result != 0 && key != nullptr && rewriteKey) rewriteKey(Service::LoadEData, tag, *key);
    return result;
}

std::int16_t FaultLayer::SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                   std::int32_t size, std::uint32_t version) {
    if (Refused(Service::SaveEData, tag)) return 0;
    if (!refusedSaves.empty() && key != nullptr &&
        refusedSaves.contains({tag, key->item, key->incidence})) {
        return 0;
    }
    return Answered<std::int16_t>(
        saves, [&] { return inner_.SaveEData(tag, key, buffer, size, version); });
}

std::int16_t FaultLayer::CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                     std::int32_t size, std::uint32_t version) {
    if (Refused(Service::CreateEData, tag)) return 0;
    const std::int16_t result = Answered<std::int16_t>(
        creates, [&] { return inner_.CreateEData(tag, key, buffer, size, version); });
    if (key != nullptr) {
        DrawKey(*key);
        if (rewriteKey) rewriteKey(Service::CreateEData, tag, *key);
    }
    return result;
}

std::int16_t FaultLayer::DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    if (Refused(Service::DeleteEData, tag)) return 0;
    if (!refusedDeletes.empty() && key != nullptr &&
        refusedDeletes.contains({tag, key->item, key->incidence})) {
        return 0;
    }
    return Answered<std::int16_t>(deletes, [&] { return inner_.DeleteEData(tag, key, version); });
}

std::int16_t FaultLayer::NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    if (Refused(Service::NextEData, tag)) return 0;
    const std::int16_t result =
        Answered<std::int16_t>(nexts, [&] { return inner_.NextEData(tag, key, version); });
    if (key != nullptr) {
        DrawKey(*key);
        if (rewriteKey) rewriteKey(Service::NextEData, tag, *key);
    }
    return result;
}

void FaultLayer::Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context,
                        std::int32_t zero, void* user) {
    if (Refused(Service::Dialog)) return;
    inner_.Dialog(resourceId, proc, context, zero, user);
    if (dialogs_ == nullptr) return;
    const HWND opened = dialogs_->OpenDialog();
    if (opened != nullptr && std::find(opened_.begin(), opened_.end(), opened) == opened_.end()) {
        opened_.push_back(opened);
    }
}

void FaultLayer::EndDialog(HWND dialog) {
    if (Refused(Service::EndDialog)) return;
    // A host that draws its values may also ignore the request.
    if (draws_.values && answers_ && answers_->TakeBool()) return;
    inner_.EndDialog(dialog);
}

void FaultLayer::EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) {
    if (!Refused(Service::EnableDlgItem)) inner_.EnableDlgItem(dialog, item, enable);
}

std::int32_t FaultLayer::GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) {
    if (Refused(Service::GetDlgItemVal)) return 0;
    if (draws_.values && answers_) return answers_->Take<std::int32_t>();
    return inner_.GetDlgItemVal(dialog, item, kind);
}

void FaultLayer::SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                               std::int32_t value) {
    if (!Refused(Service::SetDlgItemVal)) inner_.SetDlgItemVal(dialog, item, kind, value);
}

void FaultLayer::GetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double* value) {
    if (!Refused(Service::GetDlgItemUser)) inner_.GetDlgItemUser(dialog, item, zero, value);
}

void FaultLayer::SetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double value) {
    if (!Refused(Service::SetDlgItemUser)) inner_.SetDlgItemUser(dialog, item, zero, value);
}

void FaultLayer::GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity) {
    if (Refused(Service::GetDlgString)) return;
    if (unterminatedStrings || (draws_.strings && answers_)) {
        FillString(buffer, capacity, 'x');
        return;
    }
    inner_.GetDlgString(dialog, item, buffer, capacity);
}

void FaultLayer::GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                                   std::int32_t capacity) {
    if (Refused(Service::GetDlgStringUtf16)) return;
    if (unterminatedStrings || (draws_.strings && answers_)) {
        FillString(buffer, capacity, u'y');
        return;
    }
    inner_.GetDlgStringUtf16(dialog, item, buffer, capacity);
}

void FaultLayer::SetDlgString(HWND dialog, std::int32_t item, const char* text) {
    if (!Refused(Service::SetDlgString)) inner_.SetDlgString(dialog, item, text);
}

void FaultLayer::SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) {
    if (!Refused(Service::SetDlgStringUtf16)) inner_.SetDlgStringUtf16(dialog, item, text);
}

std::int16_t FaultLayer::SlotToInst(std::int16_t slot, std::int16_t slotKey) {
    if (Refused(Service::SlotToInst)) return 0;
    if (draws_.values && answers_) return answers_->Take<std::int16_t>();
    return inner_.SlotToInst(slot, slotKey);
}

void FaultLayer::GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                                NXRegionRecord* second) {
    if (Refused(Service::GetCurERegions)) return;
    if (regions.empty()) {
        inner_.GetCurERegions(scratch, first, second);
    } else {
        const NXRegionRecord& region = regions[std::min(regionCalls_, regions.size() - 1)];
        ++regionCalls_;
        if (scratch != nullptr) *scratch = 1;
        if (first != nullptr) *first = region;
        if (second != nullptr) *second = region;
    }
    if (!draws_.regions || !answers_) return;
    if (scratch != nullptr) *scratch = answers_->Take<std::int32_t>();
    // Region records are plain bytes; whatever the input holds is a record a host could give.
    if (first != nullptr) answers_->TakeBytes(first, sizeof(NXRegionRecord));
    if (second != nullptr) answers_->TakeBytes(second, sizeof(NXRegionRecord));
}

void FaultLayer::RedrawMusic(NXRegionRecord* region) {
    if (!Refused(Service::RedrawMusic)) inner_.RedrawMusic(region);
}

std::int16_t FaultLayer::GetCurrentOstrinDocument() {
    if (Refused(Service::GetCurrentOstrinDocument)) return 0;
    if (draws_.values && answers_) return answers_->Take<std::int16_t>();
    return inner_.GetCurrentOstrinDocument();
}

std::int32_t FaultLayer::StartEdit(const char16_t* name) {
    if (Refused(Service::StartNotavoEditUtf16)) return 0;
    return Answered<std::int32_t>(starts, [&] { return inner_.StartEdit(name); });
}

std::int32_t FaultLayer::EndEdit() {
    const bool open = inner_.EditOpen();
    bool ended = false;
    const std::int32_t result =
        Refused(Service::EndNotavoEdit) ? 0 : Answered<std::int32_t>(ends, [&] {
            ended = true;
            return inner_.EndEdit();
        });
    if (open && !ended) ignoredEnd_ = true;
    return result;
}

void FaultLayer::CancelEdit() {
    if (!Refused(Service::CancelNotavoEdit)) inner_.CancelEdit();
}

void FaultLayer::ExecuteMenuItem(std::int32_t command) {
    if (!Refused(Service::ExecuteMenuItem)) inner_.ExecuteMenuItem(command);
}

HWND FaultLayer::GetCurrentWindow() {
    if (Refused(Service::GetCurrentWindow)) return nullptr;
    if (!draws_.currentWindow || !answers_ || dialogs_ == nullptr) {
        return inner_.GetCurrentWindow();
    }
    switch (answers_->TakeChoice(4)) {
        case 1:
            return nullptr;
        case 2:
            return dialogs_->MainWindow();
        case 3:
            return dialogs_->OpenDialog();
        default:
            return inner_.GetCurrentWindow();
    }
}

void FaultLayer::EndOpenedDialogs() {
    if (dialogs_ == nullptr) return;
    for (const HWND dialog : opened_) {
        if (dialogs_->Screen().Find(dialog) != nullptr) dialogs_->EndDialog(dialog);
    }
    opened_.clear();
}

}  // namespace quorfaults
