// Edits as undo steps: what a step holds, nesting, cancel, undo and redo, and writes made
// while no edit is open.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "simhost/document/document_builder.h"
#include "simhost/services/document_backend.h"

namespace {

using simhost::DocumentBackend;
using simhost::DocumentBuilder;
using simhost::RecordStore;

constexpr std::uint32_t kTagAllotment = MakeTag("otDA");
constexpr std::uint32_t kVersion = 0x12050000;

class EditHistory : public ::testing::Test {
protected:
    // Writes one allotment row through the record services.
    void SaveRow(std::int16_t duration, std::uint8_t width) {
        NXRecordKey key{duration, 0, {}};
        std::array<std::uint8_t, 12> bytes{width};
        ASSERT_EQ(backend.SaveEData(kTagAllotment, &key, bytes.data(), 12, kVersion), 1);
    }
    void DeleteRow(std::int16_t duration) {
        NXRecordKey key{duration, 0, {}};
        ASSERT_EQ(backend.DeleteEData(kTagAllotment, &key, kVersion), 1);
    }
    const RecordStore& Records() const { return backend.GetDocument().Records(); }
    const simhost::EditHistory& History() const { return backend.GetDocument().History(); }

    DocumentBackend backend{
        DocumentBuilder().withAllotments({{0, 72}, {1024, 84}}).withMeasures(2).Build()};
};

TEST_F(EditHistory, AnEditBecomesOneNamedStepHoldingEveryChangeInIt) {
    ASSERT_EQ(backend.StartEdit(u"Tight Allotment"), 1);
    SaveRow(512, 48);
    DeleteRow(0);
    SaveRow(1024, 72);
    ASSERT_EQ(backend.EndEdit(), 1);

    ASSERT_EQ(History().UndoSteps().size(), 1u);
    EXPECT_EQ(History().UndoSteps()[0].name, u"Tight Allotment");
    EXPECT_EQ(History().UndoSteps()[0].changes.Size(), 3u);
    EXPECT_TRUE(History().OutsideEditChanges().empty());
}

TEST_F(EditHistory, NestedStartsCountDepthAndOnlyTheOutermostEndClosesTheStep) {
    backend.StartEdit(u"outer");
    SaveRow(512, 48);
    backend.StartEdit(u"inner");
    SaveRow(256, 36);
    ASSERT_EQ(backend.EndEdit(), 1);
    EXPECT_TRUE(History().IsOpen());
    EXPECT_TRUE(History().UndoSteps().empty());
    ASSERT_EQ(backend.EndEdit(), 1);

    ASSERT_EQ(History().UndoSteps().size(), 1u);
    EXPECT_EQ(History().UndoSteps()[0].name, u"outer");
    EXPECT_EQ(History().UndoSteps()[0].changes.Size(), 2u);
    EXPECT_EQ(backend.EndEdit(), 0);  // nothing left to end
}

TEST_F(EditHistory, CancelRollsBackEveryChangeOfTheEditAndLeavesNoStep) {
    const RecordStore before = Records();
    backend.StartEdit(u"Loose Allotment");
    DeleteRow(0);
    DeleteRow(1024);
    SaveRow(0, 72);
    SaveRow(2048, 144);
    backend.CancelEdit();

    EXPECT_EQ(Records(), before);
    EXPECT_FALSE(History().IsOpen());
    EXPECT_TRUE(History().UndoSteps().empty());
}

TEST_F(EditHistory, AnInnerCancelRollsBackOnlyWhatFollowedItsStart) {
    backend.StartEdit(u"outer");
    SaveRow(512, 48);
    const RecordStore afterOuterWrite = Records();
    backend.StartEdit(u"inner");
    SaveRow(256, 36);
    backend.CancelEdit();
    EXPECT_EQ(Records(), afterOuterWrite);
    backend.EndEdit();
    ASSERT_EQ(History().UndoSteps().size(), 1u);
    EXPECT_EQ(History().UndoSteps()[0].changes.Size(), 1u);
}

// A long edit's changes are kept in blocks; an inner start may fall anywhere in one.
TEST_F(EditHistory, AnInnerCancelInALongEditRollsBackToItsStartWhereverThatFalls) {
    for (const int before : {0, 1, 7, 8, 9, 16, 21}) {
        SCOPED_TRACE(before);
        ASSERT_TRUE(backend.ReplaceDocument(DocumentBuilder().withAllotments({{0, 72}}).Build()));
        const RecordStore start = Records();
        backend.StartEdit(u"outer");
        for (int i = 0; i < before; ++i)
            SaveRow(static_cast<std::int16_t>(1 + i), static_cast<std::uint8_t>(i));
        const RecordStore atInnerStart = Records();
        backend.StartEdit(u"inner");
        for (int i = 0; i < 11; ++i) SaveRow(static_cast<std::int16_t>(1 + i), 200);
        backend.CancelEdit();
        EXPECT_EQ(Records(), atInnerStart);
        SaveRow(100, 1);
        backend.EndEdit();

        ASSERT_EQ(History().UndoSteps().size(), 1u);
        const auto& changes = History().UndoSteps()[0].changes;
        ASSERT_EQ(changes.Size(), static_cast<std::size_t>(before) + 1);
        EXPECT_EQ(changes[changes.Size() - 1].id, (simhost::RecordId{kTagAllotment, 100, 0}));
        const RecordStore end = Records();
        ASSERT_TRUE(backend.GetDocument().Undo());
        EXPECT_EQ(Records(), start);
        ASSERT_TRUE(backend.GetDocument().Redo());
        EXPECT_EQ(Records(), end);
    }
}

TEST_F(EditHistory, UndoingEveryStepGivesBackTheStartingRecordsByteForByte) {
    const RecordStore start = Records();
    for (std::uint8_t run = 0; run < 5; ++run) {
        backend.StartEdit(u"run");
        DeleteRow(0);
        SaveRow(0, static_cast<std::uint8_t>(60 + run));
        SaveRow(static_cast<std::int16_t>(100 + run), run);
        backend.EndEdit();
    }
    const RecordStore end = Records();

    while (backend.GetDocument().Undo()) {
    }
    EXPECT_EQ(Records(), start);
    EXPECT_EQ(History().RedoSteps().size(), 5u);

    while (backend.GetDocument().Redo()) {
    }
    EXPECT_EQ(Records(), end);
}

TEST_F(EditHistory, ANewEditAfterAnUndoForgetsWhatCouldBeRedone) {
    backend.StartEdit(u"first");
    SaveRow(512, 48);
    backend.EndEdit();
    ASSERT_TRUE(backend.GetDocument().Undo());
    backend.StartEdit(u"second");
    SaveRow(256, 36);
    backend.EndEdit();
    EXPECT_FALSE(backend.GetDocument().Redo());
    EXPECT_FALSE(Records().Contains({kTagAllotment, 512, 0}));
}

TEST_F(EditHistory, UndoAndRedoAreRefusedWhileAnEditIsOpen) {
    backend.StartEdit(u"done");
    SaveRow(512, 48);
    backend.EndEdit();
    backend.StartEdit(u"open");
    EXPECT_FALSE(backend.GetDocument().Undo());
    EXPECT_TRUE(Records().Contains({kTagAllotment, 512, 0}));
}

TEST_F(EditHistory, WritesOutsideAnEditAreAppliedAndListedButNotUndoable) {
    SaveRow(512, 48);
    DeleteRow(0);

    EXPECT_TRUE(Records().Contains({kTagAllotment, 512, 0}));
    ASSERT_EQ(History().OutsideEditChanges().size(), 2u);
    EXPECT_FALSE(History().OutsideEditChanges()[0].before.has_value());
    EXPECT_FALSE(History().OutsideEditChanges()[1].after.has_value());
    EXPECT_FALSE(backend.GetDocument().Undo());
}

TEST_F(EditHistory, ASaveOfTheBytesAlreadyThereIsNoChange) {
    backend.StartEdit(u"same");
    SaveRow(1024, 84);
    backend.EndEdit();
    EXPECT_TRUE(History().UndoSteps()[0].changes.Empty());
}

}  // namespace
