// The sample scores all load, respace by command 12106 and draw.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "simhost/app/musicxml_import.h"
#include "simhost/app/score_svg.h"
#include "simhost/document/document_file.h"
#include "simhost/document/respacer.h"

namespace {

std::filesystem::path SamplesDir() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "samples" /
           "scores";
}

std::vector<std::filesystem::path> Samples() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(SamplesDir())) {
        paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

simhost::ParsedDocument Load(const std::filesystem::path& path) {
    if (path.extension() == ".ntv") return simhost::ReadDocumentFile(path.string());
    return simhost::ImportMusicXmlFile(path.string());
}

TEST(Samples, ThereAreScoresOfBothKinds) {
    std::size_t musicXml = 0;
    std::size_t documents = 0;
    for (const auto& path : Samples()) {
        musicXml += path.extension() == ".musicxml" ? 1 : 0;
        documents += path.extension() == ".ntv" ? 1 : 0;
    }
    EXPECT_GE(musicXml, 2u);
    EXPECT_GE(documents, 2u);
}

TEST(Samples, EachLoadsRespacesEveryMeasureAndDrawsEveryNote) {
    for (const auto& path : Samples()) {
        SCOPED_TRACE(path.filename().string());
        auto parsed = Load(path);
        ASSERT_TRUE(parsed.document) << parsed.error.Describe();
        simhost::Document& document = *parsed.document;
        const simhost::Score& score = document.GetScore();

        ASSERT_EQ(simhost::Respacer(document).RespaceSelection(),
                  static_cast<std::int32_t>(score.Measures().size()));
        std::size_t pitches = 0;
        for (std::size_t m = 0; m < score.Measures().size(); ++m) {
            const auto number = static_cast<std::int16_t>(m + 1);
            for (std::size_t s = 0; s < score.Staves().size(); ++s) {
                std::size_t events = 0;
                for (const auto& voice : score.Measures()[m].staves[s]) {
                    events += voice.events.size();
                    for (const auto& event : voice.events) pitches += event.pitches.size();
                }
                EXPECT_EQ(simhost::NotePositions(document, number, score.Staves()[s].slot).size(),
                          events)
                    << "measure " << number << ", staff " << s + 1;
            }
        }
        const std::string svg = simhost::RowSvg(
            simhost::SvgRow{path.stem().string(), &document, simhost::SelectedMeasures(document)});
        std::size_t heads = 0;
        for (std::size_t at = svg.find("class=\"notehead\""); at != std::string::npos;
             at = svg.find("class=\"notehead\"", at + 1)) {
            ++heads;
        }
        EXPECT_EQ(heads, pitches);
    }
}

}  // namespace
