// The score notation: durations with dots and (nested) tuplets, chords and rests, the text it
// writes back, and the errors it gives.
#include "simhost/document/score_notation.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/row_name.h"

namespace {

using simhost::Rational;

std::vector<Rational> Durations(const char* text) {
    simhost::NotationError error;
    const auto voice = simhost::ParseVoice(text, &error);
    EXPECT_TRUE(voice) << error.message << " at " << error.column;
    std::vector<Rational> durations;
    if (voice) {
        for (const auto& timed : voice->Timed()) durations.push_back(timed.duration);
    }
    return durations;
}

struct DurationCase {
    const char* text;
    std::vector<Rational> durations;
};

void PrintTo(const DurationCase& c, std::ostream* os) { *os << c.text; }

class NotationDurations : public ::testing::TestWithParam<DurationCase> {};

TEST_P(NotationDurations, GiveEachEventItsSoundingDuration) {
    EXPECT_EQ(Durations(GetParam().text), GetParam().durations);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NotationDurations,
    ::testing::Values(
        DurationCase{"b w h q 8 16 32 64 128", {8192, 4096, 2048, 1024, 512, 256, 128, 64, 32}},
        DurationCase{"q. 8.. rh.", {1536, 896, 3072}},
        DurationCase{"(3:2 8 8 8) q",
                     {Rational(1024, 3), Rational(1024, 3), Rational(1024, 3), 1024}},
        DurationCase{"(3:2 8 8 8)(3:2 q)",
                     {Rational(1024, 3), Rational(1024, 3), Rational(1024, 3), Rational(2048, 3)}},
        DurationCase{"(3:2 (3:2 16 16 16) 8 8)",
                     {Rational(1024, 9), Rational(1024, 9), Rational(1024, 9), Rational(1024, 3),
                      Rational(1024, 3)}},
        DurationCase{"(5:4 16 16 16 16 16)", std::vector<Rational>(5, Rational(1024, 5))}),
    quortest::RowName{});

TEST(ScoreNotation, ChordsRestsAndPitchesAreRead) {
    const auto voice = simhost::ParseVoice("q:C4+E4+G4 r8 8:F#5 h:Bb3", nullptr);
    ASSERT_TRUE(voice);
    ASSERT_EQ(voice->events.size(), 4u);
    EXPECT_EQ(voice->events[0].pitches.size(), 3u);
    EXPECT_EQ(voice->events[0].pitches[1], (simhost::Pitch{2, 0, 4}));
    EXPECT_TRUE(voice->events[1].IsRest());
    EXPECT_EQ(voice->events[2].pitches[0], (simhost::Pitch{3, 1, 5}));
    EXPECT_EQ(voice->events[3].pitches[0], (simhost::Pitch{6, -1, 3}));
}

TEST(ScoreNotation, GraceCueSpaceAndWholeMeasureRestsAreMarkedByPrefixes) {
    const auto voice = simhost::ParseVoice("g8:D5 g/16:E5+G5 cq:F5 sq Rh. crq", nullptr);
    ASSERT_TRUE(voice);
    ASSERT_EQ(voice->events.size(), 6u);
    const auto& e = voice->events;
    EXPECT_EQ(e[0].grace, simhost::Grace::Plain);
    EXPECT_EQ(e[1].grace, simhost::Grace::Slashed);
    EXPECT_EQ(e[1].pitches.size(), 2u);
    EXPECT_TRUE(e[2].cue);
    EXPECT_FALSE(e[2].IsGrace());
    EXPECT_TRUE(e[3].space);
    EXPECT_FALSE(e[3].IsRest()) << "a space is not drawn as a rest";
    EXPECT_TRUE(e[4].wholeMeasure);
    EXPECT_TRUE(e[4].IsRest());
    EXPECT_TRUE(e[5].cue);
    EXPECT_TRUE(e[5].IsRest());
}

// Grace notes last nothing and stand at the onset of the note after them, counted back from
// it; the time of every other event is as if they were not there.
TEST(ScoreNotation, GraceNotesTakeNoTimeAndAreRankedBackFromTheirNote) {
    const auto voice = simhost::ParseVoice("q g16 g16 (3:2 8 g8 8 8) h", nullptr);
    ASSERT_TRUE(voice);
    std::vector<Rational> onsets;
    std::vector<Rational> durations;
    std::vector<std::int32_t> ranks;
    for (const auto& timed : voice->Timed()) {
        onsets.push_back(timed.onset);
        durations.push_back(timed.duration);
        ranks.push_back(timed.graceRank);
    }
    const Rational third(1024, 3);
    EXPECT_EQ(onsets, (std::vector<Rational>{0, 1024, 1024, 1024, 1024 + third, 1024 + third,
                                             1024 + 2 * third, 2048}));
    EXPECT_EQ(durations, (std::vector<Rational>{1024, 0, 0, third, 0, third, third, 2048}));
    EXPECT_EQ(ranks, (std::vector<std::int32_t>{0, 2, 1, 0, 1, 0, 0, 0}));
}

TEST(ScoreNotation, WrittenTextReadsBackToTheSameVoice) {
    for (const char* text :
         {"q:C4+E4+G4 r8 (3:2 8 (3:2 16 16 16) 8) h.:Bb3", "(3:2 8 8 8)(3:2 8 8 8)", "",
          "g/8:A5 cg16:B5 q:G5 cq:F#5 sh (4:5 Rw) cr8"}) {
        const auto voice = simhost::ParseVoice(text, nullptr);
        ASSERT_TRUE(voice) << text;
        const auto again = simhost::ParseVoice(simhost::FormatVoice(*voice), nullptr);
        ASSERT_TRUE(again) << simhost::FormatVoice(*voice);
        EXPECT_EQ(*again, *voice) << text;
    }
}

TEST(ScoreNotation, MarksAreReadOntoTheirEventPitchAndGroup) {
    using simhost::BeamMark;
    using simhost::Placement;
    using simhost::StemDirection;
    const auto voice = simhost::ParseVoice(
        "8:C5~[up,beam=bf,slur+1^] 16:~C5+E5~[down,beam=ek,slur-1,slur+2_] "
        "(3:2[bracket,num=none] 8 8 (3:2 16 16 16)) r8[beam=-c]",
        nullptr);
    ASSERT_TRUE(voice);
    const auto& e = voice->events;
    ASSERT_EQ(e.size(), 8u);
    EXPECT_EQ(e[0].marks.stem, StemDirection::Up);
    EXPECT_EQ(e[0].marks.beams, (std::vector<BeamMark>{BeamMark::Begin, BeamMark::ForwardHook}));
    EXPECT_EQ(e[0].marks.ties, (std::vector<simhost::TieMark>{{false, true}}));
    EXPECT_EQ(e[0].marks.slurs, (std::vector<simhost::SlurMark>{{1, true, Placement::Above}}));
    EXPECT_EQ(e[1].marks.stem, StemDirection::Down);
    EXPECT_EQ(e[1].marks.beams, (std::vector<BeamMark>{BeamMark::End, BeamMark::BackwardHook}));
    EXPECT_EQ(e[1].marks.ties, (std::vector<simhost::TieMark>{{true, false}, {false, true}}));
    EXPECT_EQ(e[1].marks.slurs, (std::vector<simhost::SlurMark>{{1, false, Placement::Unstated},
                                                                {2, true, Placement::Below}}));
    // Only the outer group states its look; the inner one opens at an event of its own.
    EXPECT_EQ(e[2].marks.tupletLooks,
              (std::vector<simhost::TupletLook>{
                  {simhost::TupletBracket::Shown, simhost::TupletNumber::Hidden}}));
    EXPECT_TRUE(e[4].marks.tupletLooks.empty());
    EXPECT_TRUE(e[3].marks.Empty());
    EXPECT_EQ(e[7].marks.beams, (std::vector<BeamMark>{BeamMark::Unstated, BeamMark::Continue}));
    EXPECT_TRUE(e[7].IsRest());
}

TEST(ScoreNotation, MarksAreWrittenBackAsTheyWereRead) {
    for (const char* text :
         {"8:C5~[up,beam=bf,slur+1^] 16:~C5+E5~[down,beam=ek,slur-1,slur+2_]",
          "(3:2[bracket,num=none] 8:B4 8:B4 (3:2[nobracket,num=both] 16:B4 16:B4 16:B4))",
          "(3:2 (3:2[num=actual] 16:B4 16:B4 16:B4) 8:B4 8:B4) r8[beam=-c] g8:D5[nostem]",
          "h:~C4+E4+~G4 q:B4 q:B4"}) {
        const auto voice = simhost::ParseVoice(text, nullptr);
        ASSERT_TRUE(voice) << text;
        EXPECT_EQ(simhost::FormatVoice(*voice), text);
    }
}

TEST(ScoreNotation, AVoiceOverMeasuresIsSplitAtEachBar) {
    const auto measures = simhost::ParseVoiceMeasures("q q q q | w | rh h", nullptr);
    ASSERT_TRUE(measures);
    ASSERT_EQ(measures->size(), 3u);
    EXPECT_EQ((*measures)[1].events.size(), 1u);
    EXPECT_TRUE((*measures)[2].events[0].IsRest());
}

struct ErrorCase {
    const char* text;
    std::size_t column;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.text << ", " << c.message; }

class NotationErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(NotationErrors, NameTheColumnAndWhatIsWrong) {
    simhost::NotationError error;
    EXPECT_FALSE(simhost::ParseVoiceMeasures(GetParam().text, &error));
    EXPECT_EQ(error.column, GetParam().column);
    EXPECT_NE(error.message.find(GetParam().message), std::string::npos) << error.message;
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, NotationErrors,
    ::testing::Values(ErrorCase{"q x", 3, "note value"}, ErrorCase{"q 8:H4", 5, "pitch"},
                      ErrorCase{"(3:2 8 8", 9, "not closed"}, ErrorCase{"q )", 3, "without"},
                      ErrorCase{"(3:2 8 | 8)", 8, "crosses"}, ErrorCase{"(3:0 8)", 5, "ratio"},
                      ErrorCase{"r8:C4", 3, "rest has no pitch"}, ErrorCase{"q:C4+", 6, "pitch"},
                      ErrorCase{"(3:2 )", 6, "empty"}, ErrorCase{"gr8", 3, "grace note is a note"},
                      ErrorCase{"csq", 3, "no cue size"}, ErrorCase{"s8:C4", 3, "no pitch"},
                      ErrorCase{"Rw:C4", 3, "no pitch"}, ErrorCase{"g", 2, "note value"}),
    quortest::RowName{});

INSTANTIATE_TEST_SUITE_P(
    MarkMistakes, NotationErrors,
    ::testing::Values(ErrorCase{"8[up", 3, "without its ']'"},
                      ErrorCase{"8[up, down] 8", 3, "without spaces"},
                      ErrorCase{"8[sideways]", 12, "unknown mark \"sideways\""},
                      ErrorCase{"8[up,down]", 11, "second stem"},
                      ErrorCase{"8[beam=bx]", 11, "one of b c e f k -"},
                      ErrorCase{"8[beam=bcccccccc]", 18, "1 to 8 levels"},
                      ErrorCase{"8[slur+17]", 11, "1 to 16"}, ErrorCase{"8[slur+]", 9, "1 to 16"},
                      ErrorCase{"(3:2[wide] 8 8 8)", 11, "unknown tuplet mark"},
                      ErrorCase{"(3:2[bracket,nobracket] 8 8 8)", 24, "second bracket"}));

}  // namespace
