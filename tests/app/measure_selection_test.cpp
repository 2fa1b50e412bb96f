// Which measures a picture covers, and which selections a user may ask for: forwards, and
// inside the document.
#include "simhost/app/measure_selection.h"

#include <gtest/gtest.h>

#include "simhost/document/document_builder.h"
#include "tests/support/row_name.h"

namespace {

using simhost::Document;
using simhost::DocumentBuilder;

TEST(SelectedMeasures, AreTheSelectionOrTheWholeScore) {
    const Document selected = DocumentBuilder().withMeasures(6).withSelection(2, 4).Build();
    EXPECT_EQ(simhost::SelectedMeasures(selected).first, 2);
    EXPECT_EQ(simhost::SelectedMeasures(selected).last, 4);
    const Document unselected = DocumentBuilder().withMeasures(6).Build();
    EXPECT_EQ(simhost::SelectedMeasures(unselected).first, 1);
    EXPECT_EQ(simhost::SelectedMeasures(unselected).last, 6);
}

TEST(SelectedMeasures, WithoutASelectionReachTheLastMeasureRecordPastTheMusic) {
    const Document document =
        DocumentBuilder()
            .withMeasures(2)
            .withRecord(simhost::kTagMeasureRecord, 5, 0, simhost::MeasureFields().ToRecord())
            .Build();
    EXPECT_EQ(simhost::SelectedMeasures(document).first, 1);
    EXPECT_EQ(simhost::SelectedMeasures(document).last, 5);
}

struct SelectionCase {
    std::int32_t first;
    std::int32_t last;
    std::int32_t count;
    bool reversed;
    const char* message;  // empty: accepted
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << "measures " << c.first << " to " << c.last << " of " << c.count
        << (c.reversed ? " reversed" : "");
}

class Selections : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(Selections, AreAcceptedOrRefusedNamingTheDocumentsMeasures) {
    const SelectionCase& c = GetParam();
    const auto refused = simhost::CheckSelection(c.first, c.last, c.count);
    if (std::string(c.message).empty()) {
        EXPECT_FALSE(refused) << refused->message;
        return;
    }
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->message, c.message);
    EXPECT_EQ(refused->reversed, c.reversed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Selections,
    ::testing::Values(
        SelectionCase{1, 4, 4, false, ""}, SelectionCase{2, 2, 4, false, ""},
        SelectionCase{9, 1, 4, true, "measures 9-1 are reversed; the document has measures 1-4"},
        SelectionCase{3, 2, 4, true, "measures 3-2 are reversed; the document has measures 1-4"},
        SelectionCase{3, 9, 4, false,
                      "measures 3-9 reach outside the document; the document has measures 1-4"},
        SelectionCase{0, 2, 4, false,
                      "measures 0-2 reach outside the document; the document has measures 1-4"},
        SelectionCase{5, 5, 4, false,
                      "measure 5 lies outside the document; the document has measures 1-4"},
        SelectionCase{1, 2, 1, false,
                      "measures 1-2 reach outside the document; the document has only "
                      "measure 1"},
        SelectionCase{1, 1, 0, false,
                      "measure 1 lies outside the document; the document has no measures"}),
    quortest::RowName{});

}  // namespace
