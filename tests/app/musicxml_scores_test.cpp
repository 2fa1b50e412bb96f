// Whole scores as a musician writes them, from tests/app/scores: a piano piece whose voices
// cross between its staves, a string quartet with a viola, a line with grace notes, cue notes
// and a pickup. Each imports to exactly these staves, voices, onsets and clefs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simhost/app/musicxml_import.h"
#include "simhost/document/measure_record.h"
#include "tests/app/imported_score.h"

namespace {

using apptest::ClefChanges;
using apptest::StaffClefs;
using apptest::Voices;
using Texts = std::vector<std::string>;

simhost::Document Read(const std::string& name) {
    auto parsed = apptest::ImportScoreFile(name);
    EXPECT_TRUE(parsed.document) << parsed.error.Describe();
    EXPECT_TRUE(parsed.warnings.empty()) << parsed.warnings.front().Describe();
    return parsed.document ? std::move(*parsed.document) : simhost::Document();
}

// The onsets of one voice, in 1024ths from the barline.
std::vector<simhost::Rational> Onsets(const simhost::Document& document, std::size_t measure,
                                      std::size_t staff, std::size_t voice) {
    std::vector<simhost::Rational> onsets;
    for (const auto& timed : document.GetScore().Measures()[measure].staves[staff][voice].Timed()) {
        if (!timed.event->space) onsets.push_back(timed.onset);
    }
    return onsets;
}

TEST(PianoScore, EachStaffIsAStaffOfItsOwnJoinedByABrace) {
    const simhost::Document document = Read("piano_crossing.musicxml");
    const simhost::Score& score = document.GetScore();
    ASSERT_EQ(score.Staves().size(), 2u);
    EXPECT_EQ(score.Staves()[0], (simhost::Staff{1, 1, 1, simhost::kTrebleClef}));
    EXPECT_EQ(score.Staves()[1], (simhost::Staff{2, 2, 1, simhost::kBassClef}));
    EXPECT_EQ(score.Groups(), (std::vector<simhost::StaffGroup>{{1, 2}}));
    ASSERT_EQ(score.Measures().size(), 3u);
}

// Voice 1's last two eighths of measure 1 stand on the lower staff: there they are a voice of
// their own after a space of three quarters, and the upper staff's voice 1 simply stops.
// Voice 5 crosses up for its second half note in measure 3.
TEST(PianoScore, AVoiceCrossingStavesPutsEachNoteOnTheStaffItNames) {
    const simhost::Document document = Read("piano_crossing.musicxml");
    EXPECT_EQ(Voices(document, 0, 0), (Texts{"q:E5 q:D5 8:C5 8:G4"}));
    EXPECT_EQ(Voices(document, 0, 1), (Texts{"sh sq 8:E4 8:C4", "h:C3+G3 h:G2"}));
    EXPECT_EQ(Onsets(document, 0, 1, 0), (std::vector<simhost::Rational>{3072, 3584}));
    EXPECT_EQ(Voices(document, 1, 0), (Texts{"q:C5+E5 q:D5+F5 h:E5+G5"}));
    EXPECT_EQ(Voices(document, 1, 1), (Texts{"q:C3 q:G3 q:C4 q:E4"}));
    EXPECT_EQ(Voices(document, 2, 0), (Texts{"w:C5+E5+G5", "sh h:G4"}));
    EXPECT_EQ(Voices(document, 2, 1), (Texts{"h:C3"}));
    EXPECT_EQ(Onsets(document, 2, 0, 1), (std::vector<simhost::Rational>{2048}));
}

// The left hand takes the treble clef at beat 3 of measure 2; the bass clef given at measure
// 3's start stands before its barline, at the end of measure 2.
TEST(PianoScore, ClefsAreReadPerStaffWhereTheyStand) {
    const simhost::Document document = Read("piano_crossing.musicxml");
    EXPECT_EQ(StaffClefs(document), (Texts{"G2", "F4"}));
    EXPECT_TRUE(ClefChanges(document, 0).empty());
    EXPECT_EQ(ClefChanges(document, 1), (Texts{"2@2048:G2", "2@4096:F4"}));
    EXPECT_TRUE(ClefChanges(document, 2).empty());
    const simhost::Score& score = document.GetScore();
    EXPECT_EQ(score.ClefAt(1, 2, 1024), simhost::kBassClef);
    EXPECT_EQ(score.ClefAt(1, 2, 2048), simhost::kTrebleClef);
    EXPECT_EQ(score.ClefAt(1, 3, 0), simhost::kBassClef);
}

TEST(StringQuartet, FourStavesEachWithItsOwnClefTheViolaInTheAltoClef) {
    const simhost::Document document = Read("string_quartet.musicxml");
    const simhost::Score& score = document.GetScore();
    ASSERT_EQ(score.Staves().size(), 4u);
    for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(score.Staves()[s].instrument, static_cast<std::int16_t>(s + 1));
    }
    EXPECT_EQ(StaffClefs(document), (Texts{"G2", "G2", "C3", "F4"}));
    EXPECT_TRUE(score.Groups().empty()) << "separate instruments are not braced";
    // The cello's tenor clef of measure 2 stands at the end of measure 1.
    EXPECT_EQ(ClefChanges(document, 0), (Texts{"4@3072:C4"}));
    EXPECT_EQ(Voices(document, 0, 2), (Texts{"h:A3 q:D4"}));
    EXPECT_EQ(Voices(document, 1, 2), (Texts{"q:E4 q:C#4 q:A3"}));
    EXPECT_EQ(Voices(document, 1, 3), (Texts{"q:E4 q:D4 q:C#4"}));
    EXPECT_EQ(document.MeasureRecord(1)->key, 2);
    EXPECT_EQ(document.MeasureRecord(1)->beats, 3);
}

