#include "framework/data/measure.h"

#include <gtest/gtest.h>

#include <ostream>

#include "host/services/host_version.h"
#include "tests/support/record_host.h"
#include "tests/support/row_name.h"

namespace {

using quortest::Bytes;
using quortest::RecordHostTest;

class MeasureTest : public RecordHostTest {
protected:
    // A stored measure record of `size` bytes: the width, then bytes 2, 3, 4, ...
    void PutMeasure(std::int16_t item, std::int16_t width, std::size_t size = 30) {
        Bytes bytes(size);
        bytes[0] = static_cast<std::uint8_t>(width & 0xFF);
        bytes[1] = static_cast<std::uint8_t>(width >> 8);
        for (std::size_t i = 2; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i);
        store.Put(kTagMeasure, item, 0, bytes);
    }

    NCMusicRegion Selecting(std::int16_t start, std::int16_t end) {
        store.selection.startMeasure = start;
        store.selection.endMeasure = end;
        NCMusicRegion region;
        region.CaptureSelection();
        return region;
    }

    std::vector<std::int16_t> Items(const NCMeasures& measures) {
        std::vector<std::int16_t> items;
        for (int i = 0; i < measures.Count(); ++i) items.push_back(measures.MeasureAt(i)->ItemNo());
        return items;
    }
};

struct LayoutCase {
    std::uint32_t hostVersion;
    std::uint32_t dataVersion;
    std::uint32_t size;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << "host " << quortest::Hex(c.hostVersion) << " data " << quortest::Hex(c.dataVersion);
}

class MeasureLayout : public MeasureTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(MeasureLayout, TheHostVersionChoosesTheLayout) {
    nx::SetHostVersion(GetParam().hostVersion);
    PutMeasure(2, 300);
    NCMeasure measure;
    ASSERT_TRUE(measure.Load(2));
    EXPECT_EQ(measure.DataVersion(), GetParam().dataVersion);
    EXPECT_EQ(measure.LoadedSize(), GetParam().size);
    EXPECT_EQ(measure.Width(), 300);
    const auto loads = CallsOf("NX_LoadEData");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].args, (std::vector<std::int64_t>{kTagMeasure, 2, 0, GetParam().size,
                                                        GetParam().dataVersion}));
}

INSTANTIATE_TEST_SUITE_P(Versions, MeasureLayout,
                         ::testing::Values(LayoutCase{0x10000000, 0x0A000000, 26},
                                           LayoutCase{0x11FFFFFF, 0x0A000000, 26},
                                           LayoutCase{0x12000000, 0x12000000, 30},
                                           LayoutCase{0x12050000, 0x12000000, 30}),
                         quortest::RowName{});

TEST_F(MeasureTest, SetWidthThenSaveChangesOnlyTheWidth) {
    PutMeasure(4, 250);
    NCMeasure measure;
    ASSERT_TRUE(measure.Load(4));
    Bytes expected = *store.Find(kTagMeasure, 4);
    measure.SetWidth(-2);
    ASSERT_TRUE(measure.Save());
    expected[0] = 0xFE;
    expected[1] = 0xFF;
    EXPECT_EQ(*store.Find(kTagMeasure, 4), expected);
}

TEST_F(MeasureTest, MeasureZeroIsRefusedWithoutAHostCall) {
    PutMeasure(0, 100);
    NCMeasure measure;
    EXPECT_FALSE(measure.Load(0));
    EXPECT_TRUE(Journal().Calls().empty());
}

TEST_F(MeasureTest, LoadRegionHoldsTheMeasuresThatLoadInOrder) {
    for (std::int16_t m = 1; m <= 6; ++m) PutMeasure(m, static_cast<std::int16_t>(100 + m));
    store.records.erase({kTagMeasure, 4, 0});
    NCMeasures measures;
    measures.LoadRegion(Selecting(3, 5));
    EXPECT_EQ(Items(measures), (std::vector<std::int16_t>{3, 5}));
    EXPECT_EQ(measures.MeasureAt(1)->Width(), 105);

    measures.LoadRegion(Selecting(0, 2));  // not empty: measure 0 is refused, 1 and 2 load
    EXPECT_EQ(Items(measures), (std::vector<std::int16_t>{1, 2}));

    Journal().Clear();
    measures.LoadRegion(Selecting(0, 0));
    EXPECT_EQ(measures.Count(), 0);
    EXPECT_TRUE(CallsOf("NX_LoadEData").empty());

    measures.LoadRegion(Selecting(5, 3));
    EXPECT_EQ(measures.Count(), 0);
}

TEST_F(MeasureTest, LoadRegionTellsWhetherEveryMeasureThatLoadedCameWhole) {
    for (std::int16_t m = 1; m <= 4; ++m) PutMeasure(m, 100);
    store.records.erase({kTagMeasure, 2, 0});
    NCMeasures measures;
    bool whole = false;
    measures.LoadRegion(Selecting(1, 4), whole);
    EXPECT_TRUE(whole);  // a measure that does not load is skipped, not short
    // The 26 bytes of the short layout, on a host that uses the long one.
    faults.reportedSizes[{kTagMeasure, 3, 0}] = 26;
    measures.LoadRegion(Selecting(1, 4), whole);
    EXPECT_EQ(Items(measures), (std::vector<std::int16_t>{1, 3, 4}));
    EXPECT_FALSE(whole);
}

TEST_F(MeasureTest, CopiesAreIndependentOfTheLoader) {
    PutMeasure(1, 111);
    PutMeasure(2, 222);
    NCMeasures measures;
    measures.LoadRegion(Selecting(1, 2));
    ASSERT_EQ(measures.Count(), 2);
    EXPECT_EQ(measures.MeasureAt(0)->Width(), 111);
    EXPECT_EQ(measures.MeasureAt(1)->Width(), 222);
    EXPECT_EQ(measures.MeasureAt(0)->LoadedSize(), 30u);
}

TEST_F(MeasureTest, IsSameRegionComparesStavesByInstrument) {
    store.instrumentsBySlot = {{1, 10}, {2, 20}, {3, 10}};
    store.selection = NXRegionRecord{0, 1, 3, 0, 0, 2, 5, 1024};
    NCMusicRegion first;
    first.CaptureSelection();
    NCMusicRegion again;
    again.CaptureSelection();
    EXPECT_TRUE(first.IsSameRegion(&again));

    store.selection.startSlot = 3;  // another slot, the same instrument
    NCMusicRegion sameInstrument;
    sameInstrument.CaptureSelection();
    EXPECT_TRUE(first.IsSameRegion(&sameInstrument));

    store.selection.startMeasure = 4;
    NCMusicRegion moved;
    moved.CaptureSelection();
    EXPECT_FALSE(first.IsSameRegion(&moved));
    EXPECT_FALSE(first.IsSameRegion(nullptr));
}

TEST_F(MeasureTest, CaptureWithoutTheSelectionServiceIsEmpty) {
    Services().SetAbsent("NX_GetCurERegions");
    store.selection.startMeasure = 3;
    NCMusicRegion region;
    region.CaptureSelection();
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_EQ(region.Document(), 1);
}

}  // namespace
