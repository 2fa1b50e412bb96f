// SVG text built element by element. Numbers are always written one way (at most two
// decimals, no trailing zeros, never "-0"), so that the same picture is the same bytes on
// every machine and a golden file can hold it.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace simhost {

struct SvgAttribute {
    SvgAttribute(std::string_view name, double value);
    SvgAttribute(std::string_view name, std::string_view value);
    SvgAttribute(std::string_view name, const char* value)
        : SvgAttribute(name, std::string_view(value)) {}

    std::string_view name;
    std::string value;  // already escaped
};

class SvgWriter {
public:
    using Attributes = std::vector<SvgAttribute>;

    static std::string Number(double value);
    static std::string Escaped(std::string_view text);

    void Open(std::string_view element, const Attributes& attributes);
    void Close(std::string_view element);
    void Empty(std::string_view element, const Attributes& attributes);
    // An element holding only text: <text>, <title>, <desc>.
    void Content(std::string_view element, const Attributes& attributes, std::string_view text);

    const std::string& Result() const { return out_; }
    // The text written, moved out: a long score's picture is not held twice.
    std::string TakeResult() && { return std::move(out_); }

private:
    void Start(std::string_view element, const Attributes& attributes);

    std::string out_;
    int depth_ = 0;
};

}  // namespace simhost
