// The spacing pictures: what they draw is where the document says (barlines at the measures'
// cumulative widths, notes at their respaced positions), one head per pitch, and the same bytes
// for the same documents.
#include "simhost/app/score_svg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "simhost/document/document_builder.h"
#include "simhost/document/respacer.h"
#include "tests/app/svg_query.h"
#include "tests/support/row_name.h"

namespace {

using apptest::All;
using apptest::Attribute;
using apptest::MeasureX;
using simhost::Document;
using simhost::DocumentBuilder;
using simhost::SvgRow;

constexpr double kHeadRx = 6.5;  // half a head's width: a column's left edge is cx - 6.5

Document Respaced(Document document) {
    simhost::Respacer(document).RespaceSelection();
    return document;
}

Document TwoStaves() {
    return DocumentBuilder()
        .withAllotments({{256, 42}, {512, 59}, {1024, 84}, {2048, 120}, {4096, 167}})
        .withStaff(1, {"q:C5+E5+G5 8.:D5 16:F4 (3:2 8:A4 8:B4 8:C5) rq | h:A5 rh",
                       "| r8 8:C4 q:D4 h:E4+F4"})
        .withStaff(2, {"w:C3 | h.:G2 q:B2"}, "F4")
        .withSelection(1, 2)
        .Build();
}

Document Melody() {
    return DocumentBuilder()
        .withAllotments({{512, 59}, {1024, 84}, {2048, 120}})
        .withStaff(1, {"q:C5 8:D5 8:E5 h:F5 | 8:G5 8:A5 8:B5 8:C6 q:D6 q:E6 | w:B4"})
        .withSelection(1, 3)
        .Build();
}

// Grace and cue notes, a whole-measure rest, and spaces (one a tuplet group of its own).
Document Ornamented() {
    return DocumentBuilder()
        .withAllotments({{512, 59}, {1024, 84}, {2048, 120}})
        .withStaff(1, {"g/8:D5 q:C5 cq:E5 h:F5 | Rw", "sq q:A4 h:G4 | "})
        .withStaff(1, {"w:C3 | (3:2 sh sq) g16:F2 h:G2"}, "F4")
        .withBrace(1, 2)
        .withSelection(1, 2)
        .Build();
}

std::size_t Pitches(const Document& document, bool rests) {
    std::size_t count = 0;
    for (const auto& measure : document.GetScore().Measures()) {
        for (const auto& voices : measure.staves) {
            for (const auto& voice : voices) {
                for (const auto& event : voice.events) {
                    count += rests ? (event.IsRest() ? 1 : 0) : event.pitches.size();
                }
            }
        }
    }
    return count;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(ScoreSvg, ARowMatchesItsGoldenPicture) {
    const Document document = Respaced(TwoStaves());
    const std::string svg = simhost::RowSvg(SvgRow{"Medium", &document, {1, 2}});
    const auto golden = std::filesystem::path(__FILE__).parent_path() / "golden" / "two_staves.svg";
    // QUOR_UPDATE_GOLDEN=1 writes the picture anew, after a change to the drawing was looked
    // at and found right.
    if (std::getenv("QUOR_UPDATE_GOLDEN") != nullptr)
        std::ofstream(golden, std::ios::binary) << svg;
    EXPECT_EQ(svg, ReadFile(golden));
}

class EveryPitch : public ::testing::TestWithParam<int> {};

TEST_P(EveryPitch, HasOneHeadAndEveryRestOneGlyph) {
    const Document document = GetParam() == 0   ? Respaced(TwoStaves())
                              : GetParam() == 1 ? TwoStaves()
                              : GetParam() == 2 ? Respaced(Melody())
                                                : Respaced(Ornamented());
    const auto xml = apptest::ParseSvg(
        simhost::RowSvg(SvgRow{"x", &document, simhost::SelectedMeasures(document)}));
    EXPECT_EQ(All(xml, "//*[@class='notehead']").size(), Pitches(document, false));
    EXPECT_EQ(All(xml, "//*[@class='rest']").size(), Pitches(document, true));
}

INSTANTIATE_TEST_SUITE_P(Documents, EveryPitch, ::testing::Values(0, 1, 2, 3), quortest::RowName{});

TEST(ScoreSvg, BarlinesStandAtTheCumulativeMeasureWidthsToScale) {
    const Document document = Respaced(Melody());
    const auto xml = apptest::ParseSvg(simhost::RowSvg(SvgRow{"x", &document, {1, 3}}));
    const auto barlines = All(xml, "//*[@class='barLine']");
    ASSERT_EQ(barlines.size(), 3u);  // one closing each measure; the clef opens the staff
    const double left = MeasureX(xml, 1);
    double widths = 0;
    for (std::int16_t m = 1; m <= 3; ++m) {
        widths += document.MeasureRecord(m)->width;
        EXPECT_NEAR(Attribute(barlines[static_cast<std::size_t>(m - 1)], "x1"),
                    left + widths * simhost::kSvgUnitsPerHostUnit, 0.005)
            << "measure " << m;
        if (m < 3) {
            EXPECT_NEAR(MeasureX(xml, static_cast<std::int16_t>(m + 1)),
                        Attribute(barlines[static_cast<std::size_t>(m - 1)], "x1"), 0.005);
        }
    }
    // The measures were respaced to different widths, so the test sees where each one ends.
    EXPECT_NE(document.MeasureRecord(1)->width, document.MeasureRecord(3)->width);
}

TEST(ScoreSvg, NotesStandAtTheirRespacedPositions) {
    const Document document = Respaced(Melody());
    const auto xml = apptest::ParseSvg(simhost::RowSvg(SvgRow{"x", &document, {1, 3}}));
    for (std::int16_t m = 1; m <= 3; ++m) {
        const auto heads =
            All(xml, "//*[@data-n='" + std::to_string(m) + "']//*[@class='notehead']");
        const auto positions = simhost::NotePositions(document, m, 1);
        ASSERT_EQ(heads.size(), positions.size()) << "measure " << m;
        const double measureX = MeasureX(xml, m);
        for (std::size_t i = 0; i < heads.size(); ++i) {
            const double rx = i + 1 == heads.size() && m == 3 ? 7.5 : kHeadRx;  // a whole note
            EXPECT_NEAR(Attribute(heads[i], "data-cx") - rx,
                        measureX + positions[i] * simhost::kSvgUnitsPerHostUnit, 0.005)
                << "measure " << m << ", note " << i;
        }
    }
}

TEST(ScoreSvg, WithoutPositionsOnsetsAreSpreadEvenly) {
    const Document document = Melody();  // never respaced: no position records
    const auto xml = apptest::ParseSvg(simhost::RowSvg(SvgRow{"x", &document, {2, 2}}));
    const auto heads = All(xml, "//*[@class='notehead']");
    ASSERT_EQ(heads.size(), 6u);
    const double step = Attribute(heads[1], "data-cx") - Attribute(heads[0], "data-cx");
    // Six onsets over the room between the leading and trailing space of 300: 264 / 6 = 44.
    EXPECT_NEAR(step, 44 * simhost::kSvgUnitsPerHostUnit, 0.005);
    for (std::size_t i = 2; i < heads.size(); ++i) {
        EXPECT_NEAR(Attribute(heads[i], "data-cx") - Attribute(heads[i - 1], "data-cx"), step,
                    0.005);
    }
}

TEST(ScoreSvg, TheSameDocumentsGiveTheSameBytes) {
    const Document document = Respaced(TwoStaves());
    const Document copy = document;
    const std::vector<SvgRow> rows = {{"a", &document, {1, 2}}, {"b", &copy, {1, 2}}};
    EXPECT_EQ(simhost::CompareSvg(rows, "t"), simhost::CompareSvg(rows, "t"));
    EXPECT_EQ(simhost::RowSvg(rows[0]), simhost::RowSvg(SvgRow{"a", &copy, {1, 2}}));
}

TEST(ScoreSvg, CompareDrawsOneLabelledRowPerTaskFromOneLeftEdge) {
    std::vector<Document> documents;
    for (int task = 0; task < 9; ++task) {
        documents.push_back(
            Respaced(DocumentBuilder()
                         .withAllotments({{1024, static_cast<std::int16_t>(60 + 10 * task)}})
                         .withMeasures(2)
                         .withSelection(1, 2)
                         .Build()));
    }
    std::vector<SvgRow> rows;
    for (int task = 0; task < 9; ++task) {
        rows.push_back(SvgRow{"Task " + std::to_string(task + 1) + " <'Optical' & co>",
                              &documents[static_cast<std::size_t>(task)],
                              {1, 2}});
    }
    const auto xml = apptest::ParseSvg(simhost::CompareSvg(rows, "Nine tasks"));
    const auto rowGroups = All(xml, "//*[@class='system']");
    ASSERT_EQ(rowGroups.size(), 9u);
    double previousEnd = 0;
    for (std::size_t i = 0; i < rowGroups.size(); ++i) {
        EXPECT_EQ(std::string(rowGroups[i].select_node("*[@class='label']").node().child_value()),
                  rows[i].label);
        const auto barlines = All(rowGroups[i], ".//*[@class='barLine']");
        ASSERT_EQ(barlines.size(), 2u);
        EXPECT_EQ(MeasureX(rowGroups[i], 1), MeasureX(rowGroups[0], 1));
        // Wider quarters, longer rows.
        EXPECT_GT(Attribute(barlines[1], "x1"), previousEnd);
        previousEnd = Attribute(barlines[1], "x1");
    }
    EXPECT_EQ(std::string(xml.select_node("//*[@class='title']").node().child_value()),
              "Nine tasks");
    const pugi::xml_node svg = xml.child("svg");
    EXPECT_EQ(std::string(svg.attribute("viewBox").value()),
              "0 0 " + std::string(svg.attribute("width").value()) + " " +
                  svg.attribute("height").value());
}

TEST(ScoreSvg, BeforeAndAfterShowsTheSameMeasuresInTwoStates) {
    const Document before = Melody();
    const Document after = Respaced(before);
    const auto xml =
        apptest::ParseSvg(simhost::BeforeAfterSvg(before, after, {1, 3}, "Before", "After"));
    const auto rows = All(xml, "//*[@class='system']");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::string(rows[0].select_node("*[@class='label']").node().child_value()), "Before");
    EXPECT_EQ(std::string(rows[1].select_node("*[@class='label']").node().child_value()), "After");
    const auto lastBarline = [](const pugi::xml_node& row) {
        return All(row, ".//*[@class='barLine']").back().attribute("x1").as_double();
    };
    const auto start = MeasureX(rows[0], 1);
    EXPECT_EQ(MeasureX(rows[1], 1), start);
    // Before: three measures of 300; after: as respaced.
    EXPECT_NEAR(lastBarline(rows[0]) - start, 900 * simhost::kSvgUnitsPerHostUnit, 0.005);
    double respaced = 0;
    for (std::int16_t m = 1; m <= 3; ++m) respaced += after.MeasureRecord(m)->width;
    EXPECT_NEAR(lastBarline(rows[1]) - start, respaced * simhost::kSvgUnitsPerHostUnit, 0.005);
}

}  // namespace
