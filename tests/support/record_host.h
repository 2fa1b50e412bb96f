// A small in-memory host for the extension's data-layer tests: records keyed by tag, item and
// incidence, with failures and odd size reports that a test can inject, and hooks for the
// selection and the respacing command.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "tests/support/host_fixture.h"

namespace quortest {

using Bytes = std::vector<std::uint8_t>;
using RecordId = std::tuple<std::uint32_t, std::int16_t, std::int16_t>;

class RecordHost : public ScriptedBackend {
public:
    std::map<RecordId, Bytes> records;
    std::set<RecordId> failLoads;
    std::set<RecordId> failSaves;
    std::set<RecordId> failDeletes;
    // When set, a successful load reports this many bytes, whatever it copied.
    std::optional<std::int32_t> reportedLoadSize;
    // The same for single records, before reportedLoadSize; the load copies no more than it
    // reports.
    std::map<RecordId, std::int32_t> reportedSizes;
    // When set, rewrites the key a successful load hands back (its reserved bytes, say).
    std::function<void(std::uint32_t tag, NXRecordKey& key)> rewriteLoadedKey;
    // The tag and key of every save, as the caller gave them.
    std::vector<std::pair<std::uint32_t, NXRecordKey>> savedKeys;
    NXRegionRecord selection{};
    std::map<std::int16_t, std::int16_t> instrumentsBySlot;
    std::function<void(std::int32_t)> onCommand;

    const Bytes* Find(std::uint32_t tag, std::int16_t item, std::int16_t incidence = 0) const;
    void Put(std::uint32_t tag, std::int16_t item, std::int16_t incidence, Bytes bytes);

    std::int16_t LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                           std::uint32_t version) override;
    std::int16_t SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                           std::int32_t size, std::uint32_t version) override;
    std::int16_t CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                             std::int32_t size, std::uint32_t version) override;
    std::int16_t DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override;
    std::int16_t NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override;
    std::int16_t SlotToInst(std::int16_t slot, std::int16_t slotKey) override;
    void GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                        NXRegionRecord* second) override;
    std::int16_t GetCurrentOstrinDocument() override { return 1; }
    void ExecuteMenuItem(std::int32_t command) override;
};

// A test over a RecordHost installed as the host.
class RecordHostTest : public ::testing::Test {
protected:
    RecordHostTest();
    ~RecordHostTest() override;

    simhost::ServiceJournal& Journal() { return host_->Services().Journal(); }
    simhost::ServiceLayer& Services() { return host_->Services(); }
    // The journalled calls of one service (and, when given, one tag), in order.
    std::vector<simhost::ServiceCall> CallsOf(const std::string& service,
                                              std::optional<std::uint32_t> tag = {});

    RecordHost store;

private:
    std::optional<simhost::headless::HeadlessHost> host_;
};

}  // namespace quortest
