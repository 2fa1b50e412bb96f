#include <gtest/gtest.h>

#include <string>

#include "framework/data/pref_tag_translation.h"
#include "tests/support/record_host.h"
#include "tests/support/row_name.h"

namespace {

using quortest::Bytes;
using quortest::RecordHostTest;

struct BlockCase {
    const char* prefTag;
    const char* sourceTag;
    int count;
    std::int16_t acceptedItem;
    std::int16_t firstIncidence;  // for acceptedItem
    std::vector<std::int16_t> refusedItems;
};

void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << c.prefTag << " item " << c.acceptedItem;
}

class BlockTable : public RecordHostTest, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(BlockTable, LoadAssemblesConsecutiveSourceRecords) {
    const BlockCase& c = GetParam();
    const std::uint32_t source = PackTag(c.sourceTag);
    for (int k = 0; k < c.count; ++k) {
        store.Put(source, -2, static_cast<std::int16_t>(c.firstIncidence + k),
                  Bytes(12, static_cast<std::uint8_t>(k + 1)));
    }
    NXRecordKey key{c.acceptedItem, 0, {}};
    Bytes buffer(12 * c.count + 4, 0xEE);
    std::int32_t size = 12 * c.count;
    const std::uint32_t pref = PackTag(c.prefTag);
    ASSERT_NE(NX_LoadEData(pref, &key, buffer.data(), &size, 0x12050000), 0);
    EXPECT_EQ(size, 12 * c.count);
    for (int k = 0; k < c.count; ++k) EXPECT_EQ(buffer[12 * k + 11], k + 1) << "block " << k;
    EXPECT_EQ(buffer[12 * c.count], 0xEE);  // nothing written past the blocks

    const auto calls = CallsOf("NX_LoadEData");
    ASSERT_EQ(calls.size(), static_cast<std::size_t>(c.count));
    for (int k = 0; k < c.count; ++k) {
        EXPECT_EQ(calls[k].args,
                  (std::vector<std::int64_t>{source, -2, c.firstIncidence + k, 12, 0x12050000}));
    }
}

TEST_P(BlockTable, ItemNumbersOutsideTheRangeFailWithoutAHostCall) {
    const BlockCase& c = GetParam();
    const std::uint32_t pref = PackTag(c.prefTag);
    for (const std::int16_t item : c.refusedItems) {
        NXRecordKey key{item, 0, {}};
        Bytes buffer(12 * c.count);
        std::int32_t size = 12 * c.count;
        EXPECT_EQ(NX_LoadEData(pref, &key, buffer.data(), &size, 0x12050000), 0) << item;
        EXPECT_EQ(NX_SaveEData(pref, &key, buffer.data(), size, 0x12050000), 0) << item;
    }
    EXPECT_TRUE(Journal().Calls().empty());
}

TEST_P(BlockTable, SaveSpreadsTheBufferOverTheSourceRecords) {
    const BlockCase& c = GetParam();
    const std::uint32_t source = PackTag(c.sourceTag);
    const std::uint32_t pref = PackTag(c.prefTag);
    Bytes buffer(12 * c.count);
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i);
    NXRecordKey key{c.acceptedItem, 0, {}};
    ASSERT_NE(NX_SaveEData(pref, &key, buffer.data(), 12 * c.count, 0x12050000), 0);
    for (int k = 0; k < c.count; ++k) {
        const Bytes* saved =
            store.Find(source, -2, static_cast<std::int16_t>(c.firstIncidence + k));
        ASSERT_NE(saved, nullptr) << k;
        EXPECT_EQ(*saved, Bytes(buffer.begin() + 12 * k, buffer.begin() + 12 * (k + 1)));
    }
    EXPECT_EQ(store.Find(pref, c.acceptedItem), nullptr);  // never under the caller's tag
}

