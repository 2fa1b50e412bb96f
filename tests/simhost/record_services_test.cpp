// The record services as a plug-in sees them: load, save, create, delete and walk, the two
// layouts of the measure record, and calls with null pointers.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/services/nx_services.h"
#include "simhost/document/document_builder.h"
#include "simhost/headless/headless_host.h"
#include "simhost/services/document_backend.h"
#include "tests/support/row_name.h"

namespace {

using simhost::Document;
using simhost::DocumentBackend;
using simhost::DocumentBuilder;
using simhost::RecordId;

constexpr std::uint32_t kTagAllotment = MakeTag("otDA");
constexpr std::uint32_t kTagMeasure = MakeTag("SOMS");
constexpr std::uint32_t kAnyVersion = 0x12050000;

NXRecordKey Key(std::int16_t item, std::int16_t incidence = 0) {
    return NXRecordKey{item, incidence, {}};
}

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

class RecordServices : public ::testing::Test {
protected:
    DocumentBackend backend{DocumentBuilder()
                                .withAllotments({{0, 72}, {512, 59}, {1024, 84}})
                                .withRecord(MakeTag("ot77"), 5, 0, Bytes(12, 1))
                                // Sorts right after the allotments: a walk must not run into it.
                                .withRecord(MakeTag("otZZ"), -5, 0, Bytes(12, 1))
                                .withMeasures(3)
                                .Build()};
};

struct CapacityCase {
    std::int32_t capacity;
    std::int32_t filled;
};

void PrintTo(const CapacityCase& c, std::ostream* os) { *os << "capacity " << c.capacity; }

class LoadCapacity : public RecordServices, public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(LoadCapacity, FillsAtMostTheCapacityAndReportsWhatItFilled) {
    std::array<std::uint8_t, 40> buffer;
    buffer.fill(0xEE);
    NXRecordKey key = Key(5);
    std::int32_t size = GetParam().capacity;
    ASSERT_EQ(backend.LoadEData(MakeTag("ot77"), &key, buffer.data(), &size, kAnyVersion), 1);
    EXPECT_EQ(size, GetParam().filled);
    const auto expected = Bytes(12, 1);
    for (std::int32_t i = 0; i < 40; ++i) {
        EXPECT_EQ(buffer[i], i < GetParam().filled ? expected[i] : 0xEE) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Capacities, LoadCapacity,
                         ::testing::Values(CapacityCase{-4, 0}, CapacityCase{0, 0},
                                           CapacityCase{5, 5}, CapacityCase{12, 12},
                                           CapacityCase{40, 12}),
                         quortest::RowName{});

TEST_F(RecordServices, LoadOfAnAbsentRecordFailsAndLeavesTheSize) {
    std::array<std::uint8_t, 12> buffer{};
    for (const NXRecordKey probe : {Key(1), Key(512, 1), Key(8193)}) {
        NXRecordKey key = probe;
        std::int32_t size = 12;
        EXPECT_EQ(backend.LoadEData(kTagAllotment, &key, buffer.data(), &size, kAnyVersion), 0);
        EXPECT_EQ(size, 12);
    }
}

TEST_F(RecordServices, LoadWithoutBufferAnswersTheRecordSize) {
    NXRecordKey key = Key(5);
    std::int32_t size = 0;
    EXPECT_EQ(backend.LoadEData(MakeTag("ot77"), &key, nullptr, &size, kAnyVersion), 1);
    EXPECT_EQ(size, 12);
}

TEST_F(RecordServices, SaveCreatesAnAbsentRecordAndReplacesAnExistingOne) {
    const auto bytes = Bytes(7, 40);
    NXRecordKey key = Key(256);
    ASSERT_EQ(backend.SaveEData(kTagAllotment, &key, bytes.data(), 7, kAnyVersion), 1);
    EXPECT_EQ(backend.GetDocument().Records().Find({kTagAllotment, 256, 0})->bytes, bytes);

    const auto shorter = Bytes(3, 90);
    ASSERT_EQ(backend.SaveEData(kTagAllotment, &key, shorter.data(), 3, kAnyVersion), 1);
    EXPECT_EQ(backend.GetDocument().Records().Find({kTagAllotment, 256, 0})->bytes, shorter);
}

TEST_F(RecordServices, ReservedKeyBytesAreKeptWithTheRecordAndGivenBackOnLoadAndWalk) {
    NXRecordKey key{2048, 0, {9, 8, 7, 6}};
    const auto bytes = Bytes(12, 0);
    ASSERT_EQ(backend.SaveEData(kTagAllotment, &key, bytes.data(), 12, kAnyVersion), 1);

    NXRecordKey loaded = Key(2048);
    std::int32_t size = 12;
    std::array<std::uint8_t, 12> buffer{};
    ASSERT_EQ(backend.LoadEData(kTagAllotment, &loaded, buffer.data(), &size, kAnyVersion), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(loaded.reserved, loaded.reserved + 4),
              (std::vector<std::uint8_t>{9, 8, 7, 6}));

    NXRecordKey walked = Key(1024);
    ASSERT_EQ(backend.NextEData(kTagAllotment, &walked, kAnyVersion), 1);
    EXPECT_EQ(walked.item, 2048);
    EXPECT_EQ(walked.reserved[0], 9);
}

TEST_F(RecordServices, CreateAssignsAFreshItemNumberAndWritesItIntoTheKey) {
    const auto bytes = Bytes(12, 0);
    NXRecordKey first{-1, -1, {}};
    NXRecordKey second{-1, -1, {}};
    ASSERT_EQ(backend.CreateEData(kTagAllotment, &first, bytes.data(), 12, kAnyVersion), 1);
    ASSERT_EQ(backend.CreateEData(kTagAllotment, &second, bytes.data(), 12, kAnyVersion), 1);
    EXPECT_EQ(first.item, 1025);
    EXPECT_EQ(second.item, 1026);
    EXPECT_EQ(first.incidence, 0);
    EXPECT_TRUE(backend.GetDocument().Records().Contains({kTagAllotment, 1025, 0}));

    NXRecordKey fresh{-1, -1, {}};
    ASSERT_EQ(backend.CreateEData(MakeTag("zzNW"), &fresh, bytes.data(), 12, kAnyVersion), 1);
    EXPECT_EQ(fresh.item, 1);
}

TEST_F(RecordServices, DeleteRemovesTheRecordAndFailsForAnAbsentOne) {
    NXRecordKey key = Key(512);
    EXPECT_EQ(backend.DeleteEData(kTagAllotment, &key, kAnyVersion), 1);
    EXPECT_FALSE(backend.GetDocument().Records().Contains({kTagAllotment, 512, 0}));
    EXPECT_EQ(backend.DeleteEData(kTagAllotment, &key, kAnyVersion), 0);
}

TEST_F(RecordServices, NextWalksTheRecordsOfOneTagInOrderAndStopsAtTheLast) {
    NXRecordKey key = Key(-100);
    std::vector<std::int16_t> items;
    // Bounded, so that a walk that never ends fails instead of running on.
    while (items.size() < 10 && backend.NextEData(kTagAllotment, &key, kAnyVersion) != 0) {
        items.push_back(key.item);
    }
    EXPECT_EQ(items, (std::vector<std::int16_t>{0, 512, 1024}));
    // The failed step leaves the key on the last record.
    EXPECT_EQ(key.item, 1024);
}

struct LayoutCase {
    std::uint32_t version;
    std::int32_t bytes;  // 0: the version has no layout
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << "version " << quortest::Hex(c.version);
}

class MeasureLayout : public RecordServices, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(MeasureLayout, OneStoredMeasureIsExchangedInTheLayoutOfTheDataVersion) {
    // A stored measure whose bytes are all distinct, so that any shift shows.
    Document& document = backend.GetDocument();
    document.Write(RecordId{kTagMeasure, 2, 0}, simhost::StoredRecord{{}, Bytes(30, 100)});

