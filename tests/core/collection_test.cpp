#include <gtest/gtest.h>

#include <vector>

#include "framework/core/nc_collection.h"
#include "framework/core/nc_string.h"
#include "framework/core/undo_block.h"
#include "tests/support/row_name.h"

namespace {

// An item that counts its destructions.
class Tracked : public __NCBase {
public:
    explicit Tracked(int& destroyed) : destroyed_(destroyed) {}
    ~Tracked() override { ++destroyed_; }

private:
    int& destroyed_;
};

// Records what the walks hand it; Visit stops after `stopAfter` items.
class Recorder : public NCIterationHandler {
public:
    int stopAfter = -1;
    __NCBase* sought = nullptr;
    std::vector<__NCBase*> visited;
    std::vector<int> indexes;

    bool Visit(__NCBase* item) override {
        visited.push_back(item);
        return stopAfter < 0 || static_cast<int>(visited.size()) < stopAfter + 1;
    }
    bool VisitIndexed(__NCBase* item, int index) override {
        visited.push_back(item);
        indexes.push_back(index);
        return true;
    }
    bool Matches(__NCBase* item) override {
        visited.push_back(item);
        return item == sought;
    }
};

struct GrowthCase {
    int appends;
    int capacity;
};

void PrintTo(const GrowthCase& c, std::ostream* os) { *os << c.appends << " appends"; }

class CollectionGrowth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(CollectionGrowth, AppendsGrowCapacityInStepsOfTen) {
    __NCCollection collection;
    for (int i = 0; i < GetParam().appends; ++i) collection.Append(new __NCBase);
    EXPECT_EQ(collection.Count(), GetParam().appends);
    EXPECT_EQ(collection.Capacity(), GetParam().capacity);
}

INSTANTIATE_TEST_SUITE_P(Appends, CollectionGrowth,
                         ::testing::Values(GrowthCase{0, 0}, GrowthCase{1, 10}, GrowthCase{9, 10},
                                           GrowthCase{10, 10}, GrowthCase{11, 20},
                                           GrowthCase{20, 20}, GrowthCase{21, 30}),
                         quortest::RowName{});

TEST(Collection, ReserveMakesRoomForTheNextMultipleOfTenAboveCountPlusN) {
    __NCCollection collection;
    collection.Reserve(10);
    EXPECT_EQ(collection.Capacity(), 20);
    collection.Reserve(20);  // count 0 + 20 fits exactly: no growth
    EXPECT_EQ(collection.Capacity(), 20);
    collection.Reserve(25);
    EXPECT_EQ(collection.Capacity(), 30);
}

TEST(Collection, GrowingKeepsItemsInTheirSlots) {
    __NCCollection collection;
    std::vector<__NCBase*> items;
    for (int i = 0; i < 25; ++i) {
        items.push_back(new __NCBase);
        collection.Append(items.back());
    }
    for (int i = 0; i < 25; ++i) EXPECT_EQ(collection.ItemAt(i), items[i]) << i;
}

TEST(Collection, ItemAtOutsideTheItemsIsNull) {
    __NCCollection empty;
    EXPECT_EQ(empty.ItemAt(0), nullptr);
    EXPECT_EQ(empty.ItemAt(-1), nullptr);

    __NCCollection collection;
    collection.Append(new __NCBase);
    EXPECT_NE(collection.ItemAt(0), nullptr);
    EXPECT_EQ(collection.ItemAt(-1), nullptr);
    EXPECT_EQ(collection.ItemAt(collection.Count()), nullptr);
    EXPECT_EQ(collection.ItemAt(5), nullptr);  // inside the capacity, beyond the count
}

TEST(Collection, DeleteAllDestroysItemsButKeepsTheArray) {
    int destroyed = 0;
    __NCCollection collection;
    for (int i = 0; i < 3; ++i) collection.Append(new Tracked(destroyed));
    collection.DeleteAll();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(collection.Count(), 0);
    EXPECT_EQ(collection.Capacity(), 10);
    collection.Append(new Tracked(destroyed));
    EXPECT_EQ(collection.Capacity(), 10);
    EXPECT_EQ(collection.Count(), 1);
}

TEST(Collection, DestructorDestroysEveryItem) {
    int destroyed = 0;
    {
        __NCCollection collection;
        for (int i = 0; i < 12; ++i) collection.Append(new Tracked(destroyed));
        collection.Append(nullptr);
    }
    EXPECT_EQ(destroyed, 12);
}

TEST(Collection, NullSlotsAreSkippedButAdvanceTheIndex) {
    __NCCollection collection;
    auto* first = new __NCBase;
    auto* third = new __NCBase;
    collection.Append(first);
    collection.Append(nullptr);
    collection.Append(third);

    Recorder all;
    EXPECT_EQ(collection.VisitAll(all), 2);
    EXPECT_EQ(all.visited, (std::vector<__NCBase*>{first, third}));

    Recorder indexed;
    EXPECT_EQ(collection.VisitAllIndexed(indexed), 2);
    EXPECT_EQ(indexed.indexes, (std::vector<int>{0, 2}));

    Recorder finder;
    finder.sought = third;
    EXPECT_EQ(collection.FindFirst(finder), third);
    EXPECT_EQ(finder.visited, (std::vector<__NCBase*>{first, third}));
    EXPECT_EQ(collection.Count(), 3);
}

TEST(Collection, VisitAllStopsAtOnceAndDoesNotCountTheStoppingItem) {
    __NCCollection collection;
    for (int i = 0; i < 4; ++i) collection.Append(new __NCBase);

    Recorder stopFirst;
    stopFirst.stopAfter = 0;
    EXPECT_EQ(collection.VisitAll(stopFirst), 0);
    EXPECT_EQ(stopFirst.visited.size(), 1u);

    Recorder stopThird;
    stopThird.stopAfter = 2;
    EXPECT_EQ(collection.VisitAll(stopThird), 2);
    EXPECT_EQ(stopThird.visited.size(), 3u);
}

TEST(Collection, FindFirstWithoutAMatchIsNull) {
    __NCCollection collection;
    collection.Append(new __NCBase);
    Recorder finder;
    EXPECT_EQ(collection.FindFirst(finder), nullptr);
}

TEST(BaseObject, IsSameTypeComparesTheClassNameConstant) {
    __NCBase base;
    NCString text;
    NCUndoBlock block;
    __NCCollection collection;
    EXPECT_FALSE(base.IsSameType(nullptr));
    EXPECT_TRUE(base.IsSameType(&block));  // both answer the inherited "__NCBase"
    EXPECT_FALSE(base.IsSameType(&text));
    EXPECT_TRUE(text.IsSameType(&text));
    EXPECT_STREQ(collection.TypeName(), "__NCCollection");
    EXPECT_STREQ(text.TypeName(), "NCString");
    EXPECT_STREQ(block.TypeName(), "__NCBase");
}

}  // namespace
