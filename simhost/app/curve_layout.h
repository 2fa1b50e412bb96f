// Where a row's ties and slurs lie, for the drawing to ink as crescents: thin at the ends and
// thick in the middle, as an engraver cuts them.
//
// A tie runs from head to head of one pitch, on the side away from the stem; of a chord's
// ties, the upper half bend up and the lower half down; in a staff of several voices, each
// voice's ties bend to its stems' side, away from the other voice. A slur runs over or under its
// notes: as the file places it, else on the stems' side in a staff of several voices, else under
// the notes when every stem at its ends goes up and over them otherwise. It bends far enough to
// clear the heads and stems of its voice between its ends and the slurs within it, and lifts
// its ends where bending alone would take it too far. A curve whose other end lies outside the
// row runs to the row's edge; a tie that never stops is a short tie toward the next note, and a
// slur that never stops is left out, since nothing says how far it reaches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "simhost/app/curve_marks.h"
#include "simhost/app/measure_music.h"

namespace simhost::layout {

struct Crescent {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    // How far the outer edge's control points stand from the line between the ends (negative:
    // up), and the inner edge's nearer to it.
    double bulge = 0;
    double thickness = 0;
};

struct PlacedCurve {
    CurveKind kind = CurveKind::Tie;
    std::size_t staff = 0;
    Crescent shape;
};

// The measures of one row, laid out as the drawing and the curves reach them: in order, each
// once, and forgotten once drawn, so that a long row holds only the measures a curve spans.
class RowMusic {
public:
    RowMusic(const Document& document, MeasureRange measures, double left, double firstStaff,
             bool byMarks);

    // Null outside the row.
    const MeasureMusic* Music(std::int32_t number);
    void ForgetBefore(std::int32_t number);

    const Document& GetDocument() const { return document_; }
    MeasureRange Measures() const { return measures_; }
    double Left() const { return left_; }
    double Right() const { return right_; }

private:
    const Document& document_;
    MeasureRange measures_;
    double left_;
    double right_;
    double firstStaff_;
    bool byMarks_;
    std::int32_t next_;
    double nextX_;
    std::map<std::int32_t, MeasureMusic> laidOut_;
};

// The curves drawn in a measure of the row: those that start in it, and in the row's first
// measure those that come into the row from before it. spans: the document's CurveSpansOf.
std::vector<PlacedCurve> CurvesOfMeasure(const std::vector<CurveSpan>& spans, RowMusic& row,
                                         std::int32_t number);

}  // namespace simhost::layout