TEST_P(BlockTable, TagsOneCharacterAwayGoToTheHostUnchanged) {
    const BlockCase& c = GetParam();
    for (int position = 0; position < 4; ++position) {
        std::string chars = c.prefTag;
        chars[static_cast<std::size_t>(position)] = '#';  // in no tag of the table
        const std::uint32_t tag = PackTag(chars);
        NXRecordKey key{c.acceptedItem, 0, {}};
        Bytes buffer(12 * c.count);
        std::int32_t size = 12 * c.count;
        Journal().Clear();
        EXPECT_EQ(NX_LoadEData(tag, &key, buffer.data(), &size, 0x12050000), 0) << chars;
        ASSERT_EQ(Journal().Calls().size(), 1u) << chars;
        EXPECT_EQ(Journal().Calls()[0].args,
                  (std::vector<std::int64_t>{tag, c.acceptedItem, 0, 12 * c.count, 0x12050000}))
            << chars;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllTags, BlockTable,
    ::testing::Values(
        BlockCase{"pfGD", "ot79", 1, 7, 0, {}}, BlockCase{"pfGG", "ot88", 11, 1, 0, {}},
        BlockCase{"pfGb", "ot98", 1, 4, 3, {0, 5, -1}}, BlockCase{"pfGd", "ot80", 1, 1, 0, {}},
        BlockCase{"pfGs", "ot91", 1, 1, 0, {0, 2}}, BlockCase{"pfMM", "ot25", 2, 1, 0, {}},
        BlockCase{"pfND", "ot04", 1, 1, 0, {}}, BlockCase{"pfNd", "ot66", 1, 1, 0, {}},
        BlockCase{"pfPF", "ot77", 4, 1, 0, {0, 2}}, BlockCase{"pfSC", "ot52", 2, 1, 0, {}},
        BlockCase{"pfSN", "ot40", 1, 128, 127, {0, 129}}, BlockCase{"pfSN", "ot40", 1, 1, 0, {}},
        BlockCase{"pfSP", "ot94", 3, 1, 0, {}}, BlockCase{"pfSl", "ot26", 1, 15, 14, {0, 16}},
        BlockCase{"pfTC", "ot86", 5, 1, 0, {}}, BlockCase{"pfTI", "ot84", 4, 1, 0, {}},
        BlockCase{"pfTX", "ot78", 8, -3, 0, {}}, BlockCase{"pfTp", "ot85", 4, 1, 0, {}},
        BlockCase{"pfTs", "ot90", 1, 9, 8, {0, 10}}),
    quortest::RowName{});

class TranslationTest : public RecordHostTest {};

TEST_F(TranslationTest, ShortBuffersAndSizeQueriesNeverReachTheHost) {
    NXRecordKey key{1, 0, {}};
    Bytes buffer(36);
    std::int32_t size = 35;
    EXPECT_EQ(NX_LoadEData(MakeTag("pfSP"), &key, buffer.data(), &size, 0x12050000), 0);
    EXPECT_EQ(NX_SaveEData(MakeTag("pfSP"), &key, buffer.data(), 35, 0x12050000), 0);
    EXPECT_EQ(NX_SaveEData(MakeTag("pfSP"), &key, nullptr, 36, 0x12050000), 0);
    EXPECT_EQ(NX_LoadEData(MakeTag("pfSP"), &key, buffer.data(), nullptr, 0x12050000), 0);
    size = 0;
    EXPECT_NE(NX_LoadEData(MakeTag("pfSP"), &key, nullptr, &size, 0x12050000), 0);
    EXPECT_EQ(size, 36);
    EXPECT_TRUE(Journal().Calls().empty());
}

TEST_F(TranslationTest, SourceRecordsTheHostCannotGiveReadAsZeros) {
    store.Put(MakeTag("ot94"), -2, 1, Bytes(12, 0x11));
    faults.refusedLoads.insert({MakeTag("ot94"), -2, 2});
    NXRecordKey key{1, 0, {}};
    Bytes buffer(36, 0xEE);
    std::int32_t size = 36;
    ASSERT_NE(NX_LoadEData(MakeTag("pfSP"), &key, buffer.data(), &size, 0x12050000), 0);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 12), Bytes(12, 0));
    EXPECT_EQ(Bytes(buffer.begin() + 12, buffer.begin() + 24), Bytes(12, 0x11));
    EXPECT_EQ(Bytes(buffer.begin() + 24, buffer.end()), Bytes(12, 0));
}

TEST_F(TranslationTest, OversizedSourceReportsStayInsideTheirBlock) {
    for (std::int16_t k = 0; k < 3; ++k) store.Put(MakeTag("ot94"), -2, k, Bytes(12, k + 1));
    faults.reportSize = quorfaults::Reports(5000);
    NXRecordKey key{1, 0, {}};
    Bytes buffer(37, 0xEE);
    std::int32_t size = 36;
    ASSERT_NE(NX_LoadEData(MakeTag("pfSP"), &key, buffer.data(), &size, 0x12050000), 0);
    EXPECT_EQ(size, 36);
    EXPECT_EQ(buffer[11], 1);
    EXPECT_EQ(buffer[35], 3);
    EXPECT_EQ(buffer[36], 0xEE);
}

