#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "framework/core/undo_block.h"
#include "framework/data/measure.h"
#include "framework/data/music_spacing_prefs.h"
#include "spacing/note_spacing_block_handler.h"
#include "spacing/spacing_tasks.h"
#include "spacing/task_info.h"
#include "tests/support/record_host.h"
#include "tests/support/row_name.h"
#include "tests/support/task_tables.h"

namespace {

using quortest::Bytes;
using quortest::RecordHostTest;

using Allotments = quortest::AllotmentTable;
using quortest::Table;
using quortest::TableOf;

class BlockHandlerTest : public RecordHostTest {
protected:
    BlockHandlerTest() {
        BuildSpacingTasks(tasks);
        // The document's own settings: two allotments and scaling preferences.
        PutAllotment(0, 70);
        PutAllotment(1024, 90);
        for (std::int16_t k = 0; k < 3; ++k) {
            Bytes bytes(12);
            for (int i = 0; i < 12; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + 12 * k + i);
            store.Put(kTagSpacingExtrasA, -2, k, bytes);
        }
        store.Put(kTagSpacingExtrasB, -2, 2, Bytes(12, 0x41));
        for (std::int16_t m = 1; m <= 4; ++m) {
            Bytes measure(30, static_cast<std::uint8_t>(m));
            measure[0] = static_cast<std::uint8_t>(100 + m);
            measure[1] = 0;
            store.Put(kTagMeasure, m, 0, measure);
        }
        store.selection.startMeasure = 2;
        store.selection.endMeasure = 3;
        before = store.records;
        // The respacing command: notes what the document holds while it runs, then rewrites
        // every measure's width and one other field, as a host respacing would.
        store.onCommand = [this](std::int32_t command) {
            commands.push_back(command);
            duringCommand = store.records;
            for (auto& [id, bytes] : store.records) {
                if (std::get<0>(id) != kTagMeasure) continue;
                bytes[0] = 0xE7;
                bytes[1] = 0x03;
                bytes[5] = 0x42;
            }
        };
    }

    void PutAllotment(std::int16_t duration, std::int16_t width) {
        Bytes bytes(12, 0x33);
        bytes[0] = static_cast<std::uint8_t>(width & 0xFF);
        bytes[1] = static_cast<std::uint8_t>(width >> 8);
        store.Put(kTagAllotment, duration, 0, bytes);
    }

    // The task at a list position, run as the window runs it.
    bool Run(int position, bool asDefault, bool fixedBarlines) {
        NCNoteSpacingBlockHandler handler(tasks.TaskAt(position), asDefault, fixedBarlines,
                                          nullptr);
        NCUndoBlock block;
        NCString name;
        name.AssignString(tasks.TaskAt(position)->Title());
        return block.Run(&handler, &name);
    }

    static Allotments AllotmentsIn(const std::map<quortest::RecordId, Bytes>& records) {
        Allotments widths;
        for (const auto& [id, bytes] : records) {
            if (std::get<0>(id) != kTagAllotment) continue;
            widths[std::get<1>(id)] = static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
        }
        return widths;
    }

