// Respacing a measure over all its staves: merged onsets, the space after each onset, widths
// and note positions written into the document.
#include "simhost/document/respacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simhost/document/document_builder.h"
#include "simhost/document/measure_spacer.h"
#include "tests/support/row_name.h"

namespace {

using simhost::Document;
using simhost::DocumentBuilder;
using simhost::MeasureFields;
using simhost::Respacer;

// Leading space 20 and trailing space 10, so that both show in every width.
MeasureFields Fields() {
    MeasureFields fields;
    fields.width = 300;
    fields.leadingSpace = 20;
    fields.trailingSpace = 10;
    fields.key = -3;
    fields.numberShown = 17;
    return fields;
}

struct SpacingCase {
    const char* name;
    std::vector<simhost::AllotmentRow> allotments;
    std::vector<std::string> staff1;
    std::vector<std::string> staff2;
    std::int16_t width;
    std::vector<std::int16_t> positions1;
    std::vector<std::int16_t> positions2;
};

void PrintTo(const SpacingCase& c, std::ostream* os) { *os << c.name; }

class MeasureSpacing : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(MeasureSpacing, GivesEveryStaffOneRowOfColumns) {
    const SpacingCase& c = GetParam();
    DocumentBuilder builder;
    builder.withAllotments(c.allotments).withMeasureFields(Fields()).withStaff(1, c.staff1);
    if (!c.staff2.empty()) builder.withStaff(2, c.staff2);
    Document document = builder.Build();

