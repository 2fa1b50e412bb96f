#include "tests/app/musicxml_text.h"

namespace apptest {

std::string Partwise(const std::vector<std::vector<std::string>>& parts) {
    std::string xml = "<?xml version=\"1.0\"?>\n<score-partwise version=\"4.0\">\n<part-list>\n";
    for (std::size_t p = 0; p < parts.size(); ++p) {
        xml += "<score-part id=\"P" + std::to_string(p + 1) + "\"/>\n";
    }
    xml += "</part-list>\n";
    for (std::size_t p = 0; p < parts.size(); ++p) {
        xml += "<part id=\"P" + std::to_string(p + 1) + "\">\n";
        for (std::size_t m = 0; m < parts[p].size(); ++m) {
            xml += "<measure number=\"" + std::to_string(m + 1) + "\">\n" + parts[p][m] +
                   "\n</measure>\n";
        }
        xml += "</part>\n";
    }
    return xml + "</score-partwise>\n";
}

std::string Attributes(int divisions, int beats, int beatType) {
    std::string xml = "<attributes><divisions>" + std::to_string(divisions) + "</divisions>";
    if (beats != 0) {
        xml += "<time><beats>" + std::to_string(beats) + "</beats><beat-type>" +
               std::to_string(beatType) + "</beat-type></time>";
    }
    return xml + "</attributes>\n";
}

std::string Note(const std::string& pitch, const std::string& duration, const std::string& type,
                 const std::string& extra, const std::string& voice) {
    std::string xml = "<note>";
    if (pitch.empty()) {
        xml += "<rest/>";
    } else {
        xml += "<pitch><step>" + pitch.substr(0, 1) + "</step>";
        const std::string accidental = pitch.substr(1, pitch.size() - 2);
        if (accidental == "#") xml += "<alter>1</alter>";
        if (accidental == "b") xml += "<alter>-1</alter>";
        xml += "<octave>" + pitch.substr(pitch.size() - 1) + "</octave></pitch>";
    }
    if (!duration.empty()) xml += "<duration>" + duration + "</duration>";
    if (!voice.empty()) xml += "<voice>" + voice + "</voice>";
    if (!type.empty()) xml += "<type>" + type + "</type>";
    return xml + extra + "</note>\n";
}

std::string TimeModification(int actual, int normal) {
    return "<time-modification><actual-notes>" + std::to_string(actual) +
           "</actual-notes><normal-notes>" + std::to_string(normal) +
           "</normal-notes></time-modification>";
}

}  // namespace apptest