    static Bytes Prefs36(const std::map<quortest::RecordId, Bytes>& records) {
        Bytes all;
        for (std::int16_t k = 0; k < 3; ++k) {
            const Bytes& part = records.at({kTagSpacingExtrasA, -2, k});
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }

    static std::int16_t Word(const Bytes& bytes, int offset) {
        return static_cast<std::int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }

    NCNoteSpacingTaskInfos tasks;
    std::map<quortest::RecordId, Bytes> before;
    std::map<quortest::RecordId, Bytes> duringCommand;
    std::vector<std::int32_t> commands;
};

TEST_F(BlockHandlerTest, ApplyRunScalingRespacesWithTheTaskAndRestoresTheDocument) {
    ASSERT_TRUE(Run(5, false, false));  // Golden Ratio Scaling
    ASSERT_EQ(commands, (std::vector<std::int32_t>{12106}));
    const Bytes during = Prefs36(duringCommand);
    EXPECT_EQ(Word(during, 12), 0);
    EXPECT_EQ(Word(during, 14), 1024);
    EXPECT_EQ(Word(during, 16), 0);
    EXPECT_EQ(Word(during, 18), 84);
    EXPECT_EQ(Word(during, 20), 0);
    EXPECT_EQ(Word(during, 22), 16180);
    EXPECT_EQ(Word(during, 24), 0);
    EXPECT_EQ(AllotmentsIn(duringCommand), AllotmentsIn(before));  // scaling leaves them

    EXPECT_EQ(Prefs36(store.records), Prefs36(before));
    EXPECT_EQ(AllotmentsIn(store.records), AllotmentsIn(before));
    EXPECT_EQ(store.records.at({kTagAllotment, 1024, 0}), before.at({kTagAllotment, 1024, 0}));
}

TEST_F(BlockHandlerTest, ApplyRunAllotmentsRespacesWithExactlyTheTaskRows) {
    ASSERT_TRUE(Run(2, false, false));  // Loose Allotment
    EXPECT_EQ(AllotmentsIn(duringCommand), TableOf(Table::Loose));
    EXPECT_EQ(Word(Prefs36(duringCommand), 12), 1);
    // Afterwards the document's own allotments are back, byte for byte.
    EXPECT_EQ(AllotmentsIn(store.records), AllotmentsIn(before));
    EXPECT_EQ(store.records.at({kTagAllotment, 0, 0}), before.at({kTagAllotment, 0, 0}));
    EXPECT_EQ(Prefs36(store.records), Prefs36(before));
}

TEST_F(BlockHandlerTest, ApplyRunOnADocumentWithoutAllotmentsLeavesNone) {
    store.records.erase({kTagAllotment, 0, 0});
    store.records.erase({kTagAllotment, 1024, 0});
    ASSERT_TRUE(Run(0, false, false));
    EXPECT_EQ(AllotmentsIn(duringCommand), TableOf(Table::Tight));
    EXPECT_TRUE(AllotmentsIn(store.records).empty());
}

TEST_F(BlockHandlerTest, DefaultRunLeavesTheTaskInTheDocumentAndRespacesNothing) {
    ASSERT_TRUE(Run(4, true, true));  // Golden Ratio with Edited Dots, fixed barlines ticked
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(AllotmentsIn(store.records), TableOf(Table::Optical));
    EXPECT_EQ(Word(Prefs36(store.records), 12), 1);
    for (std::int16_t m = 1; m <= 4; ++m) {
        EXPECT_EQ(store.records.at({kTagMeasure, m, 0}), before.at({kTagMeasure, m, 0}));
    }
    EXPECT_TRUE(CallsOf("NX_LoadEData", kTagMeasure).empty());
}

TEST_F(BlockHandlerTest, DefaultRunScalingTouchesNoAllotment) {
    ASSERT_TRUE(Run(8, true, false));  // No Scaling
    const Bytes prefs = Prefs36(store.records);
    EXPECT_EQ(Word(prefs, 12), 0);
    EXPECT_EQ(Word(prefs, 18), 72);
    EXPECT_EQ(Word(prefs, 22), 10000);
    EXPECT_EQ(AllotmentsIn(store.records), AllotmentsIn(before));
    EXPECT_TRUE(CallsOf("NX_LoadEData", kTagAllotment).empty());
    EXPECT_TRUE(CallsOf("NX_DeleteEData").empty());
}

TEST_F(BlockHandlerTest, FixedBarlinesPutsBackEachSelectedWidthAndKeepsTheRespacedFields) {
    ASSERT_TRUE(Run(6, false, true));
    for (std::int16_t m = 2; m <= 3; ++m) {
        const Bytes& after = store.records.at({kTagMeasure, m, 0});
        EXPECT_EQ(Word(after, 0), 100 + m) << m;
        EXPECT_EQ(after[5], 0x42) << m;
    }
    // Measures outside the selection keep what the respacing gave them.
    EXPECT_EQ(Word(store.records.at({kTagMeasure, 1, 0}), 0), 999);
}

TEST_F(BlockHandlerTest, WithoutFixedBarlinesNoMeasureIsLoadedOrSaved) {
    ASSERT_TRUE(Run(6, false, false));
    EXPECT_TRUE(CallsOf("NX_LoadEData", kTagMeasure).empty());
    EXPECT_TRUE(CallsOf("NX_SaveEData", kTagMeasure).empty());
    EXPECT_EQ(Word(store.records.at({kTagMeasure, 2, 0}), 0), 999);
}

TEST_F(BlockHandlerTest, AnUnknownTaskFailsWritesNothingAndCancelsTheEdit) {
    NCNoteSpacingTaskInfo unknown;
    unknown.SetTaskId(10);
    NCNoteSpacingBlockHandler handler(&unknown, false, true, nullptr);
    NCUndoBlock block;
    NCString name;
    name.AssignText8("Unknown");
    EXPECT_FALSE(block.Run(&handler, &name));
    EXPECT_EQ(Journal().CountOf("NX_CancelNotavoEdit"), 1u);
    EXPECT_EQ(Journal().CountOf("NX_EndNotavoEdit"), 0u);
    EXPECT_TRUE(CallsOf("NX_SaveEData").empty());
    EXPECT_TRUE(CallsOf("NX_DeleteEData").empty());
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(store.records, before);
}

// The journal, with runs of the same service and tag collapsed into one entry.
std::vector<std::string> Phases(const simhost::ServiceJournal& journal) {
    std::vector<std::string> phases;
    for (const auto& call : journal.Calls()) {
        std::string phase = call.service;
        if (call.service.find("EData") != std::string::npos) {
            const auto tag = static_cast<std::uint32_t>(call.args[0]);
            phase += ' ';
            for (int shift = 24; shift >= 0; shift -= 8) phase += static_cast<char>(tag >> shift);
        }
        if (phases.empty() || phases.back() != phase) phases.push_back(phase);
    }
    return phases;
}

TEST_F(BlockHandlerTest, AnApplyRunCallsTheHostInItsOrder) {
    ASSERT_TRUE(Run(0, false, true));
    const std::vector<std::string> phases = Phases(Journal());
    const std::vector<std::string> expected = {
        "NX_StartNotavoEdit_UTF16", "NX_GetCurERegions",  "NX_GetCurrentOstrinDocument",
        "NX_LoadEData otDA",  // allotment snapshot
        "NX_LoadEData ot94",  // preferences snapshot and extras
        "NX_LoadEData ot41",
        "NX_LoadEData SOMS",  // the region's measures
        "NX_LoadEData otDA",  // the whole scan, then the deletions
        "NX_DeleteEData otDA",
        "NX_SaveEData otDA",  // the task's rows
        "NX_LoadEData ot94",        "NX_LoadEData ot41",  "NX_SaveEData ot94",
        "NX_LoadEData ot94",        "NX_SaveEData ot94",  "NX_LoadEData ot41",
        "NX_SaveEData ot41",        "NX_ExecuteMenuItem",
        "NX_LoadEData otDA",  // deleting the task's rows
        "NX_DeleteEData otDA",
        "NX_SaveEData otDA",  // the snapshot back
        "NX_SaveEData ot94",        "NX_LoadEData ot94",  "NX_SaveEData ot94",
        "NX_LoadEData ot41",        "NX_SaveEData ot41",
        "NX_LoadEData SOMS",  // each measure: one load, one save
        "NX_SaveEData SOMS",        "NX_LoadEData SOMS",  "NX_SaveEData SOMS",
        "NX_EndNotavoEdit",
    };
    EXPECT_EQ(phases, expected);
    EXPECT_EQ(CallsOf("NX_SaveEData", kTagAllotment).size(), 21u + 2u);
}

// A host that refuses some records, from the start or only once the respacing command has run
// (so that the task went in whole and only the way back fails).
struct RefusalCase {
    const char* name;
    int position;
    bool asDefault;
    std::vector<quortest::RecordId> refusedLoads;
    std::vector<quortest::RecordId> refusedSaves;
    std::vector<quortest::RecordId> refusedDeletes;
    bool fromCommand;
    bool result;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

constexpr int kTight = 0;
constexpr int kGoldenRatioScaling = 5;
const quortest::RecordId kPrefs0{kTagSpacingExtrasA, -2, 0};
const quortest::RecordId kPrefs1{kTagSpacingExtrasA, -2, 1};
const quortest::RecordId kPrefs2{kTagSpacingExtrasA, -2, 2};
const quortest::RecordId kExtrasB{kTagSpacingExtrasB, -2, 2};
// One of the document's own allotments, and one that only the task writes.
const quortest::RecordId kOwnRow{kTagAllotment, 1024, 0};
const quortest::RecordId kTaskRow{kTagAllotment, 96, 0};
const quortest::RecordId kMeasure2{kTagMeasure, 2, 0};

const RefusalCase kRefusalCases[] = {
    {"TaskRowRefusedOnApply", kTight, false, {}, {{kTagAllotment, 512, 0}}, {}, false, false},
    {"TaskRowRefusedAsDefault", kTight, true, {}, {{kTagAllotment, 512, 0}}, {}, false, false},
    {"TaskPreferencesRefusedAsDefault", kGoldenRatioScaling, true, {}, {kPrefs1}, {}, false, false},
    {"TaskPreferencesRefusedOnApply", kGoldenRatioScaling, false, {}, {kPrefs0}, {}, false, false},
    // An old row the host keeps would stand beside the task's.
    {"OwnRowDeleteRefusedOnApply", kTight, false, {}, {}, {kOwnRow}, false, false},
    {"OwnRowDeleteRefusedAsDefault", kTight, true, {}, {}, {kOwnRow}, false, false},
    // The way back fails part-way.
    {"TaskRowDeleteRefusedOnRestore", kTight, false, {}, {}, {kTaskRow}, true, false},
    {"SnapshotAllotmentRefused", kTight, false, {}, {kOwnRow}, {}, true, false},
    {"SnapshotPreferencesFirstBlockRefused", kTight, false, {}, {kPrefs0}, {}, true, false},
    {"SnapshotPreferencesMiddleBlockRefused", kTight, false, {}, {kPrefs1}, {}, true, false},
    {"SnapshotPreferencesLastBlockRefused", kTight, false, {}, {kPrefs2}, {}, true, false},
    // The user asked for the barlines to stay.
    {"MeasureWidthRefused", kTight, false, {}, {kMeasure2}, {}, true, false},
    {"MeasureUnreadOnRestore", kTight, false, {kMeasure2}, {}, {}, true, false},
    // Extra records the host will not take fail nothing.
    {"ExtraRecordUnread", kTight, false, {kExtrasB}, {}, {}, false, true},
    {"ExtraRecordRefused", kTight, false, {}, {kExtrasB}, {}, false, true},
};

class RefusedRecords : public BlockHandlerTest,
                       public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedRecords, ARunSucceedsOnlyWhenTheDocumentKeepsWhatItHeld) {
    const RefusalCase& c = GetParam();
    const auto refuse = [this, &c] {
        faults.refusedLoads.insert(c.refusedLoads.begin(), c.refusedLoads.end());
        faults.refusedSaves.insert(c.refusedSaves.begin(), c.refusedSaves.end());
        faults.refusedDeletes.insert(c.refusedDeletes.begin(), c.refusedDeletes.end());
    };
    if (c.fromCommand) {
        store.onCommand = [respace = store.onCommand, refuse](std::int32_t command) {
            respace(command);
            refuse();
        };
    } else {
        refuse();
    }
    EXPECT_EQ(Run(c.position, c.asDefault, true), c.result);
    EXPECT_EQ(Journal().CountOf("NX_EndNotavoEdit"), c.result ? 1u : 0u);
    EXPECT_EQ(Journal().CountOf("NX_CancelNotavoEdit"), c.result ? 0u : 1u);
    // Only a task that went in whole is respaced with.
    EXPECT_EQ(commands.size(), !c.asDefault && (c.result || c.fromCommand) ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedRecords, ::testing::ValuesIn(kRefusalCases),
                         quortest::RowName{});

// Preferences whose source records cannot all be read.
struct UnreadCase {
    const char* name;
    bool asDefault;
    quortest::RecordId unread;
};

void PrintTo(const UnreadCase& c, std::ostream* os) { *os << c.name; }

const UnreadCase kUnreadCases[] = {
    // The document's own: nothing could be put back.
    {"SnapshotFirstBlock", false, kPrefs0},
    {"SnapshotLastBlock", false, kPrefs2},
    // Those the task goes into.
    {"TaskPreferences", true, kPrefs1},
};

class UnreadPreferences : public BlockHandlerTest,
                          public ::testing::WithParamInterface<UnreadCase> {};

TEST_P(UnreadPreferences, AreNeverWrittenAndFailTheRun) {
    const UnreadCase& c = GetParam();
    faults.refusedLoads.insert(c.unread);
    EXPECT_FALSE(Run(kTight, c.asDefault, true));
    EXPECT_EQ(Journal().CountOf("NX_CancelNotavoEdit"), 1u);
    EXPECT_TRUE(CallsOf("NX_SaveEData", kTagSpacingExtrasA).empty());
    // Without the document's own settings, the run stops before it writes anything at all.
    if (!c.asDefault) {
        EXPECT_TRUE(CallsOf("NX_SaveEData").empty());
        EXPECT_TRUE(CallsOf("NX_DeleteEData").empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Refusals, UnreadPreferences, ::testing::ValuesIn(kUnreadCases),
                         quortest::RowName{});

TEST_F(BlockHandlerTest, ARestoreThatFailsPartWayFinishesEveryStepInItsOrder) {
    ASSERT_TRUE(Run(kTight, false, true));
    const std::vector<std::string> succeeded = Phases(Journal());
    store.records = before;
    Journal().Clear();
    store.onCommand = [this, respace = store.onCommand](std::int32_t command) {
        respace(command);
        faults.refusedSaves.insert({kTagAllotment, 0, 0});  // the first snapshot allotment
    };
    EXPECT_FALSE(Run(kTight, false, true));
    std::vector<std::string> expected = succeeded;
    expected.back() = "NX_CancelNotavoEdit";
    EXPECT_EQ(Phases(Journal()), expected);
    // The allotment after the refused one, the preferences and the widths all went back.
    EXPECT_EQ(store.records.at(kOwnRow), before.at(kOwnRow));
    EXPECT_EQ(Prefs36(store.records), Prefs36(before));
    for (std::int16_t m = 2; m <= 3; ++m) {
        EXPECT_EQ(Word(store.records.at({kTagMeasure, m, 0}), 0), 100 + m) << m;
    }
    EXPECT_EQ(CallsOf("NX_SaveEData", kTagAllotment).size(), 21u + 2u);
}

// A run whose write the host refuses in part, with the host's edit open or not. This host rolls
// nothing back, so what it ends with is what the run wrote.
enum class PrefsAfter { Task, Before };

struct PartialCase {
    const char* name;
    bool asDefault;
    bool editOpens;
    std::function<void(quortest::RecordHost&, quorfaults::FaultLayer&)> refuse;
    Allotments after;
    PrefsAfter prefs;
};

void PrintTo(const PartialCase& c, std::ostream* os) { *os << c.name; }

Allotments Without(Allotments rows, std::int16_t duration) {
    rows.erase(duration);
    return rows;
}

Allotments With(Allotments rows, std::int16_t duration, std::int16_t width) {
    rows[duration] = width;
    return rows;
}

void RefuseTheThirdRow(quortest::RecordHost&, quorfaults::FaultLayer& faults) {
    faults.refusedSaves = {{kTagAllotment, 128, 0}};
}

// An old row at a duration the task does not write, which the host will not delete.
void KeepAnOldRow(quortest::RecordHost& host, quorfaults::FaultLayer& faults) {
    Bytes bytes(12, 0);
    bytes[0] = 55;
    host.Put(kTagAllotment, 100, 0, bytes);
    faults.refusedDeletes = {{kTagAllotment, 100, 0}};
}

const PartialCase kPartialCases[] = {
    // Nothing could roll a default run back without its edit: it leaves every row the host
    // took, where stopping would leave the old table deleted and two rows of the new one.
    {"DefaultWithoutAnEditWritesEveryRowTheHostTakes", true, false, RefuseTheThirdRow,
     Without(TableOf(Table::Tight), 128), PrefsAfter::Task},
    {"DefaultInAnEditStopsAtTheRefusedRow",
     true,
     true,
     RefuseTheThirdRow,
     {{0, 72}, {96, 36}},
     PrefsAfter::Before},
    {"DefaultWithoutAnEditWritesBesideAnOldRowItCouldNotDelete", true, false, KeepAnOldRow,
     With(TableOf(Table::Tight), 100, 55), PrefsAfter::Task},
    {"DefaultInAnEditWritesNothingBesideAnOldRowItCouldNotDelete",
     true,
     true,
     KeepAnOldRow,
     {{100, 55}},
     PrefsAfter::Before},
    {"DefaultWithoutAnEditStillLeavesUnreadPreferencesAlone", true, false,
     [](quortest::RecordHost&, quorfaults::FaultLayer& faults) { faults.refusedLoads = {kPrefs1}; },
     TableOf(Table::Tight), PrefsAfter::Before},
    // An apply run writes the rows only for the respacing, and stops at the first refusal with
    // or without an edit: the restore puts the document's own table back.
    {"ApplyWithoutAnEditStopsAndPutsTheDocumentBack",
     false,
     false,
     RefuseTheThirdRow,
     {{0, 70}, {1024, 90}},
     PrefsAfter::Before},
};

class PartialWrites : public BlockHandlerTest, public ::testing::WithParamInterface<PartialCase> {};

TEST_P(PartialWrites, FailTheRunAndLeaveWhatOnlyTheWriteItselfCanKeep) {
    const PartialCase& c = GetParam();
    faults.starts = c.editOpens ? quorfaults::Answer::Honest : quorfaults::Answer::Refuse;
    c.refuse(store, faults);
    EXPECT_FALSE(Run(kTight, c.asDefault, true));
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(AllotmentsIn(store.records), c.after);
    if (c.prefs == PrefsAfter::Task) {
        EXPECT_EQ(Word(Prefs36(store.records), 12), 1);
    } else {
        EXPECT_EQ(Prefs36(store.records), Prefs36(before));
    }
}

INSTANTIATE_TEST_SUITE_P(Refusals, PartialWrites, ::testing::ValuesIn(kPartialCases),
                         quortest::RowName{});

}  // namespace
