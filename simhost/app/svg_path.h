// The "d" of an SVG path, command by command, with numbers written as SvgWriter writes them:
// SvgPath().MoveTo(4, 5).LineBy(5, 7).Close() is "M4,5 l5,7 Z". Upper-case commands take
// points on the page, lower-case ones distances from where the pen stands.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace simhost {

class SvgPath {
public:
    SvgPath& MoveTo(double x, double y);
    SvgPath& LineBy(double dx, double dy);
    SvgPath& CurveTo(double x1, double y1, double x2, double y2, double x, double y);
    SvgPath& CurveBy(double dx1, double dy1, double dx2, double dy2, double dx, double dy);
    SvgPath& QuadraticBy(double dx1, double dy1, double dx, double dy);
    // An elliptical arc to (x, y): its radii, the ellipse's tilt in degrees, and which of the
    // four arcs through the two points it is (SVG's large-arc and sweep flags).
    SvgPath& ArcTo(double rx, double ry, double tiltDegrees, bool largeArc, bool sweep, double x,
                   double y);
    SvgPath& Close();

    const std::string& Data() const { return data_; }

private:
    // The command's letter after a space, then its pairs "x,y" apart by spaces.
    void Command(char letter, std::initializer_list<std::pair<double, double>> pairs);
    void Pair(double x, double y);

    std::string data_;
};

}  // namespace simhost