    ASSERT_EQ(Respacer(document).RespaceMeasures(1, 1), 1);
    EXPECT_EQ(document.MeasureRecord(1)->width, c.width);
    EXPECT_EQ(simhost::NotePositions(document, 1, 1), c.positions1);
    if (!c.staff2.empty()) {
        EXPECT_EQ(simhost::NotePositions(document, 1, 2), c.positions2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeasureSpacing,
    ::testing::Values(
        // Eighths in one staff put columns between the quarters of the other.
        SpacingCase{"QuartersOverEighths",
                    {{512, 50}, {1024, 80}},
                    {"q q q q"},
                    {"8 8 8 8 8 8 8 8"},
                    20 + 8 * 50 + 10,
                    {20, 120, 220, 320},
                    {20, 70, 120, 170, 220, 270, 320, 370}},
        // The first beat takes three triplet widths (46.67 each), not one quarter's 90.
        SpacingCase{"QuarterAgainstTriplet",
                    {{256, 40}, {512, 60}, {1024, 90}},
                    {"q q q q"},
                    {"(3:2 8 8 8) q q q"},
                    440,
                    {20, 160, 250, 340},
                    {20, 67, 113, 160, 250, 340}},
        // At 512 the shortest note sounding is a dotted quarter: it spans 1024 of its 1536.
        SpacingCase{"LongNotesTakeTheirShare",
                    {{512, 60}, {1024, 80}, {2048, 120}},
                    {"q. 8 h"},
                    {"8 q. h"},
                    337,
                    {20, 147, 207},
                    {20, 80, 207}},
        // A chord is one event; a second voice adds its own onsets to the same staff.
        SpacingCase{"ChordsAndVoices",
                    {{1024, 90}, {2048, 150}},
                    {"q:C4+E4+G4 q q q", "h h"},
                    {},
                    20 + 4 * 90 + 10,
                    {20, 110, 200, 290, 20, 200},
                    {}},
        // A measure without any note is one rest of its time signature.
        SpacingCase{"EmptyMeasure", {{1024, 80}, {4096, 150}}, {"|"}, {}, 180, {}, {}},
        // Grace notes take no time: each gets a small fixed space of its own before the note
        // it ornaments, in every staff at once.
        SpacingCase{"GraceNotesTakeAFixedSpaceBeforeTheirNote",
                    {{1024, 80}},
                    {"q g8:D5 g/8:E5 q q q"},
                    {"q q q q"},
                    20 + 4 * 80 + 2 * 30 + 10,
                    {20, 100, 130, 160, 240, 320},
                    {20, 160, 240, 320}},
        // A space is spaced as a rest of its length would be, so the notes around it stand
        // where they would.
        SpacingCase{"ASpaceIsSpacedAsARest",
                    {{1024, 80}, {2048, 120}},
                    {"sq q h", "rq q h"},
                    {},
                    20 + 80 + 80 + 120 + 10,
                    {20, 100, 180, 20, 100, 180},
                    {}},
        // A rest filling its measure stands in the middle of the room between the margins.
        SpacingCase{"AWholeMeasureRestStandsInTheMiddle",
                    {{1024, 80}, {4096, 150}},
                    {"Rw"},
                    {"q q q q"},
                    20 + 4 * 80 + 10,
                    {(20 + 340) / 2},
                    {20, 100, 180, 260}}),
    quortest::RowName{});

// A clef change gets a column of fixed width before the onset it takes over at; at the
// measure's end, after the last onset's space.
TEST(Respacer, AClefChangeTakesRoomBeforeItsOnset) {
    for (const auto& [at, positions] :
         {std::pair{2048, std::vector<std::int16_t>{20, 100, 240, 320}},
          std::pair{4096, std::vector<std::int16_t>{20, 100, 180, 260}}}) {
        Document document = DocumentBuilder()
                                .withAllotments({{1024, 80}})
                                .withMeasureFields(Fields())
                                .withStaff(1, {"q q q q"}, "F4")
                                .withClefChange(1, 1, at, "G2")
                                .Build();
        ASSERT_EQ(Respacer(document).RespaceMeasures(1, 1), 1);
        EXPECT_EQ(document.MeasureRecord(1)->width, 20 + 4 * 80 + 60 + 10) << at;
        EXPECT_EQ(simhost::NotePositions(document, 1, 1), positions) << at;
    }
}

TEST(Respacer, WritesOnlyTheWidthOfEachSelectedMeasureAndKeepsItsOtherFields) {
    Document document = DocumentBuilder()
                            .withAllotments({{1024, 80}})
                            .withMeasureFields(Fields())
                            .withMeasures(5)
                            .withSelection(2, 3)
                            .Build();
    const simhost::RecordStore before = document.Records();

    EXPECT_EQ(Respacer(document).RespaceSelection(), 2);
    for (std::int16_t m = 1; m <= 5; ++m) {
        MeasureFields expected = Fields();
        if (m == 2 || m == 3) expected.width = 20 + 4 * 80 + 10;
        EXPECT_EQ(*document.MeasureRecord(m), expected) << "measure " << m;
    }
    EXPECT_EQ(simhost::NotePositions(document, 2, 1),
              (std::vector<std::int16_t>{20, 100, 180, 260}));
    EXPECT_TRUE(simhost::NotePositions(document, 1, 1).empty());
    EXPECT_NE(document.Records(), before);
}

TEST(Respacer, NothingSelectedRespacesNothing) {
    Document document = DocumentBuilder().withMeasures(4).Build();
    const simhost::RecordStore before = document.Records();
    EXPECT_EQ(Respacer(document).RespaceSelection(), 0);
    EXPECT_EQ(document.Records(), before);
}

TEST(Respacer, ASelectionFromMeasureZeroCountsFromTheFirstMeasure) {
    Document document = DocumentBuilder().withMeasures(4).withSelection(0, 2).Build();
    EXPECT_EQ(Respacer(document).RespaceSelection(), 2);
}

TEST(SpaceAfterOnset, ProratesTheShortestSoundingNoteByTheTimeToTheNextOnset) {
    const simhost::NoteWidths widths(simhost::SpacingPreferences{true, 1024, 84, 16180},
                                     simhost::AllotmentTable({{512, 60}, {1536, 120}}));
    EXPECT_DOUBLE_EQ(simhost::SpaceAfterOnset(widths, 512, 512), 60);
    EXPECT_DOUBLE_EQ(simhost::SpaceAfterOnset(widths, 1536, 512), 40);
    EXPECT_DOUBLE_EQ(simhost::SpaceAfterOnset(widths, 0, 512), 0);
}

}  // namespace
