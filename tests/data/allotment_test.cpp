#include "framework/data/allotment.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "host/services/nx_services.h"
#include "tests/support/record_host.h"
#include "tests/support/row_name.h"

namespace {

using quortest::Bytes;
using quortest::RecordHostTest;

class AllotmentTest : public RecordHostTest {
protected:
    void PutAllotment(std::int16_t duration, std::int16_t width) {
        Bytes bytes(12, 0x5C);
        bytes[0] = static_cast<std::uint8_t>(width & 0xFF);
        bytes[1] = static_cast<std::uint8_t>(width >> 8);
        store.Put(kTagAllotment, duration, 0, bytes);
    }

    std::vector<std::int16_t> Durations(const NCAllotments& allotments) {
        std::vector<std::int16_t> durations;
        for (int i = 0; i < allotments.Count(); ++i) {
            durations.push_back(allotments.AllotmentAt(i)->ItemNo());
        }
        return durations;
    }
};

TEST_F(AllotmentTest, AnEmptyDocumentCostsOneProbePerItemNumberUpTo8193) {
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 0);
    const auto probes = CallsOf("NX_LoadEData", kTagAllotment);
    ASSERT_EQ(probes.size(), 8194u);
    EXPECT_EQ(probes.front().args[1], 0);
    EXPECT_EQ(probes.back().args[1], 8193);
    EXPECT_EQ(probes.back().args.back(), 0x12050000);
}

TEST_F(AllotmentTest, TheScanFindsRecordsInAscendingDurationAndProbesEachNumberOnce) {
    for (const std::int16_t d : {4096, 0, 1024, 96, 8192, 8193}) PutAllotment(d, 10);
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 6);
    EXPECT_EQ(Durations(allotments), (std::vector<std::int16_t>{0, 96, 1024, 4096, 8192, 8193}));
    // 0..8194: 8194 is the first failing probe above 8192.
    EXPECT_EQ(CallsOf("NX_LoadEData", kTagAllotment).size(), 8195u);
}

TEST_F(AllotmentTest, RecordsAbove8193AreFoundOnlyWhenEveryNumberBeforeThemHoldsOne) {
    PutAllotment(8194, 1);
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 0);
    PutAllotment(8193, 1);
    EXPECT_EQ(allotments.LoadAll(), 2);
    EXPECT_EQ(Durations(allotments), (std::vector<std::int16_t>{8193, 8194}));
}

TEST_F(AllotmentTest, TheScanNeverWrapsPastTheLastItemNumber) {
    // A record at every item number: the scan must end after 65536 records, not start over.
    // Nothing here reads the journal, which would keep each of the 65536 calls.
    Journal().SetEnabled(false);
    for (int item = 0; item <= 0xFFFF; ++item) {
        store.Put(kTagAllotment, static_cast<std::int16_t>(item), 0, Bytes(12, 0));
    }
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 65536);
    EXPECT_EQ(allotments.AllotmentAt(65535)->ItemNo(), -1);
}

TEST_F(AllotmentTest, TheScanTellsOfARecordFoundShort) {
    for (const std::int16_t d : {0, 512, 1024}) PutAllotment(d, 300);
    NCAllotments allotments;
    bool whole = false;
    EXPECT_EQ(allotments.LoadAll(whole), 3);
    EXPECT_TRUE(whole);
    // The width's low byte alone.
    faults.reportedSizes[{kTagAllotment, 512, 0}] = 1;
    EXPECT_EQ(allotments.LoadAll(whole), 3);
    EXPECT_FALSE(whole);
}

TEST_F(AllotmentTest, ANewAllotmentSavesItsWidthAndTenZeroBytes) {
    ASSERT_TRUE(WriteAllotment(1024, 84));
    EXPECT_EQ(*store.Find(kTagAllotment, 1024), (Bytes{84, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    const auto saves = CallsOf("NX_SaveEData");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].args, (std::vector<std::int64_t>{kTagAllotment, 1024, 0, 12, 0x12050000}));
}

TEST_F(AllotmentTest, ALoadedAllotmentSavesItsBytesUnchanged) {
    PutAllotment(512, 61);
    const Bytes before = *store.Find(kTagAllotment, 512);
    NCAllotments allotments;
    allotments.LoadAll();
    ASSERT_EQ(allotments.Count(), 1);
    EXPECT_EQ(allotments.AllotmentAt(0)->Width(), 61);
    store.records.clear();
    ASSERT_TRUE(allotments.SaveAll());
    EXPECT_EQ(*store.Find(kTagAllotment, 512), before);
}

TEST_F(AllotmentTest, DeleteAllAllotmentsLeavesNone) {
    for (const std::int16_t d : {0, 128, 1024}) PutAllotment(d, 1);
    EXPECT_TRUE(DeleteAllAllotments());
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 0);
    EXPECT_EQ(CallsOf("NX_DeleteEData").size(), 3u);
    EXPECT_TRUE(DeleteAllAllotments());  // none to delete is no refusal
}

TEST_F(AllotmentTest, DeleteAllAllotmentsAsksForEveryRecordAndTellsOfARefusal) {
    for (const std::int16_t d : {0, 128, 1024}) PutAllotment(d, 1);
    faults.refusedDeletes = {{kTagAllotment, 128, 0}};
    EXPECT_FALSE(DeleteAllAllotments());
    EXPECT_EQ(CallsOf("NX_DeleteEData").size(), 3u);
    EXPECT_EQ(store.Find(kTagAllotment, 0), nullptr);
    EXPECT_NE(store.Find(kTagAllotment, 128), nullptr);
    EXPECT_EQ(store.Find(kTagAllotment, 1024), nullptr);

    Services().SetAbsent("NX_DeleteEData");
    nx::ResetBindings();
    PutAllotment(256, 1);
    EXPECT_FALSE(DeleteAllAllotments());  // a host without the service deletes nothing
    EXPECT_NE(store.Find(kTagAllotment, 256), nullptr);
}

