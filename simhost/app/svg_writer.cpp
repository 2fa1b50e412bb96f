#include "simhost/app/svg_writer.h"

#include <charconv>
#include <cmath>

namespace simhost {

SvgAttribute::SvgAttribute(std::string_view name, double value)
    : name(name), value(SvgWriter::Number(value)) {}

SvgAttribute::SvgAttribute(std::string_view name, std::string_view value)
    : name(name), value(SvgWriter::Escaped(value)) {}

std::string SvgWriter::Number(double value) {
    // Rounded to hundredths first, so that -0.001 and 0 both read "0".
    double rounded = std::round(value * 100.0) / 100.0;
    if (rounded == 0.0) rounded = 0.0;
    char buffer[32];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 2);
    if (ec != std::errc{}) return "0";
    std::string text(buffer, end);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string SvgWriter::Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

void SvgWriter::Start(std::string_view element, const Attributes& attributes) {
    out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
    out_ += '<';
    out_ += element;
    for (const SvgAttribute& attribute : attributes) {
        out_ += ' ';
        out_ += attribute.name;
        out_ += "=\"";
        out_ += attribute.value;
        out_ += '"';
    }
}

void SvgWriter::Open(std::string_view element, const Attributes& attributes) {
    Start(element, attributes);
    out_ += ">\n";
    ++depth_;
}

void SvgWriter::Close(std::string_view element) {
    --depth_;
    out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
    out_ += "</";
    out_ += element;
    out_ += ">\n";
}

void SvgWriter::Empty(std::string_view element, const Attributes& attributes) {
    Start(element, attributes);
    out_ += "/>\n";
}

void SvgWriter::Content(std::string_view element, const Attributes& attributes,
                        std::string_view text) {
    Start(element, attributes);
    out_ += '>';
    out_ += Escaped(text);
    out_ += "</";
    out_ += element;
    out_ += ">\n";
}

}  // namespace simhost
