#include "framework/data/allotment.h"

#include <gtest/gtest.h>

#include "host/services/nx_services.h"
#include "tests/support/record_host.h"

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
    for (int item = 0; item <= 0xFFFF; ++item) {
        store.Put(kTagAllotment, static_cast<std::int16_t>(item), 0, Bytes(12, 0));
    }
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 65536);
    EXPECT_EQ(allotments.AllotmentAt(65535)->ItemNo(), -1);
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

TEST_F(AllotmentTest, DeleteAllAllotmentsLeavesNoneAndIgnoresFailures) {
    for (const std::int16_t d : {0, 128, 1024}) PutAllotment(d, 1);
    DeleteAllAllotments();
    NCAllotments allotments;
    EXPECT_EQ(allotments.LoadAll(), 0);
    EXPECT_EQ(CallsOf("NX_DeleteEData").size(), 3u);

    Services().SetAbsent("NX_DeleteEData");
    nx::ResetBindings();
    PutAllotment(256, 1);
    DeleteAllAllotments();  // nothing can be deleted; nothing breaks either
    EXPECT_NE(store.Find(kTagAllotment, 256), nullptr);
}

}  // namespace
