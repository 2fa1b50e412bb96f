#include <gtest/gtest.h>

#include "framework/data/allotment.h"
#include "framework/data/measure.h"
#include "host/services/nx_services.h"
#include "tests/support/record_host.h"

namespace {

using quortest::Bytes;
using quortest::RecordHostTest;

constexpr std::uint32_t kTagTest = MakeTag("otTT");

// A plain record of the generic layer: 4 bytes under its own tag.
class TestRecord : public __NCNoInciOther {
public:
    std::uint8_t* DataBuffer() override { return buffer_; }
    __NCBaseData* CreateObject() const override { return new TestRecord; }
    std::uint32_t DataTag() const override { return kTagTest; }
    std::uint32_t DataVersion() const override { return 0x12050000; }
    std::uint32_t DataSize() const override { return 4; }
    void CopyFrom(const __NCBaseData* other) override {
        std::copy_n(static_cast<const TestRecord*>(other)->buffer_, 4, buffer_);
        SetData(buffer_);
        SetLoadedSize(4);
    }
    std::uint8_t buffer_[4] = {};
};

class TestRecords : public __NCCollectionNoInciOther {
public:
    __NCBaseData* CreateElement() const override { return new TestRecord; }
};

class RecordsTest : public RecordHostTest {};

TEST_F(RecordsTest, NothingLoadedMeansNothingIsSentToTheHost) {
    TestRecord record;
    EXPECT_FALSE(record.Save());
    EXPECT_FALSE(record.SaveNew());
    EXPECT_FALSE(record.Reload());
    EXPECT_TRUE(Journal().Calls().empty());
    // SaveAs still takes the new key.
    EXPECT_FALSE(record.SaveAs(9));
    EXPECT_EQ(record.ItemNo(), 9);
    EXPECT_TRUE(Journal().Calls().empty());
}

TEST_F(RecordsTest, DeleteDataAsksTheHostEvenForANewRecord) {
    TestRecord record;
    EXPECT_FALSE(record.DeleteData());
    ASSERT_EQ(Journal().Calls().size(), 1u);
    EXPECT_EQ(Journal().Calls()[0].args, (std::vector<std::int64_t>{kTagTest, 0, 0, 0x12050000}));
}

TEST_F(RecordsTest, AFailedLoadLeavesNothingToSave) {
    store.Put(kTagTest, 3, 0, {1, 2, 3, 4});
    TestRecord record;
    ASSERT_TRUE(record.Load(3));
    EXPECT_EQ(record.LoadedSize(), 4u);
    EXPECT_FALSE(record.Load(4));
    EXPECT_EQ(record.LoadedSize(), 0u);
    EXPECT_FALSE(record.Save());
}

TEST_F(RecordsTest, AFailedLoadNextKeepsWhatWasLoaded) {
    store.Put(kTagTest, 1, 0, {9, 8, 7, 6});
    TestRecord record;
    ASSERT_TRUE(record.LoadFirst());
    EXPECT_FALSE(record.LoadNext());
    EXPECT_EQ(record.LoadedSize(), 4u);
    EXPECT_EQ(record.buffer_[0], 9);
    EXPECT_EQ(record.ItemNo(), 1);
}

TEST_F(RecordsTest, SizesTheHostReportsAreClampedToTheBufferAndShortOnesAreNotWhole) {
    store.Put(kTagTest, 1, 0, {1, 2, 3, 4});
    struct Report {
        std::int32_t reported;
        std::uint32_t loaded;
        bool whole;
    };
    for (const Report& r :
         {Report{4000, 4, true}, {4, 4, true}, {3, 3, false}, {0, 0, false}, {-7, 0, false}}) {
        faults.reportSize = quorfaults::Reports(r.reported);
        TestRecord record;
        record.MutableKey().item = 1;
        bool intact = !r.whole;
        // Still a load that answered success, as the host said.
        ASSERT_TRUE(record.LoadCurrent(intact));
        EXPECT_EQ(record.LoadedSize(), r.loaded) << "reported " << r.reported;
        EXPECT_EQ(record.HoldsWholeRecord(), r.whole) << "reported " << r.reported;
        EXPECT_EQ(intact, r.whole) << "reported " << r.reported;
    }
    // What a clamped record saves never reaches past its own buffer.
    faults.reportSize = quorfaults::Reports(4000);
    TestRecord record;
    record.Load(1);
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(*store.Find(kTagTest, 1), (Bytes{1, 2, 3, 4}));
}

TEST_F(RecordsTest, SaveNewTakesTheKeyTheHostAssigns) {
    store.Put(kTagTest, 5, 0, {0, 0, 0, 0});
    TestRecord record;
    ASSERT_TRUE(record.Load(5));
    ASSERT_TRUE(record.SaveNew());
    EXPECT_EQ(record.ItemNo(), 6);
    const auto create = CallsOf("NX_CreateEData");
    ASSERT_EQ(create.size(), 1u);
    EXPECT_NE(store.Find(kTagTest, 6), nullptr);
}

TEST_F(RecordsTest, LoadAllCopiesEveryRecordInHostOrder) {
    store.Put(kTagTest, 1, 0, {1, 0, 0, 0});
    store.Put(kTagTest, 2, 0, {2, 0, 0, 0});
    store.Put(kTagTest, 7, 0, {7, 0, 0, 0});
    store.Put(MakeTag("otXX"), 3, 0, {3, 0, 0, 0});
    TestRecords records;
    ASSERT_EQ(records.LoadAll(), 3);
    for (const auto& [index, item] : {std::pair{0, 1}, {1, 2}, {2, 7}}) {
        auto* record = static_cast<TestRecord*>(records.RecordAt(index));
        EXPECT_EQ(record->ItemNo(), item);
        EXPECT_EQ(record->buffer_[0], item);
        EXPECT_EQ(record->LoadedSize(), 4u);
    }
}

TEST_F(RecordsTest, LoadAllTellsWhetherEveryRecordCameWhole) {
    for (std::int16_t item = 1; item <= 3; ++item) store.Put(kTagTest, item, 0, {9, 9, 9, 9});
    TestRecords records;
    bool whole = false;
    EXPECT_EQ(records.LoadAll(whole), 3);
    EXPECT_TRUE(whole);
    faults.reportedSizes[{kTagTest, 2, 0}] = 3;
    EXPECT_EQ(records.LoadAll(whole), 3);  // a record found short is still found
    EXPECT_FALSE(whole);
    faults.reportedSizes.clear();
    EXPECT_EQ(records.LoadAll(whole), 3);
    EXPECT_TRUE(whole);
}

TEST_F(RecordsTest, LoadAllWithoutAFirstRecordIsEmpty) {
    TestRecords records;
    EXPECT_EQ(records.LoadAll(), 0);
    EXPECT_EQ(records.Count(), 0);
}

TEST_F(RecordsTest, LoadAllEndsWhenTheHostWalksAKeyBackwards) {
    // The key goes back to the first record, again and again.
    faults.nexts = quorfaults::Answer::ClaimOnly;
    faults.rewriteKey = [](nx::Service service, std::uint32_t, NXRecordKey& key) {
        if (service == nx::Service::NextEData) key.item = 1;
    };
    store.Put(kTagTest, 1, 0, {1, 0, 0, 0});
    TestRecords records;
    EXPECT_EQ(records.LoadAll(), 1);
}

TEST_F(RecordsTest, SaveAllStopsAtTheFirstFailure) {
    TestRecords empty;
    EXPECT_TRUE(empty.SaveAll());

    for (std::int16_t item = 1; item <= 3; ++item) store.Put(kTagTest, item, 0, {0, 0, 0, 0});
    TestRecords records;
    ASSERT_EQ(records.LoadAll(), 3);
    for (int i = 0; i < 3; ++i) static_cast<TestRecord*>(records.RecordAt(i))->buffer_[0] = 0xAA;
    faults.refusedSaves.insert({kTagTest, 2, 0});
    EXPECT_FALSE(records.SaveAll());
    EXPECT_EQ((*store.Find(kTagTest, 1))[0], 0xAA);
    EXPECT_EQ((*store.Find(kTagTest, 3))[0], 0x00);
    EXPECT_EQ(CallsOf("NX_SaveEData").size(), 2u);
}

}  // namespace
