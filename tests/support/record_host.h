// A small in-memory host for the extension's data-layer tests: records keyed by tag, item and
// incidence that answer honestly, and hooks for the selection and the respacing command. The
// tests reach it through the fault layer, whose knobs make it refuse, misreport or bend keys.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "tests/faults/fault_layer.h"
#include "tests/support/host_fixture.h"

namespace quortest {

using Bytes = std::vector<std::uint8_t>;
using quorfaults::RecordId;

class RecordHost : public ScriptedBackend {
public:
    std::map<RecordId, Bytes> records;
    // The tag and key of every save, as the caller gave them.
    std::vector<std::pair<std::uint32_t, NXRecordKey>> savedKeys;
    NXRegionRecord selection{};
    std::map<std::int16_t, std::int16_t> instrumentsBySlot;
    std::function<void(std::int32_t)> onCommand;

    const Bytes* Find(std::uint32_t tag, std::int16_t item, std::int16_t incidence = 0) const;
    void Put(std::uint32_t tag, std::int16_t item, std::int16_t incidence, Bytes bytes);

    SIMHOST_RECORD_OVERRIDES
    std::int16_t SlotToInst(std::int16_t slot, std::int16_t slotKey) override;
    void GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                        NXRegionRecord* second) override;
    std::int16_t GetCurrentOstrinDocument() override { return 1; }
    void ExecuteMenuItem(std::int32_t command) override;
};

// A test over a RecordHost, behind a fault layer, installed as the host.
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
    quorfaults::FaultLayer faults{store};

private:
    std::optional<simhost::headless::HeadlessHost> host_;
};

}  // namespace quortest
