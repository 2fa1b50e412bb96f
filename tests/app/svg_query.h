// Reading back the pictures the tests draw: parsed as XML, elements found by XPath, numbers
// read from their attributes.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "simhost/app/score_layout.h"
#include "simhost/app/score_svg.h"

namespace apptest {

// SVG units per staff space in the pictures.
inline constexpr double kStaffSpace = simhost::layout::kSpace;

// Measures of a document drawn as one row, read back.
pugi::xml_document DrawnRow(const simhost::Document& document,
                            simhost::MeasureRange measures = {1, 1});

pugi::xml_document ParseSvg(const std::string& svg);
std::vector<pugi::xml_node> All(const pugi::xml_node& root, const std::string& xpath);
double Attribute(const pugi::xml_node& node, const char* name);
// Where measure m begins in a picture (or in one row of it), as its drawing says.
double MeasureX(const pugi::xml_node& root, int measure);

}  // namespace apptest
