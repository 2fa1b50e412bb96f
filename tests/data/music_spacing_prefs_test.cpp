#include "framework/data/music_spacing_prefs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "tests/support/record_host.h"
#include "tests/support/row_name.h"

namespace {

using quortest::Bytes;
using quortest::RecordHostTest;

class PrefsTest : public RecordHostTest {
protected:
    // The 36 bytes as three 'ot94' records, byte i holding i + 1, and the 'ot41' extras.
    void PutPrefs(bool withOt41 = true) {
        for (std::int16_t k = 0; k < 3; ++k) {
            Bytes bytes(12);
            for (int i = 0; i < 12; ++i) bytes[i] = static_cast<std::uint8_t>(12 * k + i + 1);
            store.Put(kTagSpacingExtrasA, -2, k, bytes);
        }
        if (withOt41)
            store.Put(kTagSpacingExtrasB, -2, 2, Bytes{0, 0, 0, 0, 7, 0, 0xF9, 0xFF, 0, 0, 0, 0});
    }

    Bytes Prefs36() {
        Bytes all;
        for (std::int16_t k = 0; k < 3; ++k) {
            const Bytes* part = store.Find(kTagSpacingExtrasA, -2, k);
            all.insert(all.end(), part->begin(), part->end());
        }
        return all;
    }
};

TEST_F(PrefsTest, ANewObjectCannotBeSaved) {
    NCMusicSpacingPrefs prefs;
    EXPECT_FALSE(prefs.Save());
    EXPECT_TRUE(Journal().Calls().empty());
}

TEST_F(PrefsTest, LoadTakesTheRecordAndTheFourExtras) {
    PutPrefs();
    store.records[{kTagSpacingExtrasA, -2, 2}][8] = 0xFE;  // extra 2 = -2 once sign-extended
    store.records[{kTagSpacingExtrasA, -2, 2}][9] = 0xFF;
    NCMusicSpacingPrefs prefs;
    ASSERT_TRUE(prefs.Load(1));
    EXPECT_EQ(prefs.LoadedSize(), 36u);
    EXPECT_EQ(prefs.AllotmentFlag(), 13 | (14 << 8));
    EXPECT_EQ(prefs.Extra1(), 29 | (30 << 8));
    EXPECT_EQ(prefs.Extra2(), -2);
    EXPECT_EQ(prefs.Extra3(), 7);
    EXPECT_EQ(prefs.Extra4(), -7);
    // 'pfSP' through its three source records, then the two extra records.
    std::vector<std::int64_t> incidences;
    for (const auto& call : CallsOf("NX_LoadEData")) incidences.push_back(call.args[2]);
    EXPECT_EQ(incidences, (std::vector<std::int64_t>{0, 1, 2, 2, 2}));
}

TEST_F(PrefsTest, AMissingExtraRecordFailsTheLoadButTheRecordIsHeldAndSaved) {
    PutPrefs(false);
    NCMusicSpacingPrefs prefs;
    EXPECT_FALSE(prefs.Load(1));
    EXPECT_EQ(prefs.LoadedSize(), 36u);
    Journal().Clear();
    prefs.SetAllotmentFlag(1);
    EXPECT_FALSE(prefs.Save());
    // The three 'ot94' blocks and the 'ot94' extra record; no 'ot41'.
    EXPECT_EQ(CallsOf("NX_SaveEData", kTagSpacingExtrasA).size(), 4u);
    EXPECT_TRUE(CallsOf("NX_SaveEData", kTagSpacingExtrasB).empty());
    EXPECT_EQ(Prefs36()[12], 1);
}

TEST_F(PrefsTest, AnExtraRecordReportedShortIsNeitherReadNorWritten) {
    PutPrefs();
    const Bytes ot41 = *store.Find(kTagSpacingExtrasB, -2, 2);
    faults.reportedSizes[{kTagSpacingExtrasB, -2, 2}] = 6;  // extra 4 not given
    NCMusicSpacingPrefs prefs;
    const PrefsTransfer loaded = prefs.LoadWithReport(1);
    EXPECT_TRUE(loaded.intact);
    EXPECT_FALSE(loaded.extras);
    EXPECT_EQ(prefs.Extra3(), 0);
    EXPECT_EQ(prefs.Extra4(), 0);
    const PrefsTransfer saved = prefs.SaveWithReport();
    EXPECT_TRUE(saved.intact);
    EXPECT_FALSE(saved.extras);
    // Read short again on the way back, so the record keeps its own bytes.
    EXPECT_TRUE(CallsOf("NX_SaveEData", kTagSpacingExtrasB).empty());
    EXPECT_EQ(*store.Find(kTagSpacingExtrasB, -2, 2), ot41);
}

TEST_F(PrefsTest, ScalingFieldsAreWrittenAtTheirOffsets) {
    PutPrefs();
    NCMusicSpacingPrefs prefs;
    ASSERT_TRUE(prefs.Load(1));
    prefs.SetAllotmentFlag(0);
    prefs.SetReferenceDuration(1024);
    prefs.SetReferenceWidth(84);
    prefs.ClearScalingReserved();
    prefs.SetScalingFactor(16180);
    ASSERT_TRUE(prefs.Save());
    Bytes expected(36);
    for (int i = 0; i < 36; ++i) expected[i] = static_cast<std::uint8_t>(i + 1);
    const Bytes fields = {0, 0, 0x00, 0x04, 0, 0, 84, 0, 0, 0, 0x34, 0x3F, 0, 0};  // 12..25
    std::copy(fields.begin(), fields.end(), expected.begin() + 12);
    EXPECT_EQ(Prefs36(), expected);
    EXPECT_EQ(prefs.ScalingFactor(), 16180);
}

TEST_F(PrefsTest, SaveRewritesTheExtrasOverWhateverTheBufferHeld) {
    PutPrefs();
    NCMusicSpacingPrefs prefs;
    ASSERT_TRUE(prefs.Load(1));
    // Another writer changes the extras' home while the object holds the old values.
    store.records[{kTagSpacingExtrasA, -2, 2}][4] = 0x77;
    store.records[{kTagSpacingExtrasB, -2, 2}][4] = 0x77;
    ASSERT_TRUE(prefs.Save());
    const Bytes all = Prefs36();
    EXPECT_EQ(all[28], 29);
    EXPECT_EQ(all[32], 33);
    EXPECT_EQ((*store.Find(kTagSpacingExtrasB, -2, 2))[4], 7);
}

TEST_F(PrefsTest, CopyFromTakesTheRecordAndTheExtras) {
    PutPrefs();
    NCMusicSpacingPrefs loaded;
    ASSERT_TRUE(loaded.Load(1));
    NCMusicSpacingPrefs copy;
    copy.CopyFrom(&loaded);
    EXPECT_EQ(copy.LoadedSize(), 36u);
    EXPECT_EQ(copy.Extra3(), 7);
    EXPECT_EQ(copy.AllotmentFlag(), loaded.AllotmentFlag());
}

// What a host does to the key of an extra record it hands out.
struct LoadedKeyCase {
    const char* name;
    std::int16_t item;
    std::int16_t incidence;
};

void PrintTo(const LoadedKeyCase& c, std::ostream* os) { *os << c.name; }

class ExtraRecordKeys : public PrefsTest, public ::testing::WithParamInterface<LoadedKeyCase> {};

TEST_P(ExtraRecordKeys, GoBackWithTheReservedBytesOfTheLoadToTheirOwnRecord) {
    const LoadedKeyCase& c = GetParam();
    PutPrefs();
    faults.rewriteKey = [&](nx::Service, std::uint32_t, NXRecordKey& key) {
        key.item = c.item;
        key.incidence = c.incidence;
        const std::uint8_t reserved[4] = {0xA1, 0xB2, 0xC3, 0xD4};
        std::copy(std::begin(reserved), std::end(reserved), key.reserved);
    };
    NCMusicSpacingPrefs prefs;
    ASSERT_TRUE(prefs.Load(1));
    store.savedKeys.clear();
    ASSERT_TRUE(prefs.Save());
    // Three source records of the record itself, then the two extra records.
    ASSERT_EQ(store.savedKeys.size(), 5u);
    for (std::size_t i = 3; i < 5; ++i) {
        const NXRecordKey& key = store.savedKeys[i].second;
        EXPECT_EQ(key.item, -2) << i;
        EXPECT_EQ(key.incidence, 2) << i;
        EXPECT_EQ(std::vector<std::uint8_t>(key.reserved, key.reserved + 4),
                  (std::vector<std::uint8_t>{0xA1, 0xB2, 0xC3, 0xD4}))
            << i;
    }
    EXPECT_EQ(store.savedKeys[3].first, kTagSpacingExtrasA);
    EXPECT_EQ(store.savedKeys[4].first, kTagSpacingExtrasB);
}

INSTANTIATE_TEST_SUITE_P(Hosts, ExtraRecordKeys,
                         ::testing::Values(LoadedKeyCase{"KeyKept", -2, 2},
                                           // Followed, the save would reach another record.
                                           LoadedKeyCase{"ItemBent", 7, 2},
                                           LoadedKeyCase{"IncidenceBent", -2, 0}),
                         quortest::RowName{});

}  // namespace
