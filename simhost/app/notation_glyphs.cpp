#include "simhost/app/notation_glyphs.h"

#include <cctype>
#include <cstdlib>
#include <optional>

#include "simhost/app/svg_path.h"

namespace simhost {
namespace {

using N = SvgWriter;

constexpr const char* kInk = "#1d1d1d";

// The treble clef, its origin where its spiral winds round the G line; the staff's lines lie
// at -3 (top) to 1 (bottom).
constexpr std::string_view kGClef =
    "M 0.35,0.55 C 0,0.75 -0.45,0.4 -0.35,-0.05 C -0.25,-0.55 0.55,-0.7 0.85,-0.2 "
    "C 1.15,0.35 0.7,1.05 0.05,1.05 C -0.75,1.05 -1.05,0.35 -0.85,-0.35 "
    "C -0.65,-1.1 0.15,-1.7 0.45,-2.5 C 0.7,-3.2 0.65,-4 0.3,-4.1 "
    "C -0.05,-4.2 -0.3,-3.6 -0.2,-3 C -0.05,-2 0.3,0.5 0.45,2 "
    "C 0.5,2.6 0.2,2.9 -0.15,2.85 C -0.5,2.8 -0.55,2.35 -0.3,2.2";
constexpr double kGClefLeft = -1.05;
constexpr double kGClefRight = 1.15;

// The bass clef, its origin at its head's left edge on the F line.
constexpr std::string_view kFClef =
    "M 0.25,0 C 0.2,-0.75 1.1,-1.05 1.6,-0.55 C 2.1,-0.05 1.9,0.95 1.2,1.6 "
    "C 0.8,2 0.3,2.3 -0.1,2.45";

// The C clef's right half above its line; the half below is its mirror image.
constexpr std::string_view kCClefUpper =
    "M 0.72,-0.05 L 1,-0.55 C 1.2,-0.45 1.45,-0.4 1.65,-0.55 C 2,-0.8 2.05,-1.6 1.6,-1.9 "
    "C 1.3,-2.05 0.95,-1.95 0.95,-1.55";
constexpr std::string_view kCClefLower =
    "M 0.72,0.05 L 1,0.55 C 1.2,0.45 1.45,0.4 1.65,0.55 C 2,0.8 2.05,1.6 1.6,1.9 "
    "C 1.3,2.05 0.95,1.95 0.95,1.55";

// Accidentals, their origin at the left edge on the height of their note.
constexpr std::string_view kSharpStems = "M 0.28,-1.05 L 0.28,1.35 M 0.62,-1.35 L 0.62,1.05";
constexpr std::string_view kSharpBars =
    "M 0,-0.2 L 0.9,-0.5 L 0.9,-0.22 L 0,0.08 Z M 0,0.55 L 0.9,0.25 L 0.9,0.53 L 0,0.83 Z";
constexpr std::string_view kFlat =
    "M 0.1,-1.75 L 0.1,0.5 C 0.55,0.2 0.85,-0.15 0.65,-0.4 C 0.5,-0.6 0.2,-0.45 0.1,-0.25";
constexpr std::string_view kNaturalStems = "M 0.15,-1.3 L 0.15,0.55 M 0.6,-0.55 L 0.6,1.3";
constexpr std::string_view kNaturalBars =
    "M 0.15,-0.28 L 0.6,-0.43 L 0.6,-0.15 L 0.15,0 Z M 0.15,0.42 L 0.6,0.27 L 0.6,0.55 "
    "L 0.15,0.7 Z";
constexpr std::string_view kDoubleSharp = "M 0,-0.35 L 0.7,0.35 M 0,0.35 L 0.7,-0.35";
constexpr double kDoubleFlatStep = 0.6;

void Stroke(SvgWriter& svg, std::string_view cls, const std::string& d, double width) {
    svg.Empty("path", {{"class", cls},
                       {"d", d},
                       {"fill", "none"},
                       {"stroke", kInk},
                       {"stroke-width", width},
                       {"stroke-linecap", "round"}});
}

void Fill(SvgWriter& svg, std::string_view cls, const std::string& d) {
    svg.Empty("path", {{"class", cls}, {"d", d}, {"fill", kInk}});
}

void Dot(SvgWriter& svg, std::string_view cls, double cx, double cy, double r) {
    svg.Empty("circle", {{"class", cls}, {"cx", cx}, {"cy", cy}, {"r", r}, {"fill", kInk}});
}

void Bar(SvgWriter& svg, std::string_view cls, double x, double top, double width, double height) {
    svg.Empty("rect", {{"class", cls},
                       {"x", x},
                       {"y", top},
                       {"width", width},
                       {"height", height},
                       {"fill", kInk}});
}

// The figure of an octave clef, under or over it.
void OctaveFigure(SvgWriter& svg, const Clef& clef, const GlyphFrame& frame, double top,
                  double bottom, std::string_view cls) {
    if (clef.octave == 0) return;
    const double centre = frame.X(ClefWidth(clef) / 2);
    svg.Content("text",
                {{"class", cls},
                 {"x", centre},
                 {"y", clef.octave < 0 ? frame.Y(bottom + 0.9) : frame.Y(top - 0.2)},
                 {"font-size", 0.95 * frame.space},
                 {"font-style", "italic"},
                 {"text-anchor", "middle"},
                 {"fill", kInk}},
                std::abs(clef.octave) == 1 ? "8" : "15");
}

}  // namespace

std::string PlacedPath(std::string_view design, const GlyphFrame& frame) {
    std::string out;
    bool isX = true;
    std::size_t pos = 0;
    while (pos < design.size()) {
        const char c = design[pos];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            if (!out.empty()) out.push_back(' ');
            out.push_back(c);
            isX = true;
            ++pos;
            continue;
        }
        if (c == ' ' || c == ',') {
            ++pos;
            continue;
        }
        const std::size_t end = design.find_first_of(" ,MLCZ", pos);
        const double value =
            std::strtod(std::string(design.substr(pos, end - pos)).c_str(), nullptr);
        out += isX ? " " + N::Number(frame.X(value)) : "," + N::Number(frame.Y(value));
        isX = !isX;
        pos = end == std::string_view::npos ? design.size() : end;
    }
    return out;
}

