// What a file handed to notavo-sim may ask for: a MusicXML score, an archive, a document file or a
// scenario beyond a cap is refused with the file, the line and what is over the cap; a file that
// states durations far past its measures costs no more than its notes; and a real over-full
// measure (a cadenza) still reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "simhost/app/musicxml_import.h"
#include "simhost/app/score_svg.h"
#include "simhost/document/document_file.h"
#include "simhost/document/respacer.h"
#include "simhost/document/score_limits.h"
#include "simhost/scenario/scenario_script.h"
#include "tests/app/imported_score.h"
#include "tests/app/musicxml_text.h"
#include "tests/app/zip_builder.h"
#include "tests/support/row_name.h"

namespace {

using apptest::Attributes;
using apptest::Note;
using apptest::Partwise;

std::string Repeated(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

// The line (from 1) of the `nth` (from 1) occurrence of `marker`.
std::size_t LineOf(std::string_view text, std::string_view marker, int nth = 1) {
    std::size_t at = std::string_view::npos;
    for (int i = 0; i < nth; ++i) at = text.find(marker, at + 1);
    EXPECT_NE(at, std::string_view::npos) << marker;
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n'));
}

std::string At(const std::string& file, std::size_t line, const std::string& message) {
    return file + ":" + std::to_string(line) + ": " + message;
}

struct CapCase {
    const char* name;
    std::string text;
    std::string marker;  // what stands on the line the error names
    int nth;
    std::string message;
};

void PrintTo(const CapCase& c, std::ostream* os) { *os << c.name; }

// A reader's answer to a case's text: no document, and the error naming the line of the marker.
void ExpectRefused(const CapCase& c, const std::string& file, bool read, const std::string& error) {
    EXPECT_FALSE(read);
    EXPECT_EQ(error, At(file, LineOf(c.text, c.marker, c.nth), c.message));
}

// A note in a voice of its own, after a backup to the measure's start.
std::string VoiceNote(int voice) {
    return "<backup><duration>1</duration></backup>" +
           Note("C5", "1", "quarter", "", std::to_string(voice));
}

// Five tuplet groups opening at one note, each 2 in the time of 1: 32 in the time of 1 in all.
std::string NestedDuplets() {
    std::string tuplets;
    for (int number = 1; number <= 5; ++number) {
        tuplets += "<tuplet type=\"start\" number=\"" + std::to_string(number) +
                   "\"><tuplet-actual><tuplet-number>2</tuplet-number></tuplet-actual>"
                   "<tuplet-normal><tuplet-number>1</tuplet-number></tuplet-normal></tuplet>";
    }
    return Attributes(64) +
           Note("C5", "1", "eighth",
                apptest::TimeModification(32, 1) + "<notations>" + tuplets + "</notations>");
}

std::vector<std::vector<std::string>> PartsOfSixteenStaves(int parts) {
    return std::vector<std::vector<std::string>>(
        parts, {"<attributes><divisions>1</divisions><staves>16</staves></attributes>"});
}

class MusicXmlOverACap : public ::testing::TestWithParam<CapCase> {};

TEST_P(MusicXmlOverACap, IsRefusedWithTheLineAndTheCap) {
    const auto parsed = simhost::ImportMusicXml(GetParam().text, "score.musicxml");
    ExpectRefused(GetParam(), "score.musicxml", parsed.document.has_value(),
                  parsed.error.Describe());
}

INSTANTIATE_TEST_SUITE_P(
    Caps, MusicXmlOverACap,
    ::testing::Values(
        CapCase{"Measures",
                Partwise({std::vector<std::string>(simhost::kMaxMeasures + 1, Attributes(1))}),
                "<measure number=\"10001\">", 1, "part \"P1\": more than 10000 measures"},
        CapCase{"Staves", Partwise(PartsOfSixteenStaves(9)), "<part id=\"P9\">", 1,
                "more than 128 staves"},
        CapCase{"VoicesOnAStaff",
                Partwise({{Attributes(1) + Note("C5", "1", "quarter", "", "1") +
                           [] {
                               std::string voices;
                               for (int v = 2; v <= simhost::kMaxVoicesPerStaff + 1; ++v) {
                                   voices += VoiceNote(v);
                               }
                               return voices;
                           }()}}),
                "<voice>65</voice>", 1, "part \"P1\", measure 1: more than 64 voices on one staff"},
        CapCase{"EventsInAMeasure",
                Partwise({{Attributes(8) + Repeated(Note("C5", "1", "32nd"), 4097)}}), "<note>",
                4097,
                "part \"P1\", measure 1: more than 4096 notes, rests and spaces in one measure"},
        CapCase{"ADurationPastTheLongestMeasure",
                Partwise({{Attributes(1) + "<forward>\n<duration>1025</duration></forward>"}}),
                "<duration>1025", 1,
                "part \"P1\", measure 1: <duration> \"1025\" reaches past the 1024 quarters a "
                "measure may last"},
        CapCase{"AMeasureRunningPastTheLongestMeasure",
                Partwise({{Attributes(1) +
                           Repeated("<forward><duration>600</duration></forward>\n", 2)}}),
                "<forward>", 2,
                "part \"P1\", measure 1: <forward> reaches past the 1024 quarters a measure may "
                "last"},
        CapCase{"ADurationDividedTooFinely",
                Partwise({{Attributes(1000000007) + Note("C5", "1", "")}}), "<note>", 1,
                "part \"P1\", measure 1: <duration> \"1\" divides a quarter into more than "
                "1073741824 parts"},
        CapCase{"TupletsNestedTooDeep", Partwise({{NestedDuplets()}}), "<note>", 1,
                "part \"P1\", measure 1: tuplet groups nested more than 4 deep"},
        CapCase{"ATimeSignatureLongerThanAnyMeasure", Partwise({{Attributes(1, 1000, 1)}}),
                "<time>", 1,
                "part \"P1\", measure 1: <time> reaches past the 1024 quarters a measure may "
                "last"}),
    quortest::RowName{});

TEST(ReaderLimits, ACapInsideAnArchiveNamesTheArchiveTheEntryAndTheLine) {
    const std::string score =
        Partwise({{Attributes(1) + "<forward><duration>2000</duration></forward>"}});
    const auto parsed =
        simhost::ImportMusicXml(apptest::ZipBytes({{"music/score.xml", score}}), "x.mxl");
    EXPECT_FALSE(parsed.document);
    EXPECT_EQ(parsed.error.Describe(),
              At("x.mxl/music/score.xml", LineOf(score, "<forward>"),
                 "part \"P1\", measure 1: <duration> \"2000\" reaches past the 1024 quarters a "
                 "measure may last"));
}

// A flute part of under 1 kB whose <forward> states 80 million quarters. Read, laid out and
// drawn as notavo-sim does, in a child process that may take no more than 1 GB of address
// space (unless a sanitizer needs its own): a reader that turns the durations into spaces runs
// out of it; one that counts the notes refuses the file at once.
const std::string kFarPastTheMeasure =
    "<?xml version=\"1.0\"?>\n<score-partwise version=\"4.0\">\n"
    "<part-list><score-part id=\"P1\"><part-name>Flute</part-name></score-part></part-list>\n"
    "<part id=\"P1\">\n<measure number=\"1\">\n"
    "<attributes><divisions>1</divisions><time><beats>4</beats><beat-type>4</beat-type></time>"
    "<clef><sign>G</sign><line>2</line></clef></attributes>\n"
    "<note><pitch><step>C</step><octave>5</octave></pitch><duration>1</duration>"
    "<voice>1</voice><type>quarter</type></note>\n"
    "<forward><duration>80000000</duration><voice>1</voice></forward>\n"
    "<note><pitch><step>D</step><octave>5</octave></pitch><duration>1</duration>"
    "<voice>1</voice><type>quarter</type></note>\n"
    "</measure>\n</part>\n</score-partwise>\n";

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOwnAddressSpace = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kOwnAddressSpace = true;
#else
constexpr bool kOwnAddressSpace = false;
#endif
#else
constexpr bool kOwnAddressSpace = false;
#endif

TEST(ReaderLimits, DurationsFarPastTheMeasureCostLittleTimeAndMemory) {
    ASSERT_LT(kFarPastTheMeasure.size(), 1024u);
    const std::string expected = At("flute.musicxml", LineOf(kFarPastTheMeasure, "<forward>"),
                                    "part \"P1\", measure 1: <duration> \"80000000\" reaches "
                                    "past the 1024 quarters a measure may last");
    rusage own{};
    getrusage(RUSAGE_SELF, &own);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!kOwnAddressSpace) {
            const rlimit limit{std::uint64_t{1} << 30, std::uint64_t{1} << 30};
            setrlimit(RLIMIT_AS, &limit);
        }
        alarm(20);
        auto parsed = simhost::ImportMusicXml(kFarPastTheMeasure, "flute.musicxml");
        if (parsed.document) {
            simhost::Respacer(*parsed.document).RespaceMeasures(1, 1);
            simhost::BeforeAfterSvg(*parsed.document, *parsed.document, {1, 1});
        }
        _exit(!parsed.document && parsed.error.Describe() == expected ? 0 : 1);
    }
    int status = 0;
    rusage used{};
    ASSERT_EQ(wait4(child, &status, 0, &used), child);
    // The reader's own processor time: suites sharing the cores do not count against it.
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    const double spent = seconds(used.ru_utime) + seconds(used.ru_stime);
    ASSERT_TRUE(WIFEXITED(status)) << "the reader was killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the file was not refused with: " << expected;
    EXPECT_LT(spent, 2.0);
    // Peak resident sizes in kB; the child starts with what this process holds.
    EXPECT_LT(used.ru_maxrss, own.ru_maxrss + 64L * 1024);
}

