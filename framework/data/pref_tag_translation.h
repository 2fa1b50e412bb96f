// The record bindings the data layer uses. Preference records of certain tags never reach the
// host under their own tag: they are assembled from (or spread over) consecutive 12-byte 'ot'
// records, by a fixed table. Every other tag goes to the host unchanged.
#pragma once

#include <cstdint>

#include "host/services/nx_types.h"

// One preference tag carried as `count` source records of `sourceTag`, item number -2,
// incidences `firstIncidence(item)` onwards.
struct PrefBlockMapping {
    std::uint32_t prefTag;
    std::uint32_t sourceTag;
    std::int32_t count;
    // Item numbers the tag accepts: any, or minItem..maxItem.
    bool anyItem;
    std::int16_t minItem;
    std::int16_t maxItem;
    // Whether the first incidence is item - 1 (per-item preferences) rather than 0.
    bool incidenceFromItem;
};

// Every translated tag is a preference tag: 'pf' and two characters. Any other tag goes to the
// host as it is without a look at the table, and almost every record call has such a tag.
constexpr bool MayBeTranslated(std::uint32_t tag) { return (tag >> 16) == (MakeTag("pf  ") >> 16); }

// The mapping of a translated preference tag, or null for a tag that goes to the host as it is.
const PrefBlockMapping* FindPrefBlockMapping(std::uint32_t tag);

constexpr std::int32_t kSourceRecordSize = 12;
constexpr std::int16_t kSourceRecordItem = -2;

// A translated call answers success once the caller's buffer and size pass, whatever the host
// does with the source records.
std::int16_t NX_LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                          std::uint32_t version);
std::int16_t NX_SaveEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                          std::uint32_t version);

// The same calls, telling through `intact` whether the record really went through: for a
// translated tag, whether the host gave or took every source record, which the answer itself
// does not say; for any other tag, whether the host answered success. For callers that must not
// go on with a record that only looked loaded or saved.
std::int16_t CheckedLoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                              std::uint32_t version, bool& intact);
std::int16_t CheckedSaveEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                              std::uint32_t version, bool& intact);