double ClefWidth(const Clef& clef) {
    switch (clef.sign) {
        case ClefSign::G:
            return kGClefRight - kGClefLeft;
        case ClefSign::F:
            return 2.55;
        case ClefSign::C:
            return 2.1;
        case ClefSign::Percussion:
            return 1.05;
        case ClefSign::Tab:
            return 1.4;
    }
    return 2;
}

int ClefOriginStep(const Clef& clef) { return clef.Pitched() ? (clef.line - 3) * 2 : 0; }

void DrawClef(SvgWriter& svg, const Clef& clef, const GlyphFrame& frame, std::string_view cls) {
    svg.Open("g", {{"class", cls}, {"data-clef", ClefText(clef)}});
    const double s = frame.space;
    switch (clef.sign) {
        case ClefSign::G: {
            const GlyphFrame at{frame.x - kGClefLeft * s, frame.y, s};
            Stroke(svg, "clef-body", PlacedPath(kGClef, at), 0.17 * s);
            Dot(svg, "clef-body", at.X(-0.27), at.Y(2.45), 0.3 * s);
            OctaveFigure(svg, clef, frame, -4.2, 2.9, "clef-octave");
            break;
        }
        case ClefSign::F:
            Stroke(svg, "clef-body", PlacedPath(kFClef, frame), 0.24 * s);
            Dot(svg, "clef-body", frame.X(0.38), frame.Y(0.08), 0.33 * s);
            Dot(svg, "clef-body", frame.X(2.4), frame.Y(-0.5), 0.16 * s);
            Dot(svg, "clef-body", frame.X(2.4), frame.Y(0.5), 0.16 * s);
            OctaveFigure(svg, clef, frame, -1.1, 2.5, "clef-octave");
            break;
        case ClefSign::C:
            Bar(svg, "clef-body", frame.X(0), frame.Y(-2), 0.42 * s, 4 * s);
            Bar(svg, "clef-body", frame.X(0.58), frame.Y(-2), 0.13 * s, 4 * s);
            Stroke(svg, "clef-body", PlacedPath(kCClefUpper, frame), 0.2 * s);
            Stroke(svg, "clef-body", PlacedPath(kCClefLower, frame), 0.2 * s);
            Dot(svg, "clef-body", frame.X(1.12), frame.Y(-1.5), 0.22 * s);
            Dot(svg, "clef-body", frame.X(1.12), frame.Y(1.5), 0.22 * s);
            OctaveFigure(svg, clef, frame, -2, 2, "clef-octave");
            break;
        case ClefSign::Percussion:
            Bar(svg, "clef-body", frame.X(0), frame.Y(-1), 0.35 * s, 2 * s);
            Bar(svg, "clef-body", frame.X(0.7), frame.Y(-1), 0.35 * s, 2 * s);
            break;
        case ClefSign::Tab:
            for (int i = 0; i < 3; ++i) {
                svg.Content("text",
                            {{"class", "clef-body"},
                             {"x", frame.X(0.7)},
                             {"y", frame.Y(-0.55 + 1.3 * (i - 1))},
                             {"font-size", 1.35 * s},
                             {"font-weight", "bold"},
                             {"font-family", "DejaVu Serif, Times, serif"},
                             {"text-anchor", "middle"},
                             {"fill", kInk}},
                            std::string(1, "TAB"[i]));
            }
            break;
    }
    svg.Close("g");
}

