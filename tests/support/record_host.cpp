#include "tests/support/record_host.h"

#include <algorithm>
#include <cstring>

#include "host/module/module_state.h"
#include "host/services/nx_services.h"

namespace quortest {

const Bytes* RecordHost::Find(std::uint32_t tag, std::int16_t item, std::int16_t incidence) const {
    auto it = records.find({tag, item, incidence});
    return it == records.end() ? nullptr : &it->second;
}

void RecordHost::Put(std::uint32_t tag, std::int16_t item, std::int16_t incidence, Bytes bytes) {
    records[{tag, item, incidence}] = std::move(bytes);
}

std::int16_t RecordHost::LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                   std::int32_t* size, std::uint32_t) {
    auto it = records.find({tag, key->item, key->incidence});
    if (it == records.end() || size == nullptr) return 0;
    const auto copied = std::min<std::size_t>(it->second.size(), static_cast<std::size_t>(*size));
    *size = static_cast<std::int32_t>(copied);
    if (buffer != nullptr) std::memcpy(buffer, it->second.data(), copied);
    return 1;
}

std::int16_t RecordHost::SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                   std::int32_t size, std::uint32_t) {
    savedKeys.emplace_back(tag, *key);
    const RecordId id{tag, key->item, key->incidence};
    if (buffer == nullptr || size < 0) return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    records[id] = Bytes(bytes, bytes + size);
    return 1;
}

std::int16_t RecordHost::CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                     std::int32_t size, std::uint32_t version) {
    std::int16_t item = 1;
    for (const auto& [id, bytes] : records) {
        if (std::get<0>(id) == tag) item = std::max<std::int16_t>(item, std::get<1>(id) + 1);
    }
    key->item = item;
    key->incidence = 0;
    return SaveEData(tag, key, buffer, size, version);
}

std::int16_t RecordHost::DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t) {
    return records.erase({tag, key->item, key->incidence}) ? 1 : 0;
}

std::int16_t RecordHost::NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t) {
    auto it = records.upper_bound({tag, key->item, key->incidence});
    if (it == records.end() || std::get<0>(it->first) != tag) return 0;
    key->item = std::get<1>(it->first);
    key->incidence = std::get<2>(it->first);
    return 1;
}

std::int16_t RecordHost::SlotToInst(std::int16_t slot, std::int16_t) {
    auto it = instrumentsBySlot.find(slot);
    return it == instrumentsBySlot.end() ? 0 : it->second;
}

void RecordHost::GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                                NXRegionRecord* second) {
    if (scratch) *scratch = 1;
    if (first) *first = selection;
    if (second) *second = selection;
}

void RecordHost::ExecuteMenuItem(std::int32_t command) {
    if (onCommand) onCommand(command);
}

RecordHostTest::RecordHostTest() {
    nx::ResetBindings();
    ResetModuleState();
    host_.emplace(faults);
}

RecordHostTest::~RecordHostTest() {
    host_.reset();
    nx::ResetBindings();
    ResetModuleState();
}

std::vector<simhost::ServiceCall> RecordHostTest::CallsOf(const std::string& service,
                                                          std::optional<std::uint32_t> tag) {
    std::vector<simhost::ServiceCall> calls;
    for (const auto& call : host_->Services().Journal().Calls()) {
        if (call.service != service) continue;
        if (tag && (call.args.empty() || call.args[0] != static_cast<std::int64_t>(*tag))) continue;
        calls.push_back(call);
    }
    return calls;
}

}  // namespace quortest
