#include "tests/app/imported_score.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "simhost/app/musicxml_import.h"
#include "simhost/document/score_notation.h"

namespace apptest {

simhost::Document Import(const std::string& xml) {
    auto parsed = simhost::ImportMusicXml(xml, "test.musicxml");
    EXPECT_TRUE(parsed.document) << parsed.error.Describe();
    return parsed.document ? std::move(*parsed.document) : simhost::Document();
}

simhost::ParsedDocument ImportScoreFile(const std::string& name) {
    const auto path = std::filesystem::path(__FILE__).parent_path() / "scores" / name;
    return simhost::ImportMusicXmlFile(path.string());
}

std::vector<std::string> Voices(const simhost::Document& document, std::size_t measure,
                                std::size_t staff) {
    std::vector<std::string> texts;
    const auto& measures = document.GetScore().Measures();
    if (measure >= measures.size() || staff >= measures[measure].staves.size()) return texts;
    for (const auto& voice : measures[measure].staves[staff]) {
        texts.push_back(simhost::FormatVoice(voice));
    }
    return texts;
}

std::vector<std::string> StaffClefs(const simhost::Document& document) {
    std::vector<std::string> clefs;
    for (const simhost::Staff& staff : document.GetScore().Staves()) {
        clefs.push_back(simhost::ClefText(staff.clef));
    }
    return clefs;
}

std::vector<std::string> ClefChanges(const simhost::Document& document, std::size_t measure) {
    std::vector<std::string> changes;
    const simhost::Score& score = document.GetScore();
    if (measure >= score.Measures().size()) return changes;
    for (const simhost::ClefChange& change : score.Measures()[measure].clefChanges) {
        std::string at = std::to_string(change.at.Num());
        if (change.at.Den() != 1) at += "/" + std::to_string(change.at.Den());
        changes.push_back(std::to_string(score.Staves()[change.staff].slot) + "@" + at + ":" +
                          simhost::ClefText(change.clef));
    }
    return changes;
}

std::vector<std::string> Warnings(const simhost::ParsedDocument& parsed) {
    std::vector<std::string> warnings;
    for (const simhost::DocumentFileError& warning : parsed.warnings) {
        const std::string text = warning.Describe();
        warnings.push_back(text.substr(text.find(':') + 1));
    }
    return warnings;
}

}  // namespace apptest
