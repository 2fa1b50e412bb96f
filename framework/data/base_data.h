// The generic record layer over the host's five record services. A concrete record states
// only its tag, data version, data size and buffer; the load, save, create, delete and walk
// protocol lives here.
#pragma once

#include <cstdint>

#include "framework/core/nc_base.h"
#include "host/services/nx_types.h"

class __NCBaseData : public __NCBase {
public:
    __NCBaseData() = default;
    __NCBaseData(const __NCBaseData&) = delete;
    __NCBaseData& operator=(const __NCBaseData&) = delete;

    // The object's own data buffer, of DataSize() bytes.
    virtual std::uint8_t* DataBuffer() = 0;
    virtual void FreeDataBuffer() {}
    virtual bool IsDataBufferAllocated() const { return false; }
    // A new record of the same class, owned by the caller.
    virtual __NCBaseData* CreateObject() const = 0;
    virtual std::uint32_t DataTag() const = 0;
    virtual std::uint32_t DataVersion() const = 0;
    virtual std::uint32_t DataSize() const = 0;
    // 0 means nothing is loaded.
    virtual std::uint32_t LoadedSize() const { return loadedSize_; }
    // Copies the data of other, a record of the same class; the key is not copied.
    virtual void CopyFrom(const __NCBaseData* other) = 0;
    virtual bool Save();
    virtual bool Reload();
    // Deletes the record the key names; the object itself keeps its data and key.
    virtual bool DeleteData();
    virtual bool RemoveData() { return DeleteData(); }
    virtual bool LoadFirst() { return Load(1); }
    virtual bool LoadNext();
    virtual bool Load(std::int16_t item) = 0;

    // Loads the record the key currently names, into at most DataSize() bytes.
    bool LoadCurrent();
    // The same, telling through `intact` whether the record really came through whole: a host
    // can answer success and report fewer bytes than the record holds, and a translated
    // preference record can answer success with source records missing.
    bool LoadCurrent(bool& intact);
    // Whether the loaded size covers the record's layout. After a load that reported fewer
    // bytes, the rest of the buffer holds nothing the host gave.
    bool HoldsWholeRecord() const { return LoadedSize() >= DataSize(); }

    const NXRecordKey& Key() const { return key_; }
    NXRecordKey& MutableKey() { return key_; }
    const std::uint8_t* Data() const { return data_; }

protected:
    std::uint8_t* MutableData() { return data_; }
    void SetData(std::uint8_t* data) { data_ = data; }
    void SetLoadedSize(std::uint32_t size) { loadedSize_ = size; }

private:
    std::uint8_t* data_ = nullptr;
    std::uint32_t loadedSize_ = 0;
    NXRecordKey key_{};
};

// Records keyed by item number and incidence.
class __NCOther : public __NCBaseData {};

// Records whose incidence is always 0.
class __NCNoInciOther : public __NCOther {
public:
    bool Load(std::int16_t item) override;
    // Sets the key (even when the save then fails) and saves.
    virtual bool SaveAs(std::int16_t item);
    virtual bool StoreAs(std::int16_t item) { return SaveAs(item); }
    // Asks the host to create the record under a fresh item number, which it writes into the
    // key.
    virtual bool SaveNew();
    virtual std::int16_t ItemNo() const { return Key().item; }
};

// Preference records.
class __NCPrefsBase : public __NCBaseData {};
