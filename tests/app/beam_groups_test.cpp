// Beam groups: as the marks state them, broken marks made the best of, and by the beat where a
// score states no beams; secondary beams and hooks in each.
#include "simhost/app/beam_groups.h"

#include <gtest/gtest.h>

#include <string>

#include "simhost/document/document_builder.h"
#include "simhost/document/score_notation.h"

namespace {

// "{0 1 2 | 2:0-1 2:2<}": each group's events by their index in the voice, then its inner
// beams (level:first-last) and hooks (level:index, > forward, < backward).
std::string Describe(const simhost::Voice& voice, const std::vector<simhost::BeamGroup>& groups) {
    std::string text;
    for (const simhost::BeamGroup& group : groups) {
        if (!text.empty()) text += ' ';
        text += '{';
        for (std::size_t i = 0; i < group.events.size(); ++i) {
            if (i > 0) text += ' ';
            text += std::to_string(group.events[i] - voice.events.data());
        }
        if (!group.inner.empty()) text += " |";
        for (const simhost::BeamSpan& span : group.inner) {
            text += ' ' + std::to_string(span.level) + ':' + std::to_string(span.first);
            if (span.first == span.last) {
                text += span.forward ? '>' : '<';
            } else {
                text += '-' + std::to_string(span.last);
            }
        }
        text += '}';
    }
    return text;
}

struct GroupCase {
    const char* name;
    const char* voice;
    bool byMarks;
    int beats;
    int beatType;
    const char* groups;
};

class BeamGrouping : public ::testing::TestWithParam<GroupCase> {};

TEST_P(BeamGrouping, GroupsTheNotesThatShareABeam) {
    const GroupCase& c = GetParam();
    simhost::NotationError error;
    const auto voice = simhost::ParseVoice(c.voice, &error);
    ASSERT_TRUE(voice) << error.message;
    const auto groups =
        simhost::BeamGroupsOf(*voice, c.byMarks, c.beats, simhost::kWhole / c.beatType);
    EXPECT_EQ(Describe(*voice, groups), c.groups);
}

INSTANTIATE_TEST_SUITE_P(
    ByTheBeat, BeamGrouping,
    ::testing::Values(
        GroupCase{"PairsInSimpleTime", "8 8 8 8 q q", false, 4, 4, "{0 1} {2 3}"},
        GroupCase{"EveryBeat", "8 8 8 8 8 8 8 8", false, 4, 4, "{0 1} {2 3} {4 5} {6 7}"},
        GroupCase{"SixteenthsAndADottedPair", "16 16 16 16 8. 16 q q", false, 4, 4,
                  "{0 1 2 3 | 2:0-3} {4 5 | 2:1<}"},
        GroupCase{"SixteenthFirstHooksForward", "16 8. q h", false, 4, 4, "{0 1 | 2:0>}"},
        GroupCase{"ARestBreaksTheRun", "8 r8 8 8 h", false, 4, 4, "{2 3}"},
        GroupCase{"ANoteOverTheBeatStandsAlone", "q. 8 8 8 q", false, 4, 4, "{2 3}"},
        GroupCase{"AGraceNoteBreaksTheRun", "8 g8 8 8 8 h", false, 4, 4, "{3 4}"},
        GroupCase{"CompoundTimeBeatsInDottedQuarters", "8 8 8 8 8 8", false, 6, 8,
                  "{0 1 2} {3 4 5}"},
        GroupCase{"ThreeFourIsSimple", "8 8 8 8 8 8", false, 3, 4, "{0 1} {2 3} {4 5}"},
        GroupCase{"TripletsShareTheirBeat", "(3:2 8 8 8) (3:2 8 8 8) h", false, 4, 4,
                  "{0 1 2} {3 4 5}"},
        GroupCase{"SpacesBreakTheRun", "8 s8 8 8 h", false, 4, 4, "{2 3}"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    AsStated, BeamGrouping,
    ::testing::Values(
        GroupCase{"BeginContinueEnd", "8[beam=b] 8[beam=c] 8[beam=e] 8 h", true, 4, 4, "{0 1 2}"},
        GroupCase{"AnUnbeamedEighthIsMeant", "8 8 8 8 h", true, 4, 4, ""},
        GroupCase{"ALoneEndIsNoGroup", "8[beam=e] 8 q h", true, 4, 4, ""},
        GroupCase{"AContinueWithoutBeginStartsOne", "8[beam=c] 8[beam=c] 8[beam=e] 8 h", true, 4, 4,
                  "{0 1 2}"},
        GroupCase{"OpenAtTheBarlineEndsWithTheMeasure", "h 8 8 8[beam=b] 8[beam=c]", true, 4, 4,
                  "{3 4}"},
        GroupCase{"ARestCarryingTheBeam", "8[beam=b] r8[beam=c] 8[beam=c] 8[beam=e] h", true, 4, 4,
                  "{0 1 2 3}"},
        GroupCase{"ABareRestInside", "8[beam=b] r8 8[beam=e] 8 h", true, 4, 4, "{0 1 2}"},
        GroupCase{"RestsAtTheEndsHoldNoBeam", "r8[beam=b] 8[beam=c] 8[beam=e] 8 h", true, 4, 4,
                  "{1 2}"},
        GroupCase{"ANoteLeftOutEndsTheGroup", "8[beam=b] 8[beam=c] 8 8[beam=e] h", true, 4, 4,
                  "{0 1}"},
        GroupCase{"BackwardHook", "8.[beam=b] 16[beam=ek] h.", true, 4, 4, "{0 1 | 2:1<}"},
        GroupCase{"SecondaryBeam", "16[beam=bb] 16[beam=cc] 16[beam=cc] 16[beam=ee] h.", true, 4, 4,
                  "{0 1 2 3 | 2:0-3}"},
        GroupCase{"SecondaryBeamBrokenInside", "16[beam=bb] 16[beam=ce] 16[beam=cb] 16[beam=ee] h.",
                  true, 4, 4, "{0 1 2 3 | 2:0-1 2:2-3}"},
        GroupCase{"AQuarterCannotBeBeamed", "8[beam=b] q[beam=e] h.", true, 4, 4, ""},
        GroupCase{"GraceNotesAmongThemselves", "g16[beam=bb] g16[beam=ee] q:C5 h.", true, 4, 4,
                  "{0 1 | 2:0-1}"}),
    [](const auto& info) { return std::string(info.param.name); });

// A document's measure record can give its time a beat of no length, or less, in simple and in
// compound time: nothing is grouped, and nothing divides by it.
TEST(BeamGrouping, ABeatWithoutLengthGroupsNothing) {
    simhost::NotationError error;
    const auto voice = simhost::ParseVoice("8 8 8 8 8 8", &error);
    ASSERT_TRUE(voice) << error.message;
    for (const int beats : {3, 6, 12}) {
        for (const int beatDuration : {0, -1024}) {
            EXPECT_EQ(Describe(*voice, simhost::BeamGroupsOf(*voice, false, beats, beatDuration)),
                      "")
                << beats << " beats of " << beatDuration;
        }
    }
}

TEST(BeamGrouping, AScoreStatesBeamsWhenAnyNoteDoes) {
    using simhost::DocumentBuilder;
    EXPECT_FALSE(
        simhost::StatesBeams(DocumentBuilder().withStaff(1, {"8 8 q h"}).Build().GetScore()));
    EXPECT_FALSE(simhost::StatesBeams(
        DocumentBuilder().withStaff(1, {"8[up] 8[beam=-] q h"}).Build().GetScore()));
    EXPECT_TRUE(simhost::StatesBeams(DocumentBuilder()
                                         .withStaff(1, {"w | w"})
                                         .withStaff(1, {"w | 8[beam=b] 8[beam=e] h."})
                                         .withMeasures(2)
                                         .Build()
                                         .GetScore()));
}

}  // namespace
