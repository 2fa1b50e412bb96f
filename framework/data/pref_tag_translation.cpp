#include "framework/data/pref_tag_translation.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "host/services/nx_services.h"

namespace {

constexpr PrefBlockMapping Any(const char (&pref)[5], const char (&source)[5], std::int32_t count) {
    return {MakeTag(pref), MakeTag(source), count, true, 0, 0, false};
}

constexpr PrefBlockMapping PerItem(const char (&pref)[5], const char (&source)[5],
                                   std::int16_t maxItem) {
    return {MakeTag(pref), MakeTag(source), 1, false, 1, maxItem, true};
}

constexpr std::array<PrefBlockMapping, 18> kBlockTable = {{
    Any("pfGD", "ot79", 1),
    Any("pfGG", "ot88", 11),
    PerItem("pfGb", "ot98", 4),
    Any("pfGd", "ot80", 1),
    {MakeTag("pfGs"), MakeTag("ot91"), 1, false, 1, 1, false},
    Any("pfMM", "ot25", 2),
    Any("pfND", "ot04", 1),
    Any("pfNd", "ot66", 1),
    {MakeTag("pfPF"), MakeTag("ot77"), 4, false, 1, 1, false},
    Any("pfSC", "ot52", 2),
    PerItem("pfSN", "ot40", 128),
    Any("pfSP", "ot94", 3),
    PerItem("pfSl", "ot26", 15),
    Any("pfTC", "ot86", 5),
    Any("pfTI", "ot84", 4),
    Any("pfTX", "ot78", 8),
    Any("pfTp", "ot85", 4),
    PerItem("pfTs", "ot90", 9),
}};

constexpr bool AllMayBeTranslated() {
    for (const PrefBlockMapping& mapping : kBlockTable) {
        if (!MayBeTranslated(mapping.prefTag)) return false;
    }
    return true;
}
static_assert(AllMayBeTranslated(), "a table tag outside 'pf' would never be translated");

bool Accepts(const PrefBlockMapping& mapping, std::int16_t item) {
    return mapping.anyItem || (item >= mapping.minItem && item <= mapping.maxItem);
}

NXRecordKey SourceKey(const PrefBlockMapping& mapping, std::int16_t item, std::int32_t k) {
    const std::int32_t first = mapping.incidenceFromItem ? item - 1 : 0;
    return NXRecordKey{kSourceRecordItem, static_cast<std::int16_t>(first + k), {}};
}

// Both answer success once the caller's buffer and size pass; `intact` says whether the host
// also answered success for every source record, and for a load delivered each one whole.
std::int16_t BlockLoad(const PrefBlockMapping& mapping, std::int16_t item, void* buffer,
                       std::int32_t* size, bool& intact) {
    intact = false;
    if (size == nullptr) return 0;
    const std::int32_t bytes = kSourceRecordSize * mapping.count;
    if (buffer == nullptr) {
        *size = bytes;  // a size query: the host is not asked
        intact = true;
        return 1;
    }
    if (*size < bytes) return 0;
    intact = true;
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (std::int32_t k = 0; k < mapping.count; ++k) {
        // Cleared first, so that a source record the host cannot give reads as zeros.
        std::array<std::uint8_t, kSourceRecordSize> scratch{};
        NXRecordKey key = SourceKey(mapping, item, k);
        std::int32_t delivered = kSourceRecordSize;
        if (NX_LoadEDataRaw(mapping.sourceTag, &key, scratch.data(), &delivered,
                            kInterfaceVersion) == 0 ||
            delivered < kSourceRecordSize) {
            intact = false;
        }
        // Never more than the scratch holds, whatever the host reports.
        const std::int32_t copied = std::clamp(delivered, 0, kSourceRecordSize);
        std::memcpy(out + std::ptrdiff_t{kSourceRecordSize} * k, scratch.data(),
                    static_cast<std::size_t>(copied));
    }
    *size = bytes;
    return 1;
}

std::int16_t BlockSave(const PrefBlockMapping& mapping, std::int16_t item, void* buffer,
                       std::int32_t size, bool& intact) {
    intact = false;
    if (buffer == nullptr || size < kSourceRecordSize * mapping.count) return 0;
    intact = true;
    auto* in = static_cast<std::uint8_t*>(buffer);
    for (std::int32_t k = 0; k < mapping.count; ++k) {
        NXRecordKey key = SourceKey(mapping, item, k);
        if (NX_SaveEDataRaw(mapping.sourceTag, &key, in + std::ptrdiff_t{kSourceRecordSize} * k,
                            kSourceRecordSize, kInterfaceVersion) == 0) {
            intact = false;
        }
    }
    return 1;
}

}  // namespace

const PrefBlockMapping* FindPrefBlockMapping(std::uint32_t tag) {
    if (!MayBeTranslated(tag)) return nullptr;
    for (const PrefBlockMapping& mapping : kBlockTable) {
        if (mapping.prefTag == tag) return &mapping;
    }
    return nullptr;
}

std::int16_t CheckedLoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                              std::uint32_t version, bool& intact) {
    const PrefBlockMapping* mapping = FindPrefBlockMapping(tag);
    if (mapping == nullptr) {
        const std::int16_t result = NX_LoadEDataRaw(tag, key, buffer, size, version);
        intact = result != 0;
        return result;
    }
    intact = false;
    if (key == nullptr || !Accepts(*mapping, key->item)) return 0;
    return BlockLoad(*mapping, key->item, buffer, size, intact);
}

std::int16_t CheckedSaveEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                              std::uint32_t version, bool& intact) {
    const PrefBlockMapping* mapping = FindPrefBlockMapping(tag);
    if (mapping == nullptr) {
        const std::int16_t result = NX_SaveEDataRaw(tag, key, buffer, size, version);
        intact = result != 0;
        return result;
    }
    intact = false;
    if (key == nullptr || !Accepts(*mapping, key->item)) return 0;
    return BlockSave(*mapping, key->item, buffer, size, intact);
}

std::int16_t NX_LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                          std::uint32_t version) {
    bool intact = false;
    return CheckedLoadEData(tag, key, buffer, size, version, intact);
}

std::int16_t NX_SaveEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                          std::uint32_t version) {
    bool intact = false;
    return CheckedSaveEData(tag, key, buffer, size, version, intact);
}
