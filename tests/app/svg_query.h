// Reading back the pictures the tests draw: parsed as XML, elements found by XPath, numbers
// read from their attributes.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

namespace apptest {

pugi::xml_document ParseSvg(const std::string& svg);
std::vector<pugi::xml_node> All(const pugi::xml_node& root, const std::string& xpath);
double Attribute(const pugi::xml_node& node, const char* name);
// Where measure m begins in a picture (or in one row of it), as its drawing says.
double MeasureX(const pugi::xml_node& root, int measure);

}  // namespace apptest
