// The text notavo-sim prints: each measure's width, and per staff its clef and, voice by voice,
// the onsets a reader can check against the score with the positions before and after.
#include "simhost/app/spacing_report.h"

#include <gtest/gtest.h>

#include "simhost/document/document_builder.h"
#include "simhost/document/respacer.h"

namespace {

TEST(SpacingReport, NamesEachStaffsClefsAndGroupsTheOnsetsByVoice) {
    const simhost::Document before = simhost::DocumentBuilder()
                                         .withAllotments({{1024, 84}, {2048, 120}, {4096, 167}})
                                         .withStaff(1, {"q:C5 g8:D5 q:E5 h:F5", "sh h:G4"})
                                         .withStaff(1, {"w:C3"}, "F4")
                                         .withClefChange(1, 2, 2048, "G2")
                                         .withSelection(1, 1)
                                         .Build();
    simhost::Document after = before;
    simhost::Respacer(after).RespaceSelection();
    // Quarter 84, grace 30, quarter 84, clef change 60, then the half's 120 and the trailing
    // space; the space of voice 2 is neither an onset nor a position.
    EXPECT_EQ(simhost::DescribeChanges(before, after, {1, 1}),
              "measure 1  width 300 -> 414\n"
              "  staff 1  treble clef\n"
              "    voice 1  onsets 0 g1 1 2  at (not placed)  ->  24 108 138 282\n"
              "    voice 2  onsets 2  at (not placed)  ->  282\n"
              "  staff 2  bass clef, treble clef at 2\n"
              "    voice 1  onsets 0  at (not placed)  ->  24\n");
    EXPECT_EQ(simhost::DescribeChanges(after, after, {1, 1}).find("->"), std::string::npos)
        << "unchanged values are printed once";
}

}  // namespace
