#include "framework/data/collection_data.h"

namespace {

// Item numbers have 16 bits, so a document holds at most this many records of one kind under
// incidence 0. A host whose keys keep rising past that (the incidence rising with them) would
// otherwise keep one walk going until memory runs out.
constexpr std::int32_t kMostWalkedRecords = 65536;

// The walk order of keys: item number, then incidence, both as the host's unsigned 16 bits.
std::uint32_t WalkPosition(const NXRecordKey& key) {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(key.item)) << 16) |
           static_cast<std::uint16_t>(key.incidence);
}

}  // namespace

void __NCCollectionData::AppendCopyOf(const __NCBaseData& loader, bool& whole) {
    whole = whole && loader.HoldsWholeRecord();
    std::unique_ptr<__NCBaseData> copy(loader.CreateObject());
    copy->MutableKey() = loader.Key();
    copy->CopyFrom(&loader);
    Append(copy.release());
}

std::int32_t __NCCollectionData::LoadAll() {
    bool whole = true;
    return LoadAll(whole);
}

std::int32_t __NCCollectionData::LoadAll(bool& whole) {
    DeleteAll();
    whole = true;
    const std::unique_ptr<__NCBaseData> loader(CreateElement());
    if (loader->LoadFirst()) {
        std::uint32_t position = WalkPosition(loader->Key());
        for (;;) {
            AppendCopyOf(*loader, whole);
            if (Count() >= kMostWalkedRecords || !loader->LoadNext()) break;
            // A host that walks a key backwards or in place would make this loop forever.
            const std::uint32_t next = WalkPosition(loader->Key());
            if (next <= position) break;
            position = next;
        }
    }
    return Count();
}

bool __NCCollectionData::SaveAll() {
    for (std::int32_t i = 0; i < Count(); ++i) {
        __NCBaseData* record = RecordAt(i);
        if (record != nullptr && !record->Save()) return false;
    }
    return true;
}

void __NCCollectionData::LoadItemRange(std::int32_t first, std::int32_t last, bool& whole) {
    DeleteAll();
    whole = true;
    const std::unique_ptr<__NCBaseData> loader(CreateElement());
    for (std::int32_t item = first; item <= last; ++item) {
        if (loader->Load(static_cast<std::int16_t>(item))) AppendCopyOf(*loader, whole);
    }
}