    std::array<std::uint8_t, 64> buffer{};
    NXRecordKey key = Key(2);
    std::int32_t size = 64;
    const std::int16_t loaded =
        backend.LoadEData(kTagMeasure, &key, buffer.data(), &size, GetParam().version);
    if (GetParam().bytes == 0) {
        EXPECT_EQ(loaded, 0);
        EXPECT_EQ(backend.SaveEData(kTagMeasure, &key, buffer.data(), 26, GetParam().version), 0);
        return;
    }
    ASSERT_EQ(loaded, 1);
    ASSERT_EQ(size, GetParam().bytes);
    EXPECT_EQ(buffer[0], 100);  // the width is at offset 0 in both layouts
    EXPECT_EQ(buffer[size - 1], 100 + size - 1);

    // A new width saved in this layout changes the first two bytes and nothing else.
    buffer[0] = 0x2C;
    buffer[1] = 0x01;
    ASSERT_EQ(backend.SaveEData(kTagMeasure, &key, buffer.data(), size, GetParam().version), 1);
    auto expected = Bytes(30, 100);
    expected[0] = 0x2C;
    expected[1] = 0x01;
    EXPECT_EQ(document.Records().Find({kTagMeasure, 2, 0})->bytes, expected);
    EXPECT_EQ(document.MeasureRecord(2)->width, 300);
}

INSTANTIATE_TEST_SUITE_P(DataVersions, MeasureLayout,
                         ::testing::Values(LayoutCase{0x0A000000, 26}, LayoutCase{0x12000000, 30},
                                           LayoutCase{0x12050000, 0}, LayoutCase{0, 0}),
                         quortest::RowName{});

TEST_F(RecordServices, AMeasureSaveLargerThanItsLayoutFails) {
    std::array<std::uint8_t, 30> buffer{};
    NXRecordKey key = Key(1);
    EXPECT_EQ(backend.SaveEData(kTagMeasure, &key, buffer.data(), 30, 0x0A000000), 0);
    EXPECT_EQ(backend.SaveEData(kTagMeasure, &key, buffer.data(), 31, 0x12000000), 0);
}

TEST_F(RecordServices, NullPointersFailWithoutTouchingTheDocument) {
    const simhost::RecordStore before = backend.GetDocument().Records();
    std::array<std::uint8_t, 12> buffer{};
    std::int32_t size = 12;
    NXRecordKey key = Key(512);
    EXPECT_EQ(backend.LoadEData(kTagAllotment, nullptr, buffer.data(), &size, kAnyVersion), 0);
    EXPECT_EQ(backend.LoadEData(kTagAllotment, &key, buffer.data(), nullptr, kAnyVersion), 0);
    EXPECT_EQ(backend.SaveEData(kTagAllotment, nullptr, buffer.data(), 12, kAnyVersion), 0);
    EXPECT_EQ(backend.SaveEData(kTagAllotment, &key, nullptr, 12, kAnyVersion), 0);
    EXPECT_EQ(backend.CreateEData(kTagAllotment, nullptr, buffer.data(), 12, kAnyVersion), 0);
    EXPECT_EQ(backend.CreateEData(kTagAllotment, &key, nullptr, 12, kAnyVersion), 0);
    EXPECT_EQ(backend.DeleteEData(kTagAllotment, nullptr, kAnyVersion), 0);
    EXPECT_EQ(backend.NextEData(kTagAllotment, nullptr, kAnyVersion), 0);
    EXPECT_EQ(backend.SaveEData(kTagAllotment, &key, buffer.data(), -1, kAnyVersion), 0);
    EXPECT_EQ(backend.GetDocument().Records(), before);
}

// Through the extension's own bindings, as the module reaches the host.
class BoundRecordServices : public RecordServices {
protected:
    BoundRecordServices() { nx::ResetBindings(); }
    ~BoundRecordServices() override { nx::ResetBindings(); }