// Forty sixteenths and four quarters in a measure of 4/4, as a cadenza is written.
TEST(ReaderLimits, ARealOverFullMeasureStillReads) {
    const std::string cadenza = Attributes(4, 4) + Repeated(Note("E5", "1", "16th"), 40) +
                                Repeated(Note("C5", "4", "quarter"), 4);
    const simhost::Document document = apptest::Import(Partwise({{cadenza}}));
    const simhost::Measure& measure = document.GetScore().Measures().at(0);
    ASSERT_EQ(measure.staves.at(0).size(), 1u);
    const auto timed = measure.staves[0][0].Timed();
    ASSERT_EQ(timed.size(), 44u);
    EXPECT_EQ(timed.back().onset, simhost::Rational(std::int64_t{13} * simhost::kQuarter));
}

TEST(ReaderLimits, AMeasureOfTheLongestLengthStillReads) {
    const auto full = simhost::ImportMusicXml(
        Partwise({{Attributes(1) + "<forward><duration>1023</duration></forward>" +
                   Note("C5", "1", "quarter")}}),
        "score.musicxml");
    EXPECT_TRUE(full.document) << full.error.Describe();
}

class DocumentOverACap : public ::testing::TestWithParam<CapCase> {};

TEST_P(DocumentOverACap, IsRefusedWithTheLineAndTheCap) {
    const auto parsed = simhost::ParseDocumentText(GetParam().text, "doc.ntv");
    ExpectRefused(GetParam(), "doc.ntv", parsed.document.has_value(), parsed.error.Describe());
}

