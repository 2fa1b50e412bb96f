#include "framework/data/base_data.h"

#include <algorithm>

#include "framework/data/pref_tag_translation.h"
#include "host/services/nx_services.h"

namespace {

// A record service succeeds when the low 16 bits of its result are nonzero.
bool Succeeded(std::int16_t result) { return result != 0; }

}  // namespace

bool __NCBaseData::LoadCurrent() {
    bool intact = false;
    return LoadCurrent(intact);
}

bool __NCBaseData::LoadCurrent(bool& intact) {
    if (data_ != nullptr && IsDataBufferAllocated()) {
        FreeDataBuffer();
        data_ = nullptr;
        loadedSize_ = 0;
    }
    if (data_ == nullptr) data_ = DataBuffer();
    const std::uint32_t capacity = DataSize();
    auto size = static_cast<std::int32_t>(capacity);
    if (!Succeeded(CheckedLoadEData(DataTag(), &key_, data_, &size, DataVersion(), intact))) {
        loadedSize_ = 0;
        return false;
    }
    // The host reports what it delivered; a report beyond the buffer must not let a later
    // save send bytes past it.
    loadedSize_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(size, 0, capacity));
    intact = intact && HoldsWholeRecord();
    return true;
}

bool __NCBaseData::Save() {
    if (loadedSize_ == 0) return false;
    return Succeeded(NX_SaveEData(DataTag(), &key_, data_, static_cast<std::int32_t>(loadedSize_),
                                  DataVersion()));
}

bool __NCBaseData::Reload() {
    if (loadedSize_ == 0) return false;
    return Load(key_.item);
}

bool __NCBaseData::DeleteData() {
    return Succeeded(NX_DeleteEData(DataTag(), &key_, DataVersion()));
}

bool __NCBaseData::LoadNext() {
    if (!Succeeded(NX_NextEData(DataTag(), &key_, nullptr, nullptr, DataVersion()))) return false;
    return LoadCurrent();
}

bool __NCNoInciOther::Load(std::int16_t item) {
    MutableKey().item = item;
    MutableKey().incidence = 0;
    return LoadCurrent();
}

bool __NCNoInciOther::SaveAs(std::int16_t item) {
    MutableKey().item = item;
    MutableKey().incidence = 0;
    return Save();
}

bool __NCNoInciOther::SaveNew() {
    if (LoadedSize() == 0) return false;
    MutableKey().item = -1;
    MutableKey().incidence = -1;
    return Succeeded(NX_CreateEData(DataTag(), &MutableKey(), MutableData(),
                                    static_cast<std::int32_t>(LoadedSize()), DataVersion()));
}
