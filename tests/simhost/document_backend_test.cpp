// The document host as the extension reaches it through its NX_ bindings: selection, staves,
// redraws, edits and command 12106 inside them, and a whole run shaped like the extension's.
#include "simhost/services/document_backend.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "host/services/nx_services.h"
#include "simhost/document/document_builder.h"
#include "simhost/document/respacer.h"
#include "simhost/headless/headless_host.h"

namespace {

using simhost::DocumentBackend;
using simhost::DocumentBuilder;
using simhost::RecordStore;

constexpr std::uint32_t kTagAllotment = MakeTag("otDA");
constexpr std::uint32_t kTagPrefs = MakeTag("ot94");
constexpr std::uint32_t kTagMeasure = MakeTag("SOMS");
constexpr std::uint32_t kVersion = 0x12050000;
constexpr std::int32_t kRespace = 12106;

// A backend that notes the widths the document would give while 12106 runs.
class WatchingBackend : public DocumentBackend {
public:
    using DocumentBackend::DocumentBackend;
    void ExecuteMenuItem(std::int32_t command) override {
        allotmentsDuringCommand = GetDocument().Records().IdsOfTag(kTagAllotment).size();
        DocumentBackend::ExecuteMenuItem(command);
    }
    std::size_t allotmentsDuringCommand = 0;
};

class BoundDocument : public ::testing::Test {
protected:
    BoundDocument() { nx::ResetBindings(); }
    ~BoundDocument() override { nx::ResetBindings(); }

    std::int16_t Width(std::int16_t measure) const {
        return backend.GetDocument().MeasureRecord(measure)->width;
    }

