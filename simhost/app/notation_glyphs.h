// The engraved symbols the pictures draw besides heads, stems and rests: clefs, accidentals,
// the brace. Each is designed once in staff spaces around an origin (a clef's origin is on the
// line it names, an accidental's on the height of its note) and drawn at any size, so that a
// clef change is the staff's clef made smaller. Only moves, lines, curves and circles are used,
// since some SVG readers ignore transforms.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simhost/app/svg_writer.h"
#include "simhost/document/clef.h"

namespace simhost {

// Where a symbol is drawn: its origin, and the size of a staff space there.
struct GlyphFrame {
    double x = 0;
    double y = 0;
    double space = 12;

    double X(double spaces) const { return x + spaces * space; }
    double Y(double spaces) const { return y + spaces * space; }
};

// Path data designed in staff spaces ("M 0,1 C ..."; absolute M, L, C and Z only), placed in a
// frame: every coordinate pair is scaled by the frame's space and moved to its origin.
std::string PlacedPath(std::string_view design, const GlyphFrame& frame);

// How wide a clef is, in staff spaces, from the frame's origin to its right edge.
double ClefWidth(const Clef& clef);
// The height a clef's origin stands at, in staff steps (half spaces) above the middle line.
int ClefOriginStep(const Clef& clef);
// Draws a clef with its origin at frame.x (its left edge) and frame.y (on its line).
void DrawClef(SvgWriter& svg, const Clef& clef, const GlyphFrame& frame, std::string_view cls);

// An accidental for an alteration from -2 to 2 (0 a natural), its left edge at frame.x and its
// note's height at frame.y. Answers its width in staff spaces.
double AccidentalWidth(int alter);
void DrawAccidental(SvgWriter& svg, int alter, const GlyphFrame& frame, std::string_view cls);

// Where the accidentals of a key signature stand under a clef, in staff steps above the middle
// line, in the order they are written: sharps (key > 0) from F, flats from B. Each letter takes
// the one place in a seven-step window that keeps the signature on the staff: sharps from A up
// to a G near the top line (E under a tenor clef, where that G would leave the staff), flats
// from F up to an E.
std::vector<int> KeySignatureSteps(const Clef& clef, int key);

// A brace whose points touch x = right, from top to bottom, as wide as a staff space allows.
void DrawBrace(SvgWriter& svg, double right, double top, double bottom, double space);

}  // namespace simhost
