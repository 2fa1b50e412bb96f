// Small MusicXML scores written inline, so that each test shows the music it reads.
#pragma once

#include <string>
#include <vector>

namespace apptest {

// A partwise score; each part is its measures' contents, parts named P1, P2, ...
std::string Partwise(const std::vector<std::vector<std::string>>& parts);

// "<attributes>" with divisions and, when beats is nonzero, a time signature.
std::string Attributes(int divisions, int beats = 0, int beatType = 4);

// A note: pitch as "C5" or "F#4" or "Bb3", "" for a rest; type "" for none; extra goes inside
// the <note> after the type (dots, time modification, notations...).
std::string Note(const std::string& pitch, const std::string& duration, const std::string& type,
                 const std::string& extra = "", const std::string& voice = "");

std::string TimeModification(int actual, int normal);

}  // namespace apptest