// Grace notes take no time and stand before their note; cue notes take theirs; the pickup is
// measure 1 of the document but is not counted, so the next measure shows number 1.
TEST(GraceNotesAndPickup, ImportAsWrittenMeasureByMeasure) {
    const simhost::Document document = Read("grace_pickup.musicxml");
    ASSERT_EQ(document.GetScore().Measures().size(), 5u);
    EXPECT_EQ(Voices(document, 0), (Texts{"q:D5"}));
    EXPECT_EQ(Voices(document, 1), (Texts{"g/8:A5 q:G5 q:B4 q:D5"}));
    EXPECT_EQ(Voices(document, 2), (Texts{"g16:C6 g16:B5 h:A5 q:F#5"}));
    EXPECT_EQ(Voices(document, 3), (Texts{"q:G5 c8:F#5 c8:E5 cq:D5"}));
    EXPECT_EQ(Voices(document, 4), (Texts{"Rh."}));
    EXPECT_EQ(Onsets(document, 2, 0, 0), (std::vector<simhost::Rational>{0, 0, 0, 2048}));
    EXPECT_EQ(Onsets(document, 3, 0, 0), (std::vector<simhost::Rational>{0, 1024, 1536, 2048}));

    const auto fields = [&](std::int16_t m) { return *document.MeasureRecord(m); };
    EXPECT_EQ(fields(1).flags & simhost::kMeasureFlagUncounted, simhost::kMeasureFlagUncounted);
    EXPECT_EQ(fields(2).flags & simhost::kMeasureFlagUncounted, 0);
    for (std::int16_t m = 2; m <= 5; ++m) EXPECT_EQ(fields(m).numberShown, m - 1) << m;
}

TEST(GraceNotesAndPickup, AScoreWithoutAPickupKeepsItsOwnNumbers) {
    const simhost::Document document = Read("string_quartet.musicxml");
    EXPECT_EQ(document.MeasureRecord(1)->numberShown, 0);
    EXPECT_EQ(document.MeasureRecord(2)->numberShown, 0);
    EXPECT_EQ(document.MeasureRecord(1)->flags, 0);
}

}  // namespace