TEST_F(AllotmentTest, WithoutTheHostsLoadTheScanFindsNothingAndCallsNothing) {
    PutAllotment(0, 1);
    PutAllotment(1024, 2);
    Services().SetAbsent("NX_LoadEData");
    nx::ResetBindings();
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 0);
    EXPECT_TRUE(CallsOf("NX_LoadEData").empty());
}

// The scan against the record layer's generic load: a record of the same tag, version and size
// that probes the same item numbers through the virtual Load(item), as any other record would.
class GenericAllotment : public __NCNoInciOther {
public:
    GenericAllotment() {
        SetData(buffer_.data());
        SetLoadedSize(kAllotmentSize);
    }
    std::uint8_t* DataBuffer() override { return buffer_.data(); }
    __NCBaseData* CreateObject() const override { return new GenericAllotment; }
    std::uint32_t DataTag() const override { return kTagAllotment; }
    std::uint32_t DataVersion() const override { return kAllotmentVersion; }
    std::uint32_t DataSize() const override { return kAllotmentSize; }
    void CopyFrom(const __NCBaseData* /*other*/) override {}
    bool LoadFirst() override { return ProbeFrom(0); }
    bool LoadNext() override { return ProbeFrom(static_cast<std::uint16_t>(ItemNo()) + 1u); }

private:
    bool ProbeFrom(std::uint32_t first) {
        for (std::uint32_t item = first; item <= 0xFFFF; ++item) {
            if (Load(static_cast<std::int16_t>(item))) return true;
            if (item > kLastProbedDuration) return false;
        }
        return false;
    }

    std::array<std::uint8_t, kAllotmentSize> buffer_{};
};

// What a loader holds after each step of a scan: LoadFirst, then LoadNext until it fails.
struct ScanStep {
    bool found;
    std::int16_t item;
    std::int16_t incidence;
    std::array<std::uint8_t, 4> reserved;
    std::uint32_t loadedSize;
    Bytes data;

    bool operator==(const ScanStep&) const = default;
};

std::vector<ScanStep> Scan(__NCBaseData& loader) {
    std::vector<ScanStep> steps;
    bool found = loader.LoadFirst();
    for (;;) {
        const NXRecordKey& key = loader.Key();
        steps.push_back({found,
                         key.item,
                         key.incidence,
                         {key.reserved[0], key.reserved[1], key.reserved[2], key.reserved[3]},
                         loader.LoadedSize(),
                         Bytes(loader.Data(), loader.Data() + kAllotmentSize)});
        if (!found) return steps;
        found = loader.LoadNext();
    }
}

struct HostCase {
    const char* name;
    std::function<void(quortest::RecordHost&, quorfaults::FaultLayer&)> prepare;
};

void PrintTo(const HostCase& c, std::ostream* os) { *os << c.name; }

class ScanAgainstGenericLoad : public AllotmentTest,
                               public ::testing::WithParamInterface<HostCase> {};

TEST_P(ScanAgainstGenericLoad, MakesTheSameCallsAndLeavesTheSameRecord) {
    GetParam().prepare(store, faults);
    NCAllotment allotment;
    const std::vector<ScanStep> scanned = Scan(allotment);
    const std::vector<simhost::ServiceCall> calls = Journal().Calls();
    Journal().Clear();
    GenericAllotment generic;
    EXPECT_EQ(scanned, Scan(generic));
    ASSERT_EQ(calls.size(), Journal().Calls().size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].service, Journal().Calls()[i].service) << "call " << i;
        EXPECT_EQ(calls[i].args, Journal().Calls()[i].args) << "call " << i;
    }
}

void Put(quortest::RecordHost& host, std::initializer_list<std::int16_t> items) {
    std::uint8_t fill = 1;
    for (const std::int16_t item : items) host.Put(kTagAllotment, item, 0, Bytes(12, fill++));
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, ScanAgainstGenericLoad,
    ::testing::Values(
        HostCase{"odd_item_numbers",
                 [](auto& h, auto&) {
                     Put(h, {1, 3, 4095, 8191, 8193, 8194});
                 }},
        HostCase{"refused_loads",
                 [](auto& h, auto& faults) {
                     Put(h, {0, 7, 9, 8193});
                     faults.refusedLoads = {{kTagAllotment, 7, 0}, {kTagAllotment, 8193, 0}};
                 }},
        HostCase{"oversized_reports",
                 [](auto& h, auto& faults) {
                     Put(h, {5, 600});
                     faults.reportSize = quorfaults::Reports(40);
                 }},
        HostCase{"short_reports",
                 [](auto& h, auto& faults) {
                     Put(h, {5, 600});
                     faults.reportSize = quorfaults::Reports(4);
                 }},
        HostCase{"negative_reports",
                 [](auto& h, auto& faults) {
                     Put(h, {5});
                     faults.reportSize = quorfaults::Reports(-3);
                 }},
        HostCase{"bent_keys",
                 [](auto& h, auto& faults) {
                     Put(h, {10, 20, 30});
                     // The host moves the key on and marks it: the next probe starts
                     // after the moved item number, with incidence 0 again and the
                     // marks kept.
                     faults.rewriteKey = [](nx::Service, std::uint32_t, NXRecordKey& key) {
                         key.item = static_cast<std::int16_t>(key.item + 5);
                         key.incidence = 3;
                         key.reserved[1] = 0xA5;
                     };
                 }}),
    quortest::RowName{});

}  // namespace
