// Where the pictures set a chord's heads, accidentals, stem and dots, and which way the voices
// of a staff turn their stems: as engravers set them.
#include "simhost/app/score_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "simhost/app/shown_accidentals.h"
#include "simhost/document/document_builder.h"
#include "simhost/document/score_notation.h"

namespace {

using simhost::layout::ChordLayout;
using simhost::layout::PlacedEvent;

// The first event of a voice's measure, at x = 100 under a treble clef on a staff whose top
// line is at y = 0.
ChordLayout Chord(const std::string& notes, std::optional<bool> stemUp = std::nullopt) {
    simhost::NotationError error;
    const std::optional<simhost::Voice> voice = simhost::ParseVoice(notes, &error);
    EXPECT_TRUE(voice) << error.message;
    const std::vector<simhost::TimedEvent> timed = voice->Timed();
    return simhost::layout::LayOutChord(PlacedEvent{timed.front(), 100, stemUp}, 0,
                                        simhost::kTrebleClef, simhost::ShownAccidentals(timed, 0));
}

TEST(ChordLayout, HeadsASecondApartStandEitherSideOfTheStem) {
    for (const char* notes : {"q:C5+D5", "q:E4+F4", "8:G4+A4+C5"}) {
        const ChordLayout chord = Chord(notes);
        ASSERT_TRUE(chord.stem) << notes;
        // The lowest two heads form the second.
        const double left = std::min(chord.heads[0].centre, chord.heads[1].centre);
        const double right = std::max(chord.heads[0].centre, chord.heads[1].centre);
        EXPECT_LT(left, chord.stem->x) << notes;
        EXPECT_GT(right, chord.stem->x) << notes;
    }
    const ChordLayout third = Chord("q:C5+E5");
    EXPECT_EQ(third.heads[0].centre, third.heads[1].centre);
}

TEST(ChordLayout, TheStemGoesAwayFromTheHeadsUnlessTheVoiceTurnsIt) {
    struct Case {
        const char* notes;
        std::optional<bool> voiceStem;
        bool up;
    };
    for (const Case& c : {Case{"q:C4", std::nullopt, true}, Case{"q:A5", std::nullopt, false},
                          Case{"q:A5", true, true}, Case{"q:C4", false, false}}) {
        const ChordLayout chord = Chord(c.notes, c.voiceStem);
        ASSERT_TRUE(chord.stem) << c.notes;
        EXPECT_EQ(chord.up, c.up) << c.notes;
        EXPECT_EQ(chord.stem->end < chord.stem->from, c.up) << c.notes;
    }
    EXPECT_FALSE(Chord("w:C5").stem);
}

TEST(ChordLayout, AccidentalsThatWouldTouchStandAColumnFurtherOut) {
    // Top down: E#5's sharp nearest the heads, C#5's a third below it further left.
    const ChordLayout close = Chord("q:C#5+E#5");
    ASSERT_EQ(close.accidentals.size(), 2u);
    EXPECT_LT(close.accidentals[0].y, close.accidentals[1].y);
    EXPECT_LT(close.accidentals[1].left, close.accidentals[0].left);
    EXPECT_LT(close.accidentals[0].left, close.heads.front().centre - close.rx);
    // An octave apart they cannot touch, and share the column.
    const ChordLayout apart = Chord("q:C#4+C#5");
    ASSERT_EQ(apart.accidentals.size(), 2u);
    EXPECT_EQ(apart.accidentals[0].left, apart.accidentals[1].left);
}

TEST(ChordLayout, DotsStandInTheSpaceAtOrAboveTheirHead) {
    const double halfSpace = simhost::layout::kSpace / 2;
    const ChordLayout onLine = Chord("q.:B4");
    EXPECT_EQ(onLine.heads[0].dotY, onLine.heads[0].y - halfSpace);
    const ChordLayout inSpace = Chord("q.:C5");
    EXPECT_EQ(inSpace.heads[0].dotY, inSpace.heads[0].y);
    EXPECT_GT(inSpace.dotX, inSpace.heads[0].centre + inSpace.rx);
}

// The stem direction each event of a staff is given: nothing where its pitches decide.
std::vector<std::optional<bool>> StemsOf(const std::vector<std::string>& voices) {
    const simhost::Document document =
        simhost::DocumentBuilder().withStaff(1, voices).withMeasures(1).Build();
    const simhost::MeasureFields fields = simhost::layout::FieldsOf(document, 1);
    const auto placed =
        simhost::layout::PlaceEvents(document, *document.GetScore().MeasureNumber(1), 1, fields, 0);
    std::vector<std::optional<bool>> stems;
    for (const PlacedEvent& item : placed.front()) stems.push_back(item.stemUp);
    return stems;
}

TEST(PlaceEvents, VoicesSharingAStaffTurnTheirStemsApartAndGraceNotesUp) {
    using Stems = std::vector<std::optional<bool>>;
    EXPECT_EQ(StemsOf({"h:C5 h:D5"}), (Stems{std::nullopt, std::nullopt}));
    EXPECT_EQ(StemsOf({"h:C5 h:D5", "h:C4 h:D4"}), (Stems{true, true, false, false}));
    EXPECT_EQ(StemsOf({"g8:D5 h:C5 h:D5"}), (Stems{true, std::nullopt, std::nullopt}));
    // A voice of spaces alone sounds nothing: the other voice's stems still go by pitch.
    EXPECT_EQ(StemsOf({"h:C5 h:D5", "sw"}), (Stems{std::nullopt, std::nullopt, std::nullopt}));
}

}  // namespace