    WatchingBackend backend{DocumentBuilder()
                                .withStaff(41, {"q q q q | q q q q | q q q q | q q q q"})
                                .withStaff(57, {"(3:2 8 8 8) q h | (3:2 8 8 8) q h | w | w"})
                                .withMeasures(4)
                                .withAllotments({{0, 72}, {1024, 84}})
                                .withSelection(2, 3)
                                .withDocumentNumber(3)
                                .Build()};
    simhost::headless::HeadlessHost host{backend};
};

TEST_F(BoundDocument, TheSelectionFillsBothRegionsAndTheScratch) {
    NXRegionRecord first{};
    NXRegionRecord second{};
    std::int32_t scratch = -7;
    NX_GetCurERegions(&scratch, &first, &second);
    EXPECT_EQ(scratch, 1);
    EXPECT_EQ(first.startMeasure, 2);
    EXPECT_EQ(first.endMeasure, 3);
    EXPECT_EQ(first.startSlot, 1);
    EXPECT_EQ(first.endSlot, 2);
    EXPECT_TRUE(simhost::SameRegion(first, second));
    EXPECT_EQ(NX_GetCurrentOstrinDocument(), 3);

    backend.GetDocument().SetSelection(NXRegionRecord{});
    NX_GetCurERegions(&scratch, &first, nullptr);
    EXPECT_EQ(scratch, 0);
    EXPECT_EQ(first.startMeasure, 0);
}

TEST_F(BoundDocument, SlotToInstAnswersTheInstrumentOfTheStaffInTheSlot) {
    NXRegionRecord region{};
    NX_GetCurERegions(nullptr, &region, nullptr);
    EXPECT_EQ(NX_SlotToInst(region.startSlot, region.startSlotKey), 41);
    EXPECT_EQ(NX_SlotToInst(region.endSlot, region.endSlotKey), 57);
    EXPECT_EQ(NX_SlotToInst(2, 0), 57);
    EXPECT_EQ(NX_SlotToInst(3, 0), 0);  // no staff there
    EXPECT_EQ(NX_SlotToInst(2, 1), 0);  // the key names the staff in slot 1
}

TEST_F(BoundDocument, RedrawsAreCountedWithTheirLastRegion) {
    NXRegionRecord region{};
    NX_GetCurERegions(nullptr, &region, nullptr);
    NX_RedrawMusic(&region);
    region.endMeasure = 4;
    NX_RedrawMusic(&region);
    EXPECT_EQ(backend.RedrawCount(), 2);
    ASSERT_TRUE(backend.LastRedrawRegion());
    EXPECT_EQ(backend.LastRedrawRegion()->endMeasure, 4);
}

TEST_F(BoundDocument, RespacingRunsInsideTheOpenEditAndUndoesWithIt) {
    const RecordStore before = backend.GetDocument().Records();
    ASSERT_NE(NX_StartNotavoEdit_UTF16(u"Respace"), 0);
    NX_ExecuteMenuItem(kRespace);
    EXPECT_NE(Width(2), 300);
    EXPECT_EQ(Width(1), 300);
    EXPECT_EQ(Width(4), 300);
    EXPECT_EQ(NX_EndNotavoEdit(), 1);

    const auto& history = backend.GetDocument().History();
    EXPECT_TRUE(history.OutsideEditChanges().empty());
    ASSERT_EQ(history.UndoSteps().size(), 1u);
    EXPECT_EQ(history.UndoSteps()[0].name, u"Respace");
    ASSERT_TRUE(backend.GetDocument().Undo());
    EXPECT_EQ(backend.GetDocument().Records(), before);
}

TEST_F(BoundDocument, RespacingReadsTheSettingsAsTheyStandWhenItRuns) {
    NX_StartNotavoEdit_UTF16(u"Scaling");
    NX_ExecuteMenuItem(kRespace);
    const std::int16_t byAllotments = Width(2);

    // Block 1 holds the allotment flag (byte 0) and the reference width (byte 6).
    NXRecordKey key{-2, 1, {}};
    std::array<std::uint8_t, 12> block{};
    std::int32_t size = 12;
    ASSERT_EQ(NX_LoadEDataRaw(kTagPrefs, &key, block.data(), &size, kVersion), 1);
    block[0] = 0;
    block[6] = 42;
    ASSERT_EQ(NX_SaveEDataRaw(kTagPrefs, &key, block.data(), 12, kVersion), 1);
    NX_ExecuteMenuItem(kRespace);
    NX_EndNotavoEdit();

    // 24 + 3 x 76 + 3 x 84 + 12 by the table; 24 + 3 x 19.6 + 3 x 42 + 12 by scaling from 42.
    EXPECT_EQ(byAllotments, 516);
    EXPECT_EQ(Width(2), 221);
}

TEST_F(BoundDocument, OtherCommandsAreListedAndChangeNothing) {
    const RecordStore before = backend.GetDocument().Records();
    NX_ExecuteMenuItem(12105);
    NX_ExecuteMenuItem(1);
    EXPECT_EQ(backend.IgnoredCommands(), (std::vector<std::int32_t>{12105, 1}));
    EXPECT_EQ(backend.RespaceCount(), 0);
    EXPECT_EQ(backend.GetDocument().Records(), before);
}

// The record traffic of an apply run with an allotment task, in the extension's order.
void ExtensionShapedRun(const std::vector<simhost::AllotmentRow>& task) {
    std::vector<std::pair<NXRecordKey, std::array<std::uint8_t, 12>>> snapshot;
    const auto scan = [](auto onFound) {
        for (std::int32_t item = 0; item <= 8193; ++item) {
            NXRecordKey key{static_cast<std::int16_t>(item), 0, {}};
            std::array<std::uint8_t, 12> bytes{};
            std::int32_t size = 12;
            if (NX_LoadEDataRaw(kTagAllotment, &key, bytes.data(), &size, kVersion)) {
                onFound(key, bytes);
            }
        }
    };
    const auto deleteAll = [&] {
        std::vector<NXRecordKey> keys;
        scan([&](NXRecordKey key, const auto&) { keys.push_back(key); });
        for (NXRecordKey& key : keys) NX_DeleteEData(kTagAllotment, &key, kVersion);
    };
    const auto prefs = [](std::int16_t incidence, std::array<std::uint8_t, 12>* bytes, bool save) {
        NXRecordKey key{-2, incidence, {}};
        std::int32_t size = 12;
        if (save) return NX_SaveEDataRaw(kTagPrefs, &key, bytes->data(), 12, kVersion);
        return NX_LoadEDataRaw(kTagPrefs, &key, bytes->data(), &size, kVersion);
    };

    NX_StartNotavoEdit_UTF16(u"Tight Allotment");
    scan([&](NXRecordKey key, const auto& bytes) { snapshot.emplace_back(key, bytes); });
    std::array<std::array<std::uint8_t, 12>, 3> prefsSnapshot{};
    for (std::int16_t i = 0; i < 3; ++i) prefs(i, &prefsSnapshot[i], false);

    deleteAll();
    for (const auto& row : task) {
        NXRecordKey key{static_cast<std::int16_t>(row.duration), 0, {}};
        std::array<std::uint8_t, 12> bytes{static_cast<std::uint8_t>(row.width)};
        NX_SaveEDataRaw(kTagAllotment, &key, bytes.data(), 12, kVersion);
    }
    std::array<std::uint8_t, 12> flagBlock = prefsSnapshot[1];
    flagBlock[0] = 1;
    prefs(1, &flagBlock, true);
    NX_ExecuteMenuItem(kRespace);

    deleteAll();
    for (auto& [key, bytes] : snapshot)
        NX_SaveEDataRaw(kTagAllotment, &key, bytes.data(), 12, kVersion);
    for (std::int16_t i = 0; i < 3; ++i) prefs(i, &prefsSnapshot[i], true);
    NX_EndNotavoEdit();
}

TEST_F(BoundDocument, AnExtensionShapedRunRespacesWithTheTaskAndLeavesTheSettingsAsTheyWere) {
    // Reserved key bytes too must come back where the run restores a record.
    backend.GetDocument().Write(
        {kTagAllotment, 0, 0},
        simhost::StoredRecord{{1, 2, 3, 4}, std::vector<std::uint8_t>(12, 9)});
    const RecordStore start = backend.GetDocument().Records();
    const std::size_t outsideBefore = backend.GetDocument().History().OutsideEditChanges().size();

    ExtensionShapedRun({{0, 72}, {341, 42}, {342, 42}, {512, 48}, {1024, 72}, {2048, 95}});
    EXPECT_EQ(backend.allotmentsDuringCommand, 6u);
    EXPECT_EQ(backend.RespaceCount(), 1);
    EXPECT_EQ(backend.GetDocument().History().OutsideEditChanges().size(), outsideBefore);

    // Everything but the respaced measures and their note positions is as it was.
    RecordStore withoutMusic = backend.GetDocument().Records();
    RecordStore startWithoutMusic = start;
    for (std::int16_t m = 2; m <= 3; ++m) {
        EXPECT_NE(Width(m), 300);
        for (RecordStore* store : {&withoutMusic, &startWithoutMusic}) {
            store->Erase({kTagMeasure, m, 0});
            store->Erase({simhost::kTagNotePositions, m, 1});
            store->Erase({simhost::kTagNotePositions, m, 2});
        }
    }
    EXPECT_EQ(withoutMusic, startWithoutMusic);

    ASSERT_TRUE(backend.GetDocument().Undo());
    EXPECT_EQ(backend.GetDocument().Records(), start);
}

}  // namespace

