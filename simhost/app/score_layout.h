// Where everything in a picture of spacing stands, for the drawing (score_svg.cpp) to ink.
//
// From the outside in: the picture's rows stand one under another, and every row shares its
// columns with the others (the labels, the braces, the clefs and signatures that open a row,
// then the measures) so that rows compare. A row's staves stand one under another; its
// measures follow each other at their widths, with barlines through each instrument's staves.
// In a measure, each event stands at its column; a chord's heads, accidentals, stem and dots
// stand around its column.
//
// Horizontally everything is to scale: kScale SVG units per host unit. Vertically a staff
// step is half a staff space (kSpace), counted up from the middle line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "simhost/app/notation_glyphs.h"
#include "simhost/app/score_svg.h"
#include "simhost/document/document.h"

namespace simhost::layout {

constexpr double kScale = kSvgUnitsPerHostUnit;
constexpr double kSpace = 24 * kScale;
constexpr double kMargin = 16;
constexpr double kStaffHeight = 4 * kSpace;
constexpr double kStaffGap = 7 * kSpace;
// Half a full-size head's width: a column's left edge is its heads' centre less this.
constexpr double kHeadRx = 6.5;
// How far apart a note's flags hang.
constexpr double kFlagStep = 7;

// For each event and pitch that shows an accidental, the alteration shown.
using Accidentals = std::map<std::pair<const Event*, std::size_t>, int>;

// The picture's size and the columns every row shares.
struct PictureLayout {
    double systemLeft = 0;    // where the staves begin, right of labels and braces
    double clefLeft = 0;      // where the clefs that open the rows begin
    double measuresLeft = 0;  // where the first measure begins, after the clefs and signatures
    double width = 0;
    double height = 0;
    std::vector<double> rowTops;
};

PictureLayout LayOutPicture(std::span<const SvgRow> rows, std::string_view title);

// ---- A row

std::size_t StaffCount(const SvgRow& row);
double RowHeight(const SvgRow& row);
// All its measures, end to end.
double RowWidth(const SvgRow& row);
// The top line of its first staff, below the measure numbers and the room above the staves.
double FirstStaffTop(double rowTop);
double StaffTop(double firstStaff, std::size_t staff);
// The height of a staff step (half a space) above the middle line.
double LineY(double staffTop, int step);

// A measure's record; a measure without one is drawn at a fixed width.
MeasureFields FieldsOf(const Document& document, std::int32_t number);
double MeasureWidth(const Document& document, std::int16_t number);
// A time signature is shown at the first measure and wherever it changes.
bool ShowsTime(const Document& document, std::int32_t number);

Clef ClefOfRow(const SvgRow& row, std::size_t staff);
// Where the key signature that opens a row's staves stands: after the widest of their clefs.
double KeySignatureLeft(const PictureLayout& picture, const SvgRow& row);

// The staves a barline runs through: an instrument's braced staves, or one staff alone.
struct BarlineSpan {
    std::size_t first;
    std::size_t last;
};

std::vector<BarlineSpan> BarlineSpans(const SvgRow& row);

// ---- A measure

struct PlacedEvent {
    TimedEvent timed;
    double x;  // the left edge of its column; a whole-measure rest's middle
    // As the file states it; else in a staff of several voices the first takes its stems up
    // and the others down, so that the voices stay apart; alone, a voice's stems go by pitch.
    // Grace notes' go up. A beam group sets it for all its notes (beam_layout.h).
    std::optional<bool> stemUp;
};

// Each staff's events with the left edge of their columns, voice after voice, as the note
// position records list them; the measure starts at x.
std::vector<std::vector<PlacedEvent>> PlaceEvents(const Document& document, const Measure& measure,
                                                  std::int16_t number, const MeasureFields& fields,
                                                  double x);

// Where a clef change is drawn, on a staff whose top line is at staffTop.
GlyphFrame ClefChangeFrame(const std::vector<std::vector<PlacedEvent>>& placed,
                           const ClefChange& change, const MeasureFields& fields, double x,
                           double staffTop);

// ---- A chord or a rest

// A grace or cue note's size against a full-size note.
double SizeOf(const Event& event);
// Flags and beams an unbeamed note of this value has: one for an eighth, two for a 16th.
int FlagCount(std::int32_t value);

struct PlacedHead {
    std::size_t pitch;  // in the event's pitches
    int step;           // above the middle line
    double centre;
    double y;
    double dotY;  // its dots', in the space at or above it
};

struct PlacedAccidental {
    int alter;
    double left;
    double y;
    std::size_t head;  // in the chord's heads
};

struct Stem {
    double x;
    double from;  // at the heads
    double end;   // where the flags hang from
};

struct ChordLayout {
    double size = 1;  // see SizeOf
    bool up = true;
    bool whole = false;  // a wider head, and no stem
    double rx = 0;
    double ry = 0;
    std::vector<PlacedHead> heads;  // lowest first
    // The ledger lines' ends and the heads' highest and lowest steps.
    double ledgerLeft = 0;
    double ledgerRight = 0;
    int lowest = 0;
    int highest = 0;
    std::vector<PlacedAccidental> accidentals;  // from the top down
    int flags = 0;
    std::optional<Stem> stem;
    double dotX = 0;
};

// Heads stacked by their steps on the staff (every head on the middle line under a clef that
// names no pitch); the stem goes up when the notes lie mostly below the middle line. Of two
// heads a second apart, one moves to the other side of the stem. Accidentals stand left of
// the heads, a column further out for each that would touch the one above.
ChordLayout LayOutChord(const PlacedEvent& item, double staffTop, const Clef& clef,
                        const Accidentals& accidentals);

}  // namespace simhost::layout