const std::string kDocumentStart = "notavo-sim document 1\nstaff 1 1 1\n";

std::string Staves(int count) {
    std::string text = "notavo-sim document 1\n";
    for (int slot = 1; slot <= count; ++slot) {
        text += "staff " + std::to_string(slot) + " " + std::to_string(slot) + " 1\n";
    }
    return text;
}

std::string Measures(int count) {
    std::string text = kDocumentStart;
    for (int m = 1; m <= count; ++m) text += "measure " + std::to_string(m) + "\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Caps, DocumentOverACap,
    ::testing::Values(
        CapCase{"Measures", Measures(simhost::kMaxMeasures + 1), "measure 10001", 1,
                "a measure number must be a number from 1 to 10000, not \"10001\""},
        CapCase{"Staves", Staves(simhost::kMaxStaves + 1), "staff 129", 1, "more than 128 staves"},
        CapCase{"VoicesOnAStaff",
                kDocumentStart + "measure 1\n" +
                    [] {
                        std::string voices;
                        for (int v = 1; v <= simhost::kMaxVoicesPerStaff + 1; ++v) {
                            voices += "voice 1 " + std::to_string(v) + " q\n";
                        }
                        return voices;
                    }(),
                "voice 1 65", 1, "a voice number must be a number from 1 to 64, not \"65\""},
        CapCase{"EventsInAMeasure",
                kDocumentStart + "measure 1\nvoice 1 1" + Repeated(" 128", 2048) + "\nvoice 1 2" +
                    Repeated(" 128", 2049) + "\n",
                "voice 1 2", 1, "more than 4096 notes, rests and spaces in one measure"},
        CapCase{"AVoicePastTheLongestMeasure",
                kDocumentStart + "measure 1\nvoice 1 1" + Repeated(" b", 129) + "\n", "voice", 1,
                "a voice that reaches past the 1024 quarters a measure may last"},
        CapCase{"TupletsNestedTooDeep",
                kDocumentStart + "measure 1\nvoice 1 1 (3:2 (3:2 (3:2 (3:2 (3:2 8)))))\n", "voice",
                1, "tuplet groups nested more than 4 deep"},
        CapCase{"AClefPastTheLongestMeasure", kDocumentStart + "measure 1\nclef 1 2000000 F4\n",
                "clef", 1,
                "a time in 1024ths must be a number from 0 to 1048576, not \"2000000\""}),
    quortest::RowName{});