TEST_F(TranslationTest, OtherTagsGoToTheHostUnchanged) {
    store.Put(MakeTag("otDA"), 1024, 0, Bytes(12, 5));
    NXRecordKey key{1024, 0, {}};
    Bytes buffer(12);
    std::int32_t size = 12;
    ASSERT_NE(NX_LoadEData(MakeTag("otDA"), &key, buffer.data(), &size, 0x12050000), 0);
    ASSERT_EQ(Journal().Calls().size(), 1u);
    EXPECT_EQ(Journal().Calls()[0].args,
              (std::vector<std::int64_t>{MakeTag("otDA"), 1024, 0, 12, 0x12050000}));
}

// Which source record of 'pfSP' the host refuses (-1: none), and what the checked calls say.
struct IntactCase {
    const char* name;
    std::int16_t refused;
    bool intact;
};

void PrintTo(const IntactCase& c, std::ostream* os) { *os << c.name; }

class IntactTransfer : public RecordHostTest, public ::testing::WithParamInterface<IntactCase> {
protected:
    IntactTransfer() {
        for (std::int16_t k = 0; k < 3; ++k) store.Put(MakeTag("ot94"), -2, k, Bytes(12, 1));
    }
};

TEST_P(IntactTransfer, CheckedCallsTellWhetherEverySourceRecordWentThrough) {
    const IntactCase& c = GetParam();
    if (c.refused >= 0) {
        faults.refusedLoads.insert({MakeTag("ot94"), -2, c.refused});
        faults.refusedSaves.insert({MakeTag("ot94"), -2, c.refused});
    }
    NXRecordKey key{1, 0, {}};
    Bytes buffer(36);
    std::int32_t size = 36;
    bool intact = !c.intact;
    // The answer stays success either way: other callers rely on it.
    EXPECT_NE(CheckedLoadEData(MakeTag("pfSP"), &key, buffer.data(), &size, 0x12050000, intact), 0);
    EXPECT_EQ(intact, c.intact);
    intact = !c.intact;
    EXPECT_NE(CheckedSaveEData(MakeTag("pfSP"), &key, buffer.data(), 36, 0x12050000, intact), 0);
    EXPECT_EQ(intact, c.intact);
    // Every source record is still tried.
    EXPECT_EQ(CallsOf("NX_LoadEData").size(), 3u);
    EXPECT_EQ(CallsOf("NX_SaveEData").size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(SourceRecords, IntactTransfer,
                         ::testing::Values(IntactCase{"NoneRefused", -1, true},
                                           IntactCase{"FirstRefused", 0, false},
                                           IntactCase{"MiddleRefused", 1, false},
                                           IntactCase{"LastRefused", 2, false}),
                         quortest::RowName{});

TEST_F(TranslationTest, ASourceRecordReportedShortIsNotIntact) {
    for (std::int16_t short_k = 0; short_k < 3; ++short_k) {
        for (std::int16_t k = 0; k < 3; ++k) store.Put(MakeTag("ot94"), -2, k, Bytes(12, 0x77));
        faults.reportedSizes = {{{MakeTag("ot94"), -2, short_k}, 11}};
        NXRecordKey key{1, 0, {}};
        Bytes buffer(36, 0xEE);
        std::int32_t size = 36;
        bool intact = true;
        EXPECT_NE(CheckedLoadEData(MakeTag("pfSP"), &key, buffer.data(), &size, 0x12050000, intact),
                  0);
        EXPECT_FALSE(intact) << "source record " << short_k;
        EXPECT_EQ(size, 36);
    }
}

TEST_F(TranslationTest, CheckedCallsFollowTheAnswerForOtherTagsAndRefusedRequests) {
    bool intact = true;
    NXRecordKey key{1024, 0, {}};
    Bytes buffer(36);
    std::int32_t size = 12;
    // No such allotment: the host's own refusal.
    EXPECT_EQ(CheckedLoadEData(MakeTag("otDA"), &key, buffer.data(), &size, 0x12050000, intact), 0);
    EXPECT_FALSE(intact);
    intact = false;
    EXPECT_NE(CheckedSaveEData(MakeTag("otDA"), &key, buffer.data(), 12, 0x12050000, intact), 0);
    EXPECT_TRUE(intact);
    // A buffer too small for the translated record.
    intact = true;
    NXRecordKey prefs{1, 0, {}};
    EXPECT_EQ(CheckedSaveEData(MakeTag("pfSP"), &prefs, buffer.data(), 35, 0x12050000, intact), 0);
    EXPECT_FALSE(intact);
}

}  // namespace
