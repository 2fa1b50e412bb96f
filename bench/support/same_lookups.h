// The other floor a run is compared with: the same lookups made bare. A run's record calls name
// keys of the host's record store; looking each of them up in that store directly, in the run's
// order, is the least any host could do to answer them. What a run takes beyond that is the
// extension's own work, the service layer's and the host's respacing.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "simhost/document/record_store.h"
#include "simhost/services/service_layer.h"

namespace quorbench {

// The keys of the record calls (load, save, create, delete, next) among the last `count` journal
// entries, in call order. Other services name no record and add nothing.
std::vector<simhost::RecordId> RecordKeysOf(const simhost::ServiceJournal& journal,
                                            std::size_t count);

// Looks every key up in `store`, in order; answers how many were there, so that the lookups
// cannot be left out.
std::size_t LookUpAll(const simhost::RecordStore& store,
                      const std::vector<simhost::RecordId>& keys);

// The time of one LookUpAll.
std::chrono::nanoseconds TimeLookups(const simhost::RecordStore& store,
                                     const std::vector<simhost::RecordId>& keys);

// The run's loads sent straight to the host's own NX_LoadEData, without the extension in
// between: how much of a run the host's service path takes by itself. Each load is given the
// capacity and data version the run gave it.
struct HostLoad {
    simhost::RecordId id;
    std::int32_t capacity = 0;
    std::uint32_t version = 0;
};
std::vector<HostLoad> LoadsOf(const simhost::ServiceJournal& journal, std::size_t count);
std::chrono::nanoseconds TimeHostLoads(const simhost::ServiceLayer& services,
                                       const std::vector<HostLoad>& loads);

// The middle of a set of timings (the mean of the two middle ones for an even count): a shared
// machine's stray slow runs do not move it.
std::chrono::nanoseconds Median(std::vector<std::chrono::nanoseconds> times);

}  // namespace quorbench
