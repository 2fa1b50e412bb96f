// What a MusicXML score imports to, in a form a test can state in one line: each staff's voices
// of a measure in the score notation, its clef and clef changes as clef texts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/document/document.h"
#include "simhost/document/document_file.h"

namespace apptest {

// Fails the test (and answers an empty document) when the score cannot be read.
simhost::Document Import(const std::string& xml);
// A score of tests/app/scores, read the way notavo-sim reads a file.
simhost::ParsedDocument ImportScoreFile(const std::string& name);

// The voices of one staff (from 0) in one measure (from 0), in the score notation.
std::vector<std::string> Voices(const simhost::Document& document, std::size_t measure,
                                std::size_t staff = 0);

// Each staff's own clef, in staff order, as clef texts ("G2", "F4").
std::vector<std::string> StaffClefs(const simhost::Document& document);
// The clef changes of a measure (from 0), each as "slot@at:clef" ("2@2048:G2").
std::vector<std::string> ClefChanges(const simhost::Document& document, std::size_t measure);

// Each warning as Describe() gives it, without the file's path before its line.
std::vector<std::string> Warnings(const simhost::ParsedDocument& parsed);

}  // namespace apptest
