// The plain values MusicXML writes inside its elements, read exactly: decimals as fractions,
// note type names as durations, and the line an element stands on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/document/rational.h"

namespace simhost {

std::string_view Trimmed(std::string_view text);
// An element's text without the blanks around it; empty for a missing element.
std::string_view TextOf(pugi::xml_node node);

// A decimal number as MusicXML writes durations and divisions ("480", "0.5"), exactly.
std::optional<Rational> ParseDecimal(std::string_view text);
std::optional<std::int64_t> ParseInteger(std::string_view text);

// A <type> or <normal-type> name ("quarter", "16th") as 1024ths of a quarter.
std::optional<std::int32_t> ValueOfType(std::string_view name);

// "5/12 of a quarter", "3 quarters": a duration as a reader of an error can check it.
std::string QuarterText(Rational duration);

// Line numbers of offsets into a text.
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    // 1-based; 0 when the offset is unknown.
    std::size_t LineOf(std::ptrdiff_t offset) const;

private:
    std::vector<std::size_t> newlines_;
};

}  // namespace simhost
