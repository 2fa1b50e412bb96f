// The notavo-sim command as people run it: a process with arguments and a terminal, its exit
// status, what it prints and the files it leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "simhost/document/document_file.h"
#include "simhost/document/note_widths.h"
#include "spacing/spacing_tasks.h"
#include "tests/app/sim_command.h"
#include "tests/app/svg_query.h"
#include "tests/support/row_name.h"

namespace {

namespace fs = std::filesystem;
using simtest::Command;
using simtest::ExpectGolden;
using simtest::Outcome;
using simtest::ReadFile;
using simtest::Sample;

TEST_F(Command, TheDemoRunPrintsWidthsAndPositionsAndDrawsTheGoldenPicture) {
    const fs::path svg = Scratch("before_after.svg");
    const Outcome run =
        Run({"--document", Sample("scores/rhythm_study.ntv"), "--task", "Loose Allotment",
             "--measures", "1-3", "--fixed-barlines", "--svg", svg.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("applying \"Loose Allotment\" to measures 1-3 with Fixed Barlines"),
              std::string::npos)
        << run.err;
    std::string out = run.out;
    const std::string wrote = "wrote " + svg.string();
    ASSERT_NE(out.find(wrote), std::string::npos) << out;
    out.replace(out.find(wrote), wrote.size(), "wrote OUT.svg");
    ExpectGolden(out, "tests/app/golden/demo_output.txt");
    ExpectGolden(ReadFile(svg), "tests/app/golden/demo_before_after.svg");
}

// The README shows this picture of a piano score; it is what the command it quotes draws.
TEST_F(Command, TheReadmesPianoPictureIsWhatTheCommandDraws) {
    const fs::path svg = Scratch("piano.svg");
    const Outcome run = Run({"--document", Sample("scores/piano_prelude.musicxml"), "--task",
                             "Loose Allotment", "--measures", "1-4", "--svg", svg.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
    const std::string picture = ReadFile(svg);
    ExpectGolden(picture, "docs/piano-before-after.svg");
    // What it shows, measure by measure, before and after: the left hand's beams and the right
    // hand's pair, the phrase slurs and the grace note's, and the tie into the last chord.
    const auto xml = apptest::ParseSvg(picture);
    for (const char* system : {"before", "after"}) {
        for (const auto& [mark, counts] : std::vector<std::pair<std::string, std::vector<size_t>>>{
                 {"beam", {2, 3, 2, 0}}, {"tie", {0, 0, 1, 0}}, {"slur", {2, 0, 1, 0}}}) {
            std::vector<size_t> drawn;
            for (int m = 1; m <= 4; ++m) {
                drawn.push_back(
                    apptest::All(xml, std::string("//*[@class='system'][@data-label='") + system +
                                          "']/*[@class='measure'][@data-n='" + std::to_string(m) +
                                          "']//*[@class='" + mark + "']")
                        .size());
            }
            EXPECT_EQ(drawn, counts) << system << " " << mark;
        }
    }
}

// The number is the one the build was given, as the module's version resource carries it.
TEST_F(Command, VersionPrintsTheBuildsVersionAndRunsNothing) {
    const Outcome run = Run({"--version"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string("notavo-sim ") + QUOR_VERSION + "\n");
    EXPECT_EQ(run.err, "");
}

struct BadInput {
    const char* name;
    const char* fileName;  // written to the scratch folder first when not null
    const char* fileText;
    std::vector<std::string> args;  // "@" stands for the scratch file
    int status;
    const char* message;  // what stderr must say
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

class RefusedInput : public Command, public ::testing::WithParamInterface<BadInput> {};

TEST_P(RefusedInput, SaysWhereAndWhatIsWrongAndWritesNothing) {
    const BadInput& bad = GetParam();
    std::vector<std::string> args;
    for (const std::string& arg : bad.args) {
        args.push_back(arg == "@" ? Scratch(bad.fileName).string() : arg);
    }
    if (bad.fileName != nullptr && bad.fileText != nullptr) {
        std::ofstream(Scratch(bad.fileName), std::ios::binary) << bad.fileText;
    }
    const fs::path svg = Scratch("out.svg");
    const fs::path saved = Scratch("out.ntv");
    args.insert(args.end(), {"--svg", svg.string(), "--save", saved.string()});

    const Outcome run = Run(args);
    EXPECT_EQ(run.status, bad.status) << run.err;
    EXPECT_NE(run.err.find(bad.message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(svg));
    EXPECT_FALSE(fs::exists(saved));
}

INSTANTIATE_TEST_SUITE_P(
    NotavoSim, RefusedInput,
    ::testing::Values(
        BadInput{"MissingFile",
                 "absent.ntv",
                 nullptr,
                 {"--document", "@", "--task", "Tight Scaling"},
                 1,
                 "absent.ntv: cannot be read"},
        BadInput{"MalformedDocument",
                 "bad.ntv",
                 "notavo-sim document 1\nmeasure 1\nvoice 1 1 q:D5 q:H9\n",
                 {"--document", "@", "--task", "Tight Scaling"},
                 1,
                 "bad.ntv:3:"},
        BadInput{"MalformedMusicXml",
                 "bad.musicxml",
                 "<score-partwise><part-list><score-part id=\"P1\"/></part-list>\n"
                 "<part id=\"P1\"><measure number=\"1\"><note>\n",
                 {"--document", "@", "--task", "Tight Scaling"},
                 1,
                 "bad.musicxml:"},
        BadInput{"SelectionBeyondTheScore",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--task", "Tight Scaling",
                  "--measures", "3-9"},
                 1,
                 "measures 3-9 reach outside the document; the document has "
                 "measures 1-4"},
        BadInput{"SelectionBeforeTheScore",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--task", "Tight Scaling",
                  "--measures", "0-2"},
                 1,
                 "measures 0-2 reach outside the document; the document has "
                 "measures 1-4"},
        BadInput{"UnknownTask",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--task", "Loose Scaling"},
                 1,
                 "unknown task \"Loose Scaling\"; the tasks are \"Tight Allotment\""},
        BadInput{"ReversedRange",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--task", "Tight Scaling",
                  "--measures", "4-2"},
                 2,
                 "measures 4-2 are reversed; the document has measures 1-4"},
        BadInput{"RangeNotOfNumbers",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--task", "Tight Scaling",
                  "--measures", "two-4"},
                 2,
                 "--measures: takes A-B, two measure numbers, not 'two-4'"},
        BadInput{"TaskWithoutADocument",
                 nullptr,
                 nullptr,
                 {"--task", "Tight Scaling", "--measures=1-2"},
                 2,
                 "--task requires --document"},
        BadInput{
            "ListTasksWithARun",
            nullptr,
            nullptr,
            {"--list-tasks", "--document", Sample("scores/chorale.ntv"), "--task", "Tight Scaling"},
            2,
            "--task excludes --list-tasks"},
        BadInput{"TaskAndScenario",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--task", "Tight Scaling",
                  "--scenario", Sample("scenarios/edit_names.scenario")},
                 2,
                 "--scenario excludes --task"},
        BadInput{"HostVersionNotHexadecimal",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--host-version=12x"},
                 2,
                 "--host-version: takes a hexadecimal number, not '12x'"},
        BadInput{"UnknownOption",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--frobnicate"},
                 2,
                 "--frobnicate"},
        BadInput{"FlagWithoutARun",
                 nullptr,
                 nullptr,
                 {"--document", Sample("scores/chorale.ntv"), "--fixed-barlines"},
                 2,
                 "--fixed-barlines goes with --task"},
        BadInput{"ScenarioThatFails",
                 "wrong.scenario",
                 "staff 1 \"q q q q\"\nselect 1 1\ninvoke\nchoose \"Tight Scaling\"\n"
                 "click apply\nexpect beeps 1\n",
                 {"--scenario", "@"},
                 1,
                 "wrong.scenario:6:"},
        // The document is built only at the step after: the notes are read first.
        BadInput{"ScenarioWithNotesThatDoNotRead",
                 "typo.scenario",
                 "staff 1 \"q qq\"\ninvoke\n",
                 {"--scenario", "@"},
                 1,
                 "typo.scenario:1: voice \"q qq\", column 4: unexpected character after an event"},
        BadInput{"MusicXmlPastTheLongestMeasure",
                 "long.musicxml",
                 "<score-partwise><part id=\"P1\"><measure>\n<attributes>"
                 "<divisions>1</divisions></attributes>\n<forward><duration>2000"
                 "</duration></forward></measure></part></score-partwise>\n",
                 {"--document", "@", "--task", "Tight Scaling"},
                 1,
                 "long.musicxml:3: part \"P1\", measure 1: <duration> \"2000\" "
                 "reaches past the 1024 quarters a measure may last"}),
    quortest::RowName{});

// The files in the scratch folder that the test itself did not make: what a run left behind.
std::vector<std::string> LeftBehind(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "stdin.txt" && name != "stdout.txt" && name != "stderr.txt") {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(Command, AnOutputThatCannotBeWrittenLeavesNoDocumentSavedAndNoTemporaryFile) {
    const fs::path saved = Scratch("out.ntv");
    const fs::path svg = Scratch("no such folder") / "out.svg";
    const Outcome run = Run({"--document", Sample("scores/chorale.ntv"), "--task",
                             "Tight Allotment", "--save", saved.string(), "--svg", svg.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(svg.string() + ": cannot write the file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("saved"), std::string::npos) << run.out;
    EXPECT_EQ(LeftBehind(Scratch("")), std::vector<std::string>{});
}

// A folder where the picture should go can be written beside but not replaced: the run says
// which of its outputs are in place.
TEST_F(Command, AnOutputThatCannotBePutInPlaceIsNamedBesideThoseThatAre) {
    const fs::path saved = Scratch("out.ntv");
    const fs::path svg = Scratch("picture.svg");
    fs::create_directory(svg);
    const Outcome run = Run({"--document", Sample("scores/chorale.ntv"), "--task",
                             "Tight Allotment", "--save", saved.string(), "--svg", svg.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(svg.string() + ": cannot put the file in place"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("written: " + saved.string() + "; not written: " + svg.string()),
              std::string::npos)
        << run.err;
    EXPECT_EQ(LeftBehind(Scratch("")), (std::vector<std::string>{"out.ntv", "picture.svg"}));
    EXPECT_TRUE(fs::is_directory(svg));
}

TEST_F(Command, WrittenFilesGetTheModeTheUmaskGivesANewFile) {
    const fs::path saved = Scratch("out.ntv");
    const fs::path svg = Scratch("out.svg");
    const mode_t previous = umask(027);
    const Outcome run = Run({"--document", Sample("scores/chorale.ntv"), "--task",
                             "Tight Allotment", "--save", saved.string(), "--svg", svg.string()});
    umask(previous);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const fs::path& path : {saved, svg}) {
        EXPECT_EQ(fs::status(path).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
            << path;
    }
}

TEST_F(Command, SetAsDefaultIsSavedAndTheReopenedDocumentSpacesByTheTask) {
    const fs::path saved = Scratch("tight.ntv");
    const Outcome run = Run({"--document", Sample("scores/chorale.ntv"), "--task",
                             "Tight Allotment", "--default", "--save", saved.string()});
    ASSERT_EQ(run.status, 0) << run.err;

    const simhost::ParsedDocument reopened = simhost::ReadDocumentFile(saved.string());
    ASSERT_TRUE(reopened.document.has_value()) << reopened.error.Describe();
    const auto content = SpacingTaskContentFor(SpacingTaskTable()[0].id);
    ASSERT_TRUE(content.has_value());
    std::vector<simhost::AllotmentRow> expected;
    for (const AllotmentRow& row : content->allotments) {
        expected.push_back(simhost::AllotmentRow{row.duration, row.width});
    }
    EXPECT_EQ(simhost::AllotmentTable::Read(reopened.document->Records()).Rows(), expected);
    EXPECT_TRUE(simhost::NoteWidths::FromRecords(reopened.document->Records()).ByAllotments());

    // Opened again, the task is already what the document has: setting it changes nothing.
    const fs::path again = Scratch("again.ntv");
    ASSERT_EQ(Run({"--document", saved.string(), "--task", "Tight Allotment", "--default", "--save",
                   again.string()})
                  .status,
              0);
    EXPECT_EQ(ReadFile(again), ReadFile(saved));
}

// Hosts before 0x11000000 have no UTF-16 enumeration; the menu entry must come out the same.
TEST_F(Command, EveryHostVersionShowsTheMenuEntryItEnumerated) {
    for (const char* version : {"0x10000000", "0x11000000", "0x12050000"}) {
        const Outcome run = Run({"--document", Sample("scores/chorale.ntv"), "--task",
                                 "Tight Scaling", "--host-version", version});
        EXPECT_EQ(run.status, 0) << version << ": " << run.err;
        EXPECT_NE(run.out.find("menu entry      Quor Note Spacing...\n"), std::string::npos)
            << version << ": " << run.out;
    }
}

// Options may be written as --option=value, and the help names them all.
TEST_F(Command, TakesOptionEqualsValueAndListsItsOptions) {
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--task", "--measures", "--fixed-barlines", "--compare-all"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }

    const fs::path svg = Scratch("out.svg");
    const Outcome run = Run({"--document=" + Sample("scores/chorale.ntv"), "--task=Tight Scaling",
                             "--measures=1-2", "--svg=" + svg.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("applying \"Tight Scaling\" to measures 1-2"), std::string::npos)
        << run.err;
    EXPECT_TRUE(fs::exists(svg));
}

TEST_F(Command, TheInteractiveModeDrivesTheDialogLineByLine) {
    const fs::path saved = Scratch("session.ntv");
    const Outcome run =
        Run({"--document", Sample("scores/chorale.ntv"), "--interactive"},
            "help\nlist\nchoose \"Tight Scaling\"\ntick\napply\nundo\nredo\nfrobnicate\nsave " +
                saved.string() + "\nquit\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("  Golden Ratio Scaling\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("commands: list,", run.out.find("commands: list,") + 1),
              std::string::npos)
        << "help prints the commands again";
    EXPECT_NE(run.out.find("done: 1 edit(s) to undo"), std::string::npos) << run.out;
    // An unknown command is answered on the standard error, and the session goes on to save.
    EXPECT_NE(run.err.find("frobnicate"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("frobnicate"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("saved " + saved.string()), std::string::npos) << run.out;
    const simhost::ParsedDocument reopened = simhost::ReadDocumentFile(saved.string());
    ASSERT_TRUE(reopened.document.has_value()) << reopened.error.Describe();
    EXPECT_EQ(reopened.document->History().UndoSteps().size(), 0u) << "history is not saved";
}

// What is read but cannot be drawn as written is named with its file and line, and the run
// goes on.
TEST_F(Command, WarningsAboutTheScoreNameFileAndLineAndTheRunGoesOn) {
    const fs::path score = Scratch("drums.musicxml");
    std::ofstream(score, std::ios::binary)
        << "<score-partwise><part-list><score-part id=\"P1\"/></part-list>\n"
           "<part id=\"P1\"><measure number=\"1\"><attributes><divisions>1</divisions>\n"
           "<clef><sign>percussion</sign></clef></attributes>\n"
           "<note><unpitched><display-step>C</display-step><display-octave>5</display-octave>"
           "</unpitched><duration>4</duration></note></measure></part></score-partwise>\n";
    const fs::path svg = Scratch("drums.svg");
    const Outcome run =
        Run({"--document", score.string(), "--task", "Tight Scaling", "--svg", svg.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(score.string() + ":3: warning: part \"P1\", measure 1: a percussion "
                                            "clef"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(fs::exists(svg));
    EXPECT_NE(run.out.find("  staff 1  percussion clef\n"), std::string::npos) << run.out;
}

// A refused selection leaves the one before it, and the session goes on.
TEST_F(Command, TheInteractiveModeRefusesReversedAndOutsideSelectionsNamingTheMeasures) {
    const fs::path kept = Scratch("kept.ntv");
    const fs::path moved = Scratch("moved.ntv");
    const Outcome run = Run({"--document", Sample("scores/chorale.ntv"), "--interactive"},
                            "select 9 1\nselect 3 9\nselect 0 2\nsave " + kept.string() +
                                "\nselect 2 3\nsave " + moved.string() + "\nquit\n");
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* refusal :
         {"measures 9-1 are reversed; the document has measures 1-4\n",
          "measures 3-9 reach outside the document; the document has measures 1-4\n",
          "measures 0-2 reach outside the document; the document has measures 1-4\n"}) {
        EXPECT_NE(run.err.find(refusal), std::string::npos) << refusal << run.err;
    }
    const auto selection = [](const fs::path& path) {
        const simhost::ParsedDocument parsed = simhost::ReadDocumentFile(path.string());
        EXPECT_TRUE(parsed.document.has_value()) << parsed.error.Describe();
        return parsed.document ? std::pair{parsed.document->Selection().startMeasure,
                                           parsed.document->Selection().endMeasure}
                               : std::pair<std::int16_t, std::int16_t>{};
    };
    EXPECT_EQ(selection(kept), (std::pair<std::int16_t, std::int16_t>{1, 4}));
    EXPECT_EQ(selection(moved), (std::pair<std::int16_t, std::int16_t>{2, 3}));
}

// What a host may send is a scenario's to try: a reversed region beyond the score included.
TEST_F(Command, AScenarioMaySelectAReversedRegionOutsideTheDocument) {
    const fs::path script = Scratch("odd.scenario");
    std::ofstream(script, std::ios::binary)
        << "staff 1 \"q q q q | w\"\nselect 9 1\ninvoke\nchoose \"Tight Scaling\"\n";
    const Outcome run = Run({"--scenario", script.string()});
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(Command, CompareAllDrawsOneLabelledRowForEveryTaskTheDialogLists) {
    const fs::path svg = Scratch("all.svg");
    const Outcome run = Run({"--document", Sample("scores/two_parts.musicxml"), "--measures", "1-2",
                             "--compare-all", svg.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string picture = ReadFile(svg);
    for (const SpacingTaskEntry& task : SpacingTaskTable()) {
        EXPECT_NE(picture.find(std::string(">") + task.title + "<"), std::string::npos)
            << task.title;
    }
}

// A page or a script takes the tasks and their descriptions from the dialog, through this.
TEST_F(Command, ListTasksPrintsEveryTaskInTheDialogsOrderWithTheDescriptionItShows) {
    const Outcome run = Run({"--list-tasks"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected;
    for (const SpacingTaskEntry& task : SpacingTaskTable()) {
        expected += std::string(task.title) + "\n";
        std::istringstream description(task.description);
        for (std::string line; std::getline(description, line);) expected += "    " + line + "\n";
    }
    EXPECT_EQ(run.out, expected);
}

}  // namespace
