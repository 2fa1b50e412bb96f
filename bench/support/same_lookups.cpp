#include "bench/support/same_lookups.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quorbench {

namespace {

constexpr std::array<std::string_view, 5> kRecordServices = {
    "NX_LoadEData", "NX_SaveEData", "NX_CreateEData", "NX_DeleteEData", "NX_NextEData"};

bool IsRecordCall(const simhost::ServiceCall& call) {
    return call.args.size() >= 3 && std::find(kRecordServices.begin(), kRecordServices.end(),
                                              call.service) != kRecordServices.end();
}

}  // namespace

std::vector<simhost::RecordId> RecordKeysOf(const simhost::ServiceJournal& journal,
                                            std::size_t count) {
    const auto& calls = journal.Calls();
    const auto first = calls.end() - static_cast<std::ptrdiff_t>(std::min(count, calls.size()));
    std::vector<simhost::RecordId> keys;
    for (auto call = first; call != calls.end(); ++call) {
        if (!IsRecordCall(*call)) continue;
        // Journalled as tag, item number, incidence, ...
        keys.push_back(simhost::RecordId{static_cast<std::uint32_t>(call->args[0]),
                                         static_cast<std::int16_t>(call->args[1]),
                                         static_cast<std::int16_t>(call->args[2])});
    }
    return keys;
}

// Not inlined into the timing, so that the compiler cannot hoist lookups out of it.
[[gnu::noinline]] std::size_t LookUpAll(const simhost::RecordStore& store,
                                        const std::vector<simhost::RecordId>& keys) {
    std::size_t found = 0;
    for (const simhost::RecordId& key : keys) found += store.Find(key) != nullptr ? 1 : 0;
    return found;
}

std::chrono::nanoseconds TimeLookups(const simhost::RecordStore& store,
                                     const std::vector<simhost::RecordId>& keys) {
    const auto start = std::chrono::steady_clock::now();
    volatile std::size_t found = LookUpAll(store, keys);
    static_cast<void>(found);
    return std::chrono::steady_clock::now() - start;
}

std::vector<HostLoad> LoadsOf(const simhost::ServiceJournal& journal, std::size_t count) {
    const auto& calls = journal.Calls();
    const auto first = calls.end() - static_cast<std::ptrdiff_t>(std::min(count, calls.size()));
    std::vector<HostLoad> loads;
    for (auto call = first; call != calls.end(); ++call) {
        // Journalled as tag, item number, incidence, capacity, version.
        if (call->service != "NX_LoadEData" || call->args.size() != 5) continue;
        loads.push_back(HostLoad{
            {static_cast<std::uint32_t>(call->args[0]), static_cast<std::int16_t>(call->args[1]),
             static_cast<std::int16_t>(call->args[2])},
            static_cast<std::int32_t>(call->args[3]),
            static_cast<std::uint32_t>(call->args[4])});
    }
    return loads;
}

std::chrono::nanoseconds TimeHostLoads(const simhost::ServiceLayer& services,
                                       const std::vector<HostLoad>& loads) {
    using LoadService =
        std::int16_t (*)(std::uint32_t, NXRecordKey*, void*, std::int32_t*, std::uint32_t);
    const auto load = reinterpret_cast<LoadService>(services.Resolve("NX_LoadEData"));
    if (load == nullptr) return std::chrono::nanoseconds{0};
    std::array<std::uint8_t, 256> buffer{};
    const auto start = std::chrono::steady_clock::now();
    for (const HostLoad& each : loads) {
        NXRecordKey key{each.id.item, each.id.incidence, {}};
        std::int32_t size = std::min<std::int32_t>(each.capacity, buffer.size());
        load(each.id.tag, &key, buffer.data(), &size, each.version);
    }
    return std::chrono::steady_clock::now() - start;
}

std::chrono::nanoseconds Median(std::vector<std::chrono::nanoseconds> times) {
    if (times.empty()) return std::chrono::nanoseconds{0};
    const std::size_t middle = times.size() / 2;
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(middle),
                     times.end());
    const std::chrono::nanoseconds upper = times[middle];
    if (times.size() % 2 != 0) return upper;
    const std::chrono::nanoseconds lower =
        *std::max_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

}  // namespace quorbench
