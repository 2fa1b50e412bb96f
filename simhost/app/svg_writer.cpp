#include "simhost/app/svg_writer.h"

#include <cmath>
#include <cstdint>

namespace simhost {

SvgAttribute::SvgAttribute(std::string_view name, double value)
    : name(name), value(SvgWriter::Number(value)) {}

SvgAttribute::SvgAttribute(std::string_view name, std::string_view value)
    : name(name), value(SvgWriter::Escaped(value)) {}

std::string SvgWriter::Number(double value) {
    // Counted in hundredths and printed with integer arithmetic, so that every C++ library prints
    // the same digits (not all of them print a double in a fixed form). Rounded first, so that
    // -0.001 and 0 both read "0".
    const double hundredths = std::round(value * 100.0);
    // No drawing comes near this; what does (or is not a number) reads "0".
    if (!(std::fabs(hundredths) < 1e15)) return "0";
    const auto count = static_cast<std::int64_t>(hundredths);
    if (count == 0) return "0";
    const std::uint64_t magnitude =
        count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    std::string text = (count < 0 ? "-" : "") + std::to_string(magnitude / 100);
    if (const std::uint64_t cents = magnitude % 100; cents != 0) {
        text += '.';
        text += static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) text += static_cast<char>('0' + cents % 10);
    }
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
