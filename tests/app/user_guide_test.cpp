// The user's guide (docs/guide.html) shows what each task does to the same measures of a real
// score, with the task's own description under it. Its pictures are what notavo-sim draws, and
// its section of tasks is made from the task table, so neither can drift from the module.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "simhost/app/svg_writer.h"
#include "spacing/spacing_tasks.h"
#include "tests/app/sim_command.h"

namespace {

namespace fs = std::filesystem;
using simtest::Command;
using simtest::Outcome;
using simtest::ReadFile;

const char* const kGuide = "docs/guide.html";
const char* const kScore = "scores/piano_prelude.musicxml";
const char* const kMeasures = "3-4";
const std::string kSectionStart =
    "<!-- The tasks: made from the task table by tests/app/user_guide_test.cpp "
    "(QUOR_UPDATE_GOLDEN=1 writes it anew). -->\n";
const std::string kSectionEnd = "<!-- End of the tasks. -->\n";

// "'Optical' Allotment" -> "optical-allotment".
std::string PictureName(const std::string& title) {
    std::string name;
    for (const char c : title) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        } else if (!name.empty() && name.back() != '-') {
            name.push_back('-');
        }
    }
    if (!name.empty() && name.back() == '-') name.pop_back();
    return name + ".svg";
}

// HTML text; a line feed of a description becomes a line break.
std::string Html(const std::string& text) {
    std::string out = simhost::SvgWriter::Escaped(text);
    for (std::size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 5)) {
        out.replace(at, 1, "<br>\n");
    }
    return out;
}

std::string TaskSection() {
    std::string html = kSectionStart;
    for (const SpacingTaskEntry& task : SpacingTaskTable()) {
        const std::string picture = PictureName(task.title);
        html += "<figure id=\"" + picture.substr(0, picture.size() - 4) + "\">\n";
        html += "<img src=\"guide/" + picture + "\" alt=\"The two measures before and after " +
                Html(task.title) + "\">\n";
        html += "<figcaption><strong>" + Html(task.title) + "</strong><br>\n" +
                Html(task.description) + "</figcaption>\n";
        html += "</figure>\n";
    }
    return html + kSectionEnd;
}

TEST_F(Command, EachTasksPictureInTheGuideIsWhatTheCommandDraws) {
    for (const SpacingTaskEntry& task : SpacingTaskTable()) {
        SCOPED_TRACE(task.title);
        const fs::path svg = Scratch("picture.svg");
        const Outcome run = Run({"--document", simtest::Sample(kScore), "--task", task.title,
                                 "--measures", kMeasures, "--svg", svg.string()});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
        simtest::ExpectGolden(ReadFile(svg), "docs/guide/" + PictureName(task.title));
    }
}

TEST(UserGuide, ShowsEveryTaskWithItsOwnDescriptionInTheListsOrder) {
    const fs::path path = simtest::SourceDir() / kGuide;
    std::string guide = ReadFile(path);
    const std::size_t start = guide.find(kSectionStart);
    const std::size_t end = guide.find(kSectionEnd);
    ASSERT_NE(start, std::string::npos) << kGuide << " has lost the start of its tasks";
    ASSERT_NE(end, std::string::npos) << kGuide << " has lost the end of its tasks";
    ASSERT_LT(start, end);
    std::size_t length = end + kSectionEnd.size() - start;
    if (simtest::UpdatingGolden()) {
        guide.replace(start, length, TaskSection());
        length = TaskSection().size();
        std::ofstream(path, std::ios::binary) << guide;
    }
    EXPECT_EQ(guide.substr(start, length), TaskSection());
}

TEST(UserGuide, ItsPictureFolderHoldsTheNineTasksPicturesAndNothingElse) {
    std::set<std::string> expected;
    for (const SpacingTaskEntry& task : SpacingTaskTable())
        expected.insert(PictureName(task.title));
    std::set<std::string> found;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(simtest::SourceDir() / "docs" / "guide")) {
        found.insert(entry.path().filename().string());
    }
    EXPECT_EQ(found, expected);
}

// The guide tells the user what to look for once Notavo has loaded the module.
TEST_F(Command, TheGuideNamesTheMenuEntryTheModuleEnumerates) {
    const Outcome run = Run({"--document", simtest::Sample(kScore)});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string label = "menu entry      ";
    const std::size_t at = run.out.find(label);
    ASSERT_NE(at, std::string::npos) << run.out;
    const std::string entry =
        run.out.substr(at + label.size(), run.out.find('\n', at) - at - label.size());
    EXPECT_NE(ReadFile(simtest::SourceDir() / kGuide).find("&ldquo;" + Html(entry) + "&rdquo;"),
              std::string::npos)
        << "the guide does not name " << entry;
}

}  // namespace
