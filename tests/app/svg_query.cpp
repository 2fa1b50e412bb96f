#include "tests/app/svg_query.h"

#include <gtest/gtest.h>

namespace apptest {

pugi::xml_document ParseSvg(const std::string& svg) {
    pugi::xml_document xml;
    EXPECT_TRUE(xml.load_string(svg.c_str())) << svg.substr(0, 200);
    return xml;
}

pugi::xml_document DrawnRow(const simhost::Document& document, simhost::MeasureRange measures) {
    return ParseSvg(simhost::RowSvg(simhost::SvgRow{"x", &document, measures}));
}

std::vector<pugi::xml_node> All(const pugi::xml_node& root, const std::string& xpath) {
    std::vector<pugi::xml_node> nodes;
    for (const pugi::xpath_node& node : root.select_nodes(xpath.c_str())) {
        nodes.push_back(node.node());
    }
    return nodes;
}

double Attribute(const pugi::xml_node& node, const char* name) {
    return node.attribute(name).as_double();
}

double MeasureX(const pugi::xml_node& root, int measure) {
    const std::string xpath = ".//*[@class='measure'][@data-n='" + std::to_string(measure) + "']";
    return Attribute(root.select_node(xpath.c_str()).node(), "data-x");
}

}  // namespace apptest