TEST(ReaderLimits, ADocumentAtEveryCapStillReads) {
    const std::string document =
        kDocumentStart + "measure 1\nvoice 1 1" + Repeated(" 128", 4096) + "\nclef 1 1048576 F4\n";
    EXPECT_TRUE(simhost::ParseDocumentText(document, "doc.ntv").document);
    EXPECT_TRUE(simhost::ParseDocumentText(Staves(simhost::kMaxStaves), "doc.ntv").document);
    EXPECT_TRUE(simhost::ParseDocumentText(Measures(simhost::kMaxMeasures), "doc.ntv").document);
}

class ScenarioOverACap : public ::testing::TestWithParam<CapCase> {};

TEST_P(ScenarioOverACap, IsRefusedWithTheLineAndTheCap) {
    const auto parsed = simhost::scenario::ParseScript(GetParam().text, "s.scenario");
    ExpectRefused(GetParam(), "s.scenario", parsed.script.has_value(), parsed.error.Describe());
}

INSTANTIATE_TEST_SUITE_P(
    Caps, ScenarioOverACap,
    ::testing::Values(
        CapCase{"Measures", "staff 1\nmeasures 10001\ninvoke\n", "measures", 1,
                "a document of 10001 measures: from 0 to 10000"},
        // A count the runner would narrow to 100000.
        CapCase{"NegativeMeasures", "staff 1\nmeasures -4294867296\n", "measures", 1,
                "a document of -4294867296 measures: from 0 to 10000"},
        CapCase{"ADragNoScreenHolds", "staff 1\ninvoke\ndrag-bottom 2147483647\n", "drag", 1,
                "a move of 2147483647 pixels: at most 32767 either way"},
        CapCase{"Staves", Repeated("staff 1\n", simhost::kMaxStaves + 1), "staff", 129,
                "more than 128 staves"},
        CapCase{"VoicesOnAStaff",
                "staff 1" + Repeated(" q", simhost::kMaxVoicesPerStaff + 1) + "\n", "staff", 1,
                "more than 64 voices on one staff"},
        CapCase{"AVoiceOfTooManyMeasures", "staff 1 \"q" + Repeated(" | q", 10000) + "\"\n",
                "staff", 1, "more than 10000 measures"},
        // The silent staff plays four quarters in every measure, the builder's own.
        CapCase{"EventsInAMeasure", "staff 1\nstaff 1 \"" + Repeated(" 128", 4093) + "\"\n",
                "staff", 2, "more than 4096 notes, rests and spaces in one measure"},
        CapCase{"TupletsNestedTooDeep", "staff 1 \"(3:2 (3:2 (3:2 (3:2 (3:2 8)))))\"\n", "staff", 1,
                "tuplet groups nested more than 4 deep"}),
    quortest::RowName{});

TEST(ReaderLimits, AScenarioAtTheMeasureCapStillReads) {
    EXPECT_TRUE(simhost::scenario::ParseScript("staff 1\nmeasures 10000\n", "s.scenario").script);
}

}  // namespace