double AccidentalWidth(int alter) {
    switch (alter) {
        case 1:
            return 0.9;
        case -1:
            return 0.8;
        case 2:
            return 0.7;
        case -2:
            return 0.8 + kDoubleFlatStep;
        default:
            return 0.7;
    }
}

void DrawAccidental(SvgWriter& svg, int alter, const GlyphFrame& frame, std::string_view cls) {
    const double s = frame.space;
    svg.Open("g", {{"class", cls}, {"data-alter", static_cast<double>(alter)}});
    switch (alter) {
        case 1:
            Stroke(svg, "accidental-stroke", PlacedPath(kSharpStems, frame), 0.1 * s);
            Fill(svg, "accidental-stroke", PlacedPath(kSharpBars, frame));
            break;
        case -1:
            Stroke(svg, "accidental-stroke", PlacedPath(kFlat, frame), 0.13 * s);
            break;
        case -2:
            Stroke(svg, "accidental-stroke", PlacedPath(kFlat, frame), 0.13 * s);
            Stroke(svg, "accidental-stroke",
                   PlacedPath(kFlat, GlyphFrame{frame.X(kDoubleFlatStep), frame.y, s}), 0.13 * s);
            break;
        case 2:
            Stroke(svg, "accidental-stroke", PlacedPath(kDoubleSharp, frame), 0.16 * s);
            break;
        default:
            Stroke(svg, "accidental-stroke", PlacedPath(kNaturalStems, frame), 0.1 * s);
            Fill(svg, "accidental-stroke", PlacedPath(kNaturalBars, frame));
            break;
    }
    svg.Close("g");
}

std::vector<int> KeySignatureSteps(const Clef& clef, int key) {
    std::vector<int> steps;
    const auto middle = clef.MiddleLine();
    if (!clef.Pitched() || !middle || key == 0) return steps;
    constexpr int kF = 3;
    constexpr int kE = 2;
    constexpr int kG = 4;
    const auto letterAt = [&](int step) { return ((*middle + step) % 7 + 7) % 7; };
    // The window's top: the highest place it may use.
    const auto topWith = [&](int letter, int low, int high) -> std::optional<int> {
        for (int top = high; top >= low; --top) {
            if (letterAt(top) == letter) return top;
        }
        return std::nullopt;
    };
    const bool sharps = key > 0;
    const int top = sharps ? topWith(kG, 3, 5).value_or(topWith(kE, 3, 5).value_or(4))
                           : topWith(kE, -2, 4).value_or(3);
    // Sharps go in fifths from F (F C G D A E B), flats in fourths from B.
    int letter = sharps ? kF : 6;
    for (int i = 0; i < std::abs(key) && i < 7; ++i) {
        for (int step = top; step > top - 7; --step) {
            if (letterAt(step) == letter) {
                steps.push_back(step);
                break;
            }
        }
        letter = sharps ? (letter + 4) % 7 : (letter + 3) % 7;
    }
    return steps;
}

void DrawBrace(SvgWriter& svg, double right, double top, double bottom, double space) {
    const double w = 1.0 * space;
    const double t = 0.42 * space;  // the brace's thickness halfway along each arm
    const double h = bottom - top;
    const double mid = (top + bottom) / 2;
    const double arm = right - 0.5 * w;
    const double point = right - w;
    SvgPath d;
    // Outer edge down to the point, and on to the lower tip.
    d.MoveTo(right, top)
        .CurveTo(right - 0.55 * w, top + 0.02 * h, arm, top + 0.1 * h, arm, top + 0.25 * h)
        .CurveTo(arm, mid - 0.15 * h, right - 0.65 * w, mid - 0.03 * h, point, mid)
        .CurveTo(right - 0.65 * w, mid + 0.03 * h, arm, mid + 0.15 * h, arm, bottom - 0.25 * h)
        .CurveTo(arm, bottom - 0.1 * h, right - 0.55 * w, bottom - 0.02 * h, right, bottom);
    // Inner edge back up, the arms thicker towards their middle.
    d.CurveTo(right - 0.4 * w, bottom - 0.04 * h, arm + t, bottom - 0.12 * h, arm + t,
              bottom - 0.25 * h)
        .CurveTo(arm + t, mid + 0.12 * h, right - 0.6 * w, mid + 0.02 * h, point, mid)
        .CurveTo(right - 0.6 * w, mid - 0.02 * h, arm + t, mid - 0.12 * h, arm + t, top + 0.25 * h)
        .CurveTo(arm + t, top + 0.12 * h, right - 0.4 * w, top + 0.04 * h, right, top)
        .Close();
    svg.Empty("path", {{"class", "brace"}, {"d", d.Data()}, {"fill", kInk}});
}

}  // namespace simhost
