// Two captures name the same region only when every part of the selection matches; the staves
// are compared by the instruments in them, so that a staff moved to another slot is the same.
#include <gtest/gtest.h>

#include <functional>

#include "framework/data/music_region.h"
#include "tests/support/record_host.h"

namespace {

using quortest::RecordHostTest;

struct Difference {
    const char* what;
    std::function<void(NXRegionRecord&)> change;
    bool sameRegion;
};

void PrintTo(const Difference& c, std::ostream* os) { *os << c.what; }

// Staves 1 to 4: slots 1 and 3 hold instrument 10, slot 2 holds 20, slot 4 holds 30.
const NXRegionRecord kSelection{0, 1, 3, 512, 0, 2, 5, 1024};

class RegionIdentity : public RecordHostTest, public ::testing::WithParamInterface<Difference> {
protected:
    RegionIdentity() { store.instrumentsBySlot = {{1, 10}, {2, 20}, {3, 10}, {4, 30}}; }

    NCMusicRegion Capture(const NXRegionRecord& selection) {
        store.selection = selection;
        NCMusicRegion region;
        region.CaptureSelection();
        return region;
    }
};

TEST_P(RegionIdentity, OnlyTheSlotOfAnUnchangedInstrumentMayDiffer) {
    const NCMusicRegion first = Capture(kSelection);
    NXRegionRecord changed = kSelection;
    GetParam().change(changed);
    const NCMusicRegion second = Capture(changed);
    EXPECT_EQ(first.IsSameRegion(&second), GetParam().sameRegion) << GetParam().what;
    EXPECT_EQ(second.IsSameRegion(&first), GetParam().sameRegion) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Selections, RegionIdentity,
    ::testing::Values(
        Difference{"nothing", [](NXRegionRecord&) {}, true},
        Difference{"the start staff's slot, same instrument",
                   [](NXRegionRecord& r) { r.startSlot = 3; }, true},
        Difference{"the start staff's instrument", [](NXRegionRecord& r) { r.startSlot = 2; },
                   false},
        Difference{"the end staff's instrument", [](NXRegionRecord& r) { r.endSlot = 4; }, false},
        Difference{"the start slot's key", [](NXRegionRecord& r) { r.startSlotKey = 7; }, false},
        Difference{"the end measure", [](NXRegionRecord& r) { r.endMeasure = 6; }, false},
        Difference{"the start position", [](NXRegionRecord& r) { r.startPosition = 0; }, false},
        Difference{"the end position", [](NXRegionRecord& r) { r.endPosition = 2048; }, false}));

}  // namespace