    simhost::headless::HeadlessHost host{backend};
};

TEST_F(BoundRecordServices, AnAllotmentScanThroughTheBindingsFindsExactlyTheAllotments) {
    std::vector<std::int16_t> found;
    for (std::int32_t item = 0; item <= 8193; ++item) {
        NXRecordKey key = Key(static_cast<std::int16_t>(item));
        std::array<std::uint8_t, 12> buffer{};
        std::int32_t size = 12;
        if (NX_LoadEDataRaw(kTagAllotment, &key, buffer.data(), &size, kAnyVersion) != 0) {
            found.push_back(key.item);
        }
    }
    EXPECT_EQ(found, (std::vector<std::int16_t>{0, 512, 1024}));
    EXPECT_EQ(host.Services().Journal().CountOf("NX_LoadEData"), 8194u);

    NXRecordKey created{-1, -1, {}};
    std::array<std::uint8_t, 12> row{};
    ASSERT_EQ(NX_CreateEData(kTagAllotment, &created, row.data(), 12, kAnyVersion), 1);
    EXPECT_EQ(created.item, 1025);
    // The journal shows the key as the host rewrote it.
    EXPECT_EQ(host.Services().Journal().Calls().back().args[1], 1025);
}

TEST_F(BoundRecordServices, WithTheJournalOffTheServicesAnswerAsBeforeAndJournalNothing) {
    auto& journal = host.Services().Journal();
    journal.SetEnabled(false);
    NXRecordKey key = Key(512);
    std::array<std::uint8_t, 12> buffer{};
    std::int32_t size = 12;
    EXPECT_EQ(NX_LoadEDataRaw(kTagAllotment, &key, buffer.data(), &size, kAnyVersion), 1);
    EXPECT_EQ(size, 12);
    NXRecordKey absent = Key(513);
    EXPECT_EQ(NX_LoadEDataRaw(kTagAllotment, &absent, buffer.data(), &size, kAnyVersion), 0);
    NXRecordKey fresh = Key(2048);
    ASSERT_EQ(NX_SaveEDataRaw(kTagAllotment, &fresh, buffer.data(), 12, kAnyVersion), 1);
    EXPECT_TRUE(backend.GetDocument().Records().Contains(RecordId{kTagAllotment, 2048, 0}));
    EXPECT_TRUE(journal.Calls().empty());

    journal.SetEnabled(true);
    EXPECT_EQ(NX_DeleteEData(kTagAllotment, &fresh, kAnyVersion), 1);
    EXPECT_EQ(journal.Names(), (std::vector<std::string>{"NX_DeleteEData"}));
}

}  // namespace
