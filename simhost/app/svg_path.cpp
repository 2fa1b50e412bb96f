#include "simhost/app/svg_path.h"

#include "simhost/app/svg_writer.h"

namespace simhost {

SvgPath& SvgPath::MoveTo(double x, double y) {
    Command('M', {{x, y}});
    return *this;
}

SvgPath& SvgPath::LineBy(double dx, double dy) {
    Command('l', {{dx, dy}});
    return *this;
}

SvgPath& SvgPath::CurveTo(double x1, double y1, double x2, double y2, double x, double y) {
    Command('C', {{x1, y1}, {x2, y2}, {x, y}});
    return *this;
}

SvgPath& SvgPath::CurveBy(double dx1, double dy1, double dx2, double dy2, double dx, double dy) {
    Command('c', {{dx1, dy1}, {dx2, dy2}, {dx, dy}});
    return *this;
}

SvgPath& SvgPath::QuadraticBy(double dx1, double dy1, double dx, double dy) {
    Command('q', {{dx1, dy1}, {dx, dy}});
    return *this;
}

SvgPath& SvgPath::ArcTo(double rx, double ry, double tiltDegrees, bool largeArc, bool sweep,
                        double x, double y) {
    Command('A', {{rx, ry}});
    data_ += ' ';
    data_ += SvgWriter::Number(tiltDegrees);
    data_ += largeArc ? " 1" : " 0";
    data_ += sweep ? " 1 " : " 0 ";
    Pair(x, y);
    return *this;
}

SvgPath& SvgPath::Close() {
    Command('Z', {});
    return *this;
}

void SvgPath::Command(char letter, std::initializer_list<std::pair<double, double>> pairs) {
    if (!data_.empty()) data_ += ' ';
    data_ += letter;
    bool first = true;
    for (const auto& [x, y] : pairs) {
        if (!first) data_ += ' ';
        Pair(x, y);
        first = false;
    }
}

void SvgPath::Pair(double x, double y) {
    data_ += SvgWriter::Number(x);
    data_ += ',';
    data_ += SvgWriter::Number(y);
}

}  // namespace simhost