// A plug-in that puts a measure back to an earlier width (Fixed Barlines) must not leave its
// notes standing past the barline: the host refits them between the same margins.
TEST_F(BoundDocument, AMeasureWidthAPlugInSavesRefitsItsNotesAndUndoesWithIt) {
    simhost::Respacer(backend.GetDocument()).RespaceMeasures(4, 4);
    const simhost::MeasureFields fields = *backend.GetDocument().MeasureRecord(4);
    const std::int16_t lead = fields.leadingSpace;
    // Four quarters of 84 over a whole note in the other staff.
    ASSERT_EQ(fields.width, lead + 4 * 84 + fields.trailingSpace);
    const auto positions = [&](std::int16_t slot) {
        return simhost::NotePositions(backend.GetDocument(), 4, slot);
    };
    const std::vector<std::int16_t> spaced = positions(1);
    ASSERT_EQ(spaced, (std::vector<std::int16_t>{lead, static_cast<std::int16_t>(lead + 84),
                                                 static_cast<std::int16_t>(lead + 168),
                                                 static_cast<std::int16_t>(lead + 252)}));

    const auto saveWidth = [&](std::int16_t width) {
        NXRecordKey key{4, 0, {}};
        std::array<std::uint8_t, 30> bytes{};
        std::int32_t size = static_cast<std::int32_t>(bytes.size());
        ASSERT_EQ(NX_LoadEDataRaw(kTagMeasure, &key, bytes.data(), &size,
                                  simhost::kMeasureDataVersionLong),
                  1);
        bytes[0] = static_cast<std::uint8_t>(width & 0xFF);
        bytes[1] = static_cast<std::uint8_t>(width >> 8);
        ASSERT_EQ(NX_SaveEDataRaw(kTagMeasure, &key, bytes.data(), size,
                                  simhost::kMeasureDataVersionLong),
                  1);
    };
    const RecordStore before = backend.GetDocument().Records();
    ASSERT_NE(NX_StartNotavoEdit_UTF16(u"Fixed"), 0);
    saveWidth(fields.width);
    EXPECT_EQ(backend.GetDocument().Records(), before) << "the same width moves nothing";
    saveWidth(static_cast<std::int16_t>(lead + 2 * 84 + fields.trailingSpace));
    EXPECT_EQ(NX_EndNotavoEdit(), 1);

    EXPECT_EQ(positions(1), (std::vector<std::int16_t>{lead, static_cast<std::int16_t>(lead + 42),
                                                       static_cast<std::int16_t>(lead + 84),
                                                       static_cast<std::int16_t>(lead + 126)}));
    EXPECT_EQ(positions(2), (std::vector<std::int16_t>{lead}));
    ASSERT_TRUE(backend.GetDocument().Undo());
    EXPECT_EQ(positions(1), spaced);
}
