#include "tests/hostile/hostile_host.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace hostile {
namespace {

// Runs `work` (which answers the honest result) or not, and answers as `answer` says.
template <typename Result, typename Work>
Result Bent(Answer answer, Work&& work) {
    switch (answer) {
        case Answer::Refuse:
            return 0;
        case Answer::ClaimOnly:
            return 1;
        case Answer::DenyDone:
            work();
            return 0;
        case Answer::Honest:
            break;
    }
    return work();
}

}  // namespace

HostileHost::HostileHost(simhost::headless::HeadlessDialogs& dialogs, simhost::Document document)
    : WithDialogs(dialogs, std::move(document)), dialogs_(dialogs) {}

std::int16_t HostileHost::LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                    std::int32_t* size, std::uint32_t version) {
    if (onCall) onCall("NX_LoadEData", tag);
    const std::int32_t capacity = size != nullptr ? *size : 0;
    return Bent<std::int16_t>(loads, [&]() -> std::int16_t {
        if (!reportSize || buffer == nullptr || size == nullptr || capacity <= 0) {
            return DocumentBackend::LoadEData(tag, key, buffer, size, version);
        }
        // A host that reports fewer bytes delivers no more than it reports.
        std::vector<std::uint8_t> loaded(static_cast<std::size_t>(capacity));
        const std::int16_t result =
            DocumentBackend::LoadEData(tag, key, loaded.data(), size, version);
        if (result == 0) return result;
        const std::int32_t reported = reportSize(tag, capacity, *size);
        std::copy_n(loaded.begin(), std::clamp(std::min(reported, *size), 0, capacity),
                    static_cast<std::uint8_t*>(buffer));
        *size = reported;
        return result;
    });
}

std::int16_t HostileHost::SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                    std::int32_t size, std::uint32_t version) {
    if (onCall) onCall("NX_SaveEData", tag);
    if (refuseSave && key != nullptr && refuseSave(tag, *key)) return 0;
    return Bent<std::int16_t>(
        saves, [&] { return DocumentBackend::SaveEData(tag, key, buffer, size, version); });
}

std::int16_t HostileHost::CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                      std::int32_t size, std::uint32_t version) {
    const std::int16_t result = Bent<std::int16_t>(
        creates, [&] { return DocumentBackend::CreateEData(tag, key, buffer, size, version); });
    if (key != nullptr && rewriteCreateKey) rewriteCreateKey(*key);
    return result;
}

std::int16_t HostileHost::DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    return Bent<std::int16_t>(deletes,
                              [&] { return DocumentBackend::DeleteEData(tag, key, version); });
}

std::int16_t HostileHost::NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    const std::int16_t result =
        Bent<std::int16_t>(nexts, [&] { return DocumentBackend::NextEData(tag, key, version); });
    if (key != nullptr && rewriteNextKey) rewriteNextKey(*key);
    return result;
}

void HostileHost::GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                                 NXRegionRecord* second) {
    if (regions.empty()) {
        DocumentBackend::GetCurERegions(scratch, first, second);
        return;
    }
    const NXRegionRecord& region = regions[std::min(regionCalls_, regions.size() - 1)];
    ++regionCalls_;
    if (scratch != nullptr) *scratch = 1;
    if (first != nullptr) *first = region;
    if (second != nullptr) *second = region;
}

std::int32_t HostileHost::StartEdit(const char16_t* name) {
    return Bent<std::int32_t>(starts, [&] { return DocumentBackend::StartEdit(name); });
}

std::int32_t HostileHost::EndEdit() {
    return Bent<std::int32_t>(ends, [&] { return DocumentBackend::EndEdit(); });
}

void HostileHost::ExecuteMenuItem(std::int32_t command) {
    if (onCall) onCall("NX_ExecuteMenuItem", 0);
    DocumentBackend::ExecuteMenuItem(command);
}

void HostileHost::Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context,
                         std::int32_t zero, void* user) {
    dialogs_.Dialog(resourceId, proc, context, zero, user);
    const HWND opened = dialogs_.OpenDialog();
    if (opened != nullptr && std::find(opened_.begin(), opened_.end(), opened) == opened_.end()) {
        opened_.push_back(opened);
    }
}

void HostileHost::GetDlgString(HWND dialog, std::int32_t item, char* buffer,
                               std::int32_t capacity) {
    if (!unterminatedStrings) {
        dialogs_.GetDlgString(dialog, item, buffer, capacity);
        return;
    }
    if (buffer != nullptr) std::fill_n(buffer, std::max(capacity, 0), 'x');
}

void HostileHost::GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                                    std::int32_t capacity) {
    if (!unterminatedStrings) {
        dialogs_.GetDlgStringUtf16(dialog, item, buffer, capacity);
        return;
    }
    if (buffer != nullptr) std::fill_n(buffer, std::max(capacity, 0), u'y');
}

void HostileHost::SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) {
    if (onCall) onCall("NX_SetDlgString_UTF16", 0);
    dialogs_.SetDlgStringUtf16(dialog, item, text);
}

void HostileHost::EndDialog(HWND dialog) {
    if (onCall) onCall("NX_EndDialog", 0);
    dialogs_.EndDialog(dialog);
}

void HostileHost::EndOpenedDialogs() {
    for (const HWND dialog : opened_) {
        if (dialogs_.Screen().Find(dialog) != nullptr) dialogs_.EndDialog(dialog);
    }
    opened_.clear();
}

}  // namespace hostile
