// Inks the pictures that score_layout places.
//
// A picture is drawn top down: its background and title, then row after row. A row draws its
// frame and label, its staff lines, system line and braces, each staff's clef and
// signatures, then measure after measure: its number, a key or time change, clef changes,
// each staff's events (rests; notes with their ledger lines, accidentals, heads, stems,
// flags and dots; tuplets; beams), the ties and slurs that start in it (curve_layout.h), and the
// barlines that close it. The measures are laid out a little ahead of the drawing
// (measure_music.h), as far as the curves that start in a measure reach. Heads and the shapes of
// rests and flags are drawn here; clefs, accidentals and the brace come from notation_glyphs.
#include "simhost/app/score_svg.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "simhost/app/beam_groups.h"
#include "simhost/app/beam_layout.h"
#include "simhost/app/curve_layout.h"
#include "simhost/app/curve_marks.h"
#include "simhost/app/measure_music.h"
#include "simhost/app/notation_glyphs.h"
#include "simhost/app/score_layout.h"
#include "simhost/app/shown_accidentals.h"
#include "simhost/app/svg_path.h"
#include "simhost/app/svg_writer.h"
#include "simhost/document/signature_room.h"

namespace simhost {
namespace {

using namespace layout;

// Heads lean as engraved ones do. They are drawn as two arcs rather than as rotated ellipses,
// since some SVG readers ignore transforms.
constexpr double kHeadTilt = -20;
constexpr double kDotStep = 4.5;

constexpr const char* kBackground = "#f6f4ee";
constexpr const char* kRowFill = "#ffffff";
constexpr const char* kRowBorder = "#dedad0";
constexpr const char* kStaffInk = "#8a8780";
constexpr const char* kInk = "#1d1d1d";
constexpr const char* kLabelInk = "#2d2d2d";
constexpr const char* kQuietInk = "#7a776f";
constexpr const char* kFonts = "DejaVu Sans, Helvetica, Arial, sans-serif";
constexpr const char* kFigureFonts = "DejaVu Serif, Times, serif";

using N = SvgWriter;

// An ellipse as two half arcs, from the end of its long axis on the right to the other end and
// back.
std::string HeadPath(double cx, double cy, double rx, double ry, double tiltDegrees) {
    const double tilt = tiltDegrees * 3.14159265358979323846 / 180.0;
    const double dx = rx * std::cos(tilt);
    const double dy = rx * std::sin(tilt);
    return SvgPath()
        .MoveTo(cx + dx, cy + dy)
        .ArcTo(rx, ry, tiltDegrees, true, true, cx - dx, cy - dy)
        .ArcTo(rx, ry, tiltDegrees, true, true, cx + dx, cy + dy)
        .Close()
        .Data();
}

struct OpenGroup {
    std::size_t first;  // its first event, in the staff's events
    Tuplet ratio;
    TupletLook look;
    bool drawn;  // whether any of its events is drawn: a group of spaces gets no number
    // How far the groups within it reach up and down, so that it stands outside them.
    double top = 1e9;
    double bottom = -1e9;
};

class Picture {
public:
    Picture(std::span<const SvgRow> rows, std::string_view title)
        : rows_(rows), title_(title), layout_(LayOutPicture(rows, title)) {}

    std::string Draw() {
        const double width = layout_.width;
        const double height = layout_.height;
        svg_.Open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                          {"viewBox", "0 0 " + N::Number(width) + " " + N::Number(height)},
                          {"width", width},
                          {"height", height},
                          {"font-family", kFonts}});
        svg_.Content("desc", {},
                     "Widths to scale: " + N::Number(kScale) + " SVG units per host unit, " +
                         N::Number(kSpace) + " per staff space.");
        svg_.Empty("rect", {{"width", width}, {"height", height}, {"fill", kBackground}});
        if (!title_.empty()) {
            Text({{"class", "title"},
                  {"x", kMargin},
                  {"y", kMargin + 14},
                  {"font-size", 15},
                  {"font-weight", "bold"},
                  {"fill", kLabelInk}},
                 title_);
        }
        for (std::size_t i = 0; i < rows_.size(); ++i) DrawRow(rows_[i], i + 1, layout_.rowTops[i]);
        svg_.Close("svg");
        return std::move(svg_).TakeResult();
    }

private:
    void DrawRow(const SvgRow& row, std::size_t index, double top) {
        const double height = RowHeight(row);
        svg_.Open("g", {{"class", "system"},
                        {"data-label", row.label},
                        {"id", "row-" + std::to_string(index)}});
        svg_.Empty("rect", {{"x", kMargin / 2},
                            {"y", top},
                            {"width", layout_.width - kMargin},
                            {"height", height},
                            {"rx", 4},
                            {"fill", kRowFill},
                            {"stroke", kRowBorder}});
        const std::size_t staves = StaffCount(row);
        const double firstStaff = FirstStaffTop(top);
        const double lastStaffBottom = StaffTop(firstStaff, staves - 1) + kStaffHeight;
        Text({{"class", "label"},
              {"x", kMargin},
              {"y", (firstStaff + lastStaffBottom) / 2 + 4},
              {"font-size", 12},
              {"fill", kLabelInk}},
             row.label);
        const double rowRight = layout_.measuresLeft + RowWidth(row);
        for (std::size_t s = 0; s < staves; ++s) {
            const double staffTop = StaffTop(firstStaff, s);
            svg_.Open("g", {{"class", "staff-lines"},
                            {"data-staff", static_cast<double>(s + 1)},
                            {"data-top", staffTop}});
            for (int line = 0; line < 5; ++line) {
                const double y = staffTop + line * kSpace;
                svg_.Empty("line", {{"class", "staff-line"},
                                    {"x1", layout_.systemLeft},
                                    {"y1", y},
                                    {"x2", rowRight},
                                    {"y2", y},
                                    {"stroke", kStaffInk},
                                    {"stroke-width", 0.8}});
            }
            svg_.Close("g");
        }
        if (staves > 1) {
            Line("system-line", layout_.systemLeft, firstStaff, layout_.systemLeft, lastStaffBottom,
                 1.2);
        }
        const std::vector<BarlineSpan> spans = BarlineSpans(row);
        for (const BarlineSpan& span : spans) {
            if (span.last > span.first) {
                DrawBrace(svg_, layout_.systemLeft - 0.25 * kSpace,
                          StaffTop(firstStaff, span.first),
                          StaffTop(firstStaff, span.last) + kStaffHeight, kSpace);
            }
        }
        for (std::size_t s = 0; s < staves; ++s) DrawStaffStart(row, s, StaffTop(firstStaff, s));
        if (row.document != nullptr) {
            const Document& document = *row.document;
            RowMusic music(document, row.measures, layout_.measuresLeft, firstStaff,
                           StatesBeams(document));
            const std::vector<CurveSpan> curves = CurvesOf(document);
            for (std::int32_t m = row.measures.first; m <= row.measures.last; ++m) {
                const auto number = static_cast<std::int16_t>(m);
                const MeasureMusic& measure = *music.Music(m);
                const MeasureFields& fields = measure.fields;
                const double x = measure.x;
                svg_.Open(
                    "g", {{"class", "measure"}, {"data-n", static_cast<double>(m)}, {"data-x", x}});
                if ((fields.flags & kMeasureFlagUncounted) == 0) {
                    Text({{"class", "measure-number"},
                          {"x", x + 2},
                          {"y", top + 11},
                          {"font-size", 9},
                          {"fill", kQuietInk}},
                         std::to_string(fields.numberShown != 0 ? fields.numberShown : number));
                }
                if (m != row.measures.first) {
                    DrawSignatureChanges(document, number, x, firstStaff, staves);
                }
                DrawMeasure(document, measure);
                for (const PlacedCurve& curve : CurvesOfMeasure(curves, music, m)) {
                    DrawCurve(curve);
                }
                const double end = x + measure.width;
                for (const BarlineSpan& span : spans) {
                    Barline(end, StaffTop(firstStaff, span.first),
                            StaffTop(firstStaff, span.last) + kStaffHeight, fields.barline);
                }
                svg_.Close("g");
                music.ForgetBefore(m + 1);
            }
        }
        svg_.Close("g");
    }

    // The staff's clef, key signature and time signature at the row's start.
    void DrawStaffStart(const SvgRow& row, std::size_t staff, double staffTop) {
        const Clef clef = ClefOfRow(row, staff);
        svg_.Open("g", {{"class", "staff-start"}, {"data-staff", static_cast<double>(staff + 1)}});
        DrawClef(svg_, clef,
                 GlyphFrame{layout_.clefLeft, LineY(staffTop, ClefOriginStep(clef)), kSpace},
                 "clef");
        if (row.document != nullptr) {
            double x = KeySignatureLeft(layout_, row);
            const MeasureFields fields = FieldsOf(*row.document, row.measures.first);
            x += KeySignature(clef, fields.key, fields.key, x, staffTop);
            if (ShowsTime(*row.document, row.measures.first)) TimeSignature(fields, x, staffTop);
        }
        svg_.Close("g");
    }

    // A key or time signature that changes where a measure starts, in its leading space.
    void DrawSignatureChanges(const Document& document, std::int32_t number, double x,
                              double firstStaff, std::size_t staves) {
        const MeasureFields fields = FieldsOf(document, number);
        const MeasureFields before = FieldsOf(document, number - 1);
        const bool time = ShowsTime(document, number);
        if (fields.key == before.key && !time) return;
        for (std::size_t s = 0; s < staves; ++s) {
            const double staffTop = StaffTop(firstStaff, s);
            const Clef clef = document.GetScore().ClefAt(s, number, Rational(0));
            double at = x + kSignatureGap * kScale;
            if (fields.key != before.key)
                at += KeySignature(clef, before.key, fields.key, at, staffTop);
            if (time) TimeSignature(fields, at, staffTop);
        }
    }

    // Draws the accidentals of a key (naturals for the old key's into a key without any) and
    // answers how much room they took.
    double KeySignature(const Clef& clef, int from, int to, double x, double staffTop) {
        const bool naturals = to == 0 && from != 0;
        const int shown = naturals ? from : to;
        const std::vector<int> steps = KeySignatureSteps(clef, shown);
        const int alter = naturals ? 0 : (to > 0 ? 1 : -1);
        svg_.Open("g", {{"class", "keySig"}, {"data-key", static_cast<double>(to)}});
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const double at = x + static_cast<double>(i) * kKeyAccidentalRoom * kScale;
            DrawAccidental(svg_, alter, GlyphFrame{at, LineY(staffTop, steps[i]), kSpace},
                           "key-accidental");
        }
        svg_.Close("g");
        return static_cast<double>(std::abs(shown)) * kKeyAccidentalRoom * kScale;
    }

    void TimeSignature(const MeasureFields& fields, double x, double staffTop) {
        const int beatType = fields.beatDuration > 0 ? kWhole / fields.beatDuration : 4;
        const double centre = x + 0.8 * kSpace;
        svg_.Open("g", {{"class", "meterSig"}});
        for (const auto& [figure, baseline] :
             {std::pair{static_cast<int>(fields.beats), 2.0}, std::pair{beatType, 4.0}}) {
            Text({{"x", centre},
                  {"y", staffTop + baseline * kSpace - 1.5},
                  {"font-size", 2.2 * kSpace},
                  {"font-weight", "bold"},
                  {"font-family", kFigureFonts},
                  {"text-anchor", "middle"},
                  {"fill", kInk}},
                 std::to_string(figure));
        }
        svg_.Close("g");
    }

    void Text(const SvgWriter::Attributes& attributes, std::string_view text) {
        svg_.Content("text", attributes, text);
    }

    void Line(std::string_view cls, double x1, double y1, double x2, double y2, double width,
              const char* ink = kInk) {
        svg_.Empty("line", {{"class", cls},
                            {"x1", x1},
                            {"y1", y1},
                            {"x2", x2},
                            {"y2", y2},
                            {"stroke", ink},
                            {"stroke-width", width}});
    }

    // The barline of a measure's end stands at x; what makes it double or closing lies left of
    // it, inside the measure, as engraved barlines do.
    void Barline(double x, double top, double bottom, MeasureFields::Barline kind) {
        using Kind = MeasureFields::Barline;
        const bool thick = kind == Kind::Final || kind == Kind::RepeatEnd;
        Line("barLine", x, top, x, bottom, thick ? 3 : 1.2);
        if (kind == Kind::Single) return;
        Line("barline-extra", x - (thick ? 5 : 4), top, x - (thick ? 5 : 4), bottom, 1.2);
        if (kind != Kind::RepeatEnd) return;
        for (double y = top; y < bottom; y += kStaffHeight + kStaffGap) {
            for (const double dotY : {y + 1.5 * kSpace, y + 2.5 * kSpace}) {
                svg_.Empty("circle", {{"class", "barline-extra"},
                                      {"cx", x - 10},
                                      {"cy", dotY},
                                      {"r", 1.8},
                                      {"fill", kInk}});
            }
        }
    }

    void DrawMeasure(const Document& document, const MeasureMusic& music) {
        const Measure* measure = document.GetScore().MeasureNumber(music.number);
        if (measure == nullptr) return;
        const Score& score = document.GetScore();
        for (std::size_t s = 0; s < music.placed.size(); ++s) {
            const std::vector<PlacedEvent>& placed = music.placed[s];
            const StaffMusic& staff = music.staves[s];
            const double staffTop = staff.top;
            svg_.Open("g", {{"class", "staff"}, {"data-staff", static_cast<double>(s + 1)}});
            for (const ClefChange& change : measure->clefChanges) {
                if (change.staff != s) continue;
                DrawClef(svg_, change.clef,
                         ClefChangeFrame(music.placed, change, music.fields, music.x, staffTop),
                         "clef-change");
            }
            std::vector<OpenGroup> groups;
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const PlacedEvent& item = placed[i];
                const Event& event = *item.timed.event;
                for (std::size_t t = 0; t < event.tupletStarts.size(); ++t) {
                    const TupletLook look = t < event.marks.tupletLooks.size()
                                                ? event.marks.tupletLooks[t]
                                                : TupletLook{};
                    groups.push_back(OpenGroup{i, event.tupletStarts[t], look, false});
                }
                if (!event.space) {
                    for (OpenGroup& group : groups) group.drawn = true;
                }
                const Clef clef = score.ClefAt(s, music.number, item.timed.onset);
                if (event.space) {
                    // Nothing is drawn for time the voice spends elsewhere.
                } else if (event.IsRest()) {
                    // Of two voices, the upper one's rests move up and the lower one's down.
                    const double apart = item.stemUp ? (*item.stemUp ? -1.5 : 1.5) * kSpace : 0;
                    Rest(item.x, staffTop + apart, event);
                } else {
                    const auto beamEnd = staff.beamEnds.find(i);
                    Note(item, staffTop, clef, staff.accidentals,
                         beamEnd == staff.beamEnds.end() ? std::nullopt
                                                         : std::optional<double>(beamEnd->second));
                }
                Tuplets(document, music, s, i, groups);
            }
            for (const BeamLayout& beam : staff.beams) DrawBeam(beam);
            svg_.Close("g");
        }
    }

    // A tie or slur, as a crescent.
    void DrawCurve(const PlacedCurve& curve) {
        const Crescent& c = curve.shape;
        const double dx = c.x2 - c.x1;
        const double dy = c.y2 - c.y1;
        const double inner = c.bulge - (c.bulge < 0 ? -c.thickness : c.thickness);
        const SvgPath path = SvgPath()
                                 .MoveTo(c.x1, c.y1)
                                 .CurveTo(c.x1 + dx / 3, c.y1 + dy / 3 + c.bulge, c.x1 + 2 * dx / 3,
                                          c.y1 + 2 * dy / 3 + c.bulge, c.x2, c.y2)
                                 .CurveTo(c.x1 + 2 * dx / 3, c.y1 + 2 * dy / 3 + inner,
                                          c.x1 + dx / 3, c.y1 + dy / 3 + inner, c.x1, c.y1)
                                 .Close();
        svg_.Open("g", {{"class", curve.kind == CurveKind::Tie ? "tie" : "slur"},
                        {"data-staff", static_cast<double>(curve.staff + 1)}});
        svg_.Empty("path", {{"d", path.Data()}, {"fill", kInk}});
        svg_.Close("g");
    }

    // Each group that closes at this event: its number (or ratio), and a bracket where its notes
    // are not one beam group or the file asks for one, on its stems' side outside its notes.
    void Tuplets(const Document& document, const MeasureMusic& music, std::size_t s,
                 std::size_t last, std::vector<OpenGroup>& groups) {
        const std::vector<PlacedEvent>& placed = music.placed[s];
        const StaffMusic& staff = music.staves[s];
        for (std::int32_t i = 0; i < placed[last].timed.event->tupletStops && !groups.empty();
             ++i) {
            OpenGroup group = groups.back();
            groups.pop_back();
            if (!group.drawn) continue;
            std::optional<bool> up;
            bool oneBeam = staff.beamOf[group.first] != 0;
            double top = std::min(group.top, staff.top - 0.5 * kSpace);
            double bottom = std::max(group.bottom, staff.top + kStaffHeight + 0.5 * kSpace);
            for (std::size_t e = group.first; e <= last; ++e) {
                const Event& event = *placed[e].timed.event;
                if (event.space) continue;
                oneBeam = oneBeam && staff.beamOf[e] == staff.beamOf[group.first];
                if (event.IsRest()) continue;
                const ChordLayout chord = LayOutEvent(document, music, s, e);
                if (!up) up = chord.up;
                const Reach reach = ReachOf(chord);
                top = std::min(top, reach.top);
                bottom = std::max(bottom, reach.bottom);
            }
            const bool above = up.value_or(true);
            const double y = above ? top - 0.9 * kSpace : bottom + 0.9 * kSpace;
            const double left = placed[group.first].x;
            const double right = placed[last].x + 2 * kHeadRx;
            const double middle = (left + right) / 2;
            const bool bracket = group.look.bracket == TupletBracket::Shown ||
                                 (group.look.bracket == TupletBracket::Unstated && !oneBeam);
            const bool number = group.look.number != TupletNumber::Hidden;
            if (!groups.empty()) {
                groups.back().top = std::min(groups.back().top, y - 0.5 * kSpace);
                groups.back().bottom = std::max(groups.back().bottom, y + 0.5 * kSpace);
            }
            if (!bracket && !number) continue;
            std::string text = std::to_string(group.ratio.actual);
            if (group.look.number == TupletNumber::Both) {
                text += ":" + std::to_string(group.ratio.normal);
            }
            svg_.Open("g", {{"class", "tuplet"}});
            if (bracket) {
                const double gap = number ? 3.5 * static_cast<double>(text.size()) + 2 : 0;
                const double hook = (above ? 1 : -1) * 0.5 * kSpace;
                SvgPath path = SvgPath().MoveTo(left, y + hook).LineBy(0, -hook);
                path.LineBy(middle - gap - left, 0);
                if (number) path.MoveTo(middle + gap, y);
                path.LineBy(right - (number ? middle + gap : middle - gap), 0).LineBy(0, hook);
                svg_.Empty("path", {{"class", "tupletBracket"},
                                    {"d", path.Data()},
                                    {"fill", "none"},
                                    {"stroke", kInk},
                                    {"stroke-width", 0.9}});
            }
            if (number) {
                Text({{"class", "tupletNum"},
                      {"x", middle},
                      {"y", y + 3.2},
                      {"font-size", 9},
                      {"font-style", "italic"},
                      {"text-anchor", "middle"},
                      {"fill", kInk}},
                     text);
            }
            svg_.Close("g");
        }
    }

    // Ledger lines from the staff out to the notes, for notes beyond its top or bottom line.
    void Ledgers(double left, double right, double staffTop, int lowest, int highest) {
        if (highest < 6 && lowest > -6) return;
        svg_.Open("g", {{"class", "ledgerLines"}});
        for (int step = 6; step <= highest; step += 2) {
            Line("ledger", left, LineY(staffTop, step), right, LineY(staffTop, step), 1, kInk);
        }
        for (int step = -6; step >= lowest; step -= 2) {
            Line("ledger", left, LineY(staffTop, step), right, LineY(staffTop, step), 1, kInk);
        }
        svg_.Close("g");
    }

    void Dots(double x, double y, std::int32_t dots, double size) {
        if (dots <= 0) return;
        svg_.Open("g", {{"class", "dots"}});
        for (std::int32_t i = 0; i < dots; ++i) {
            svg_.Empty("circle", {{"class", "dot"},
                                  {"cx", x + kDotStep * size * i},
                                  {"cy", y},
                                  {"r", 1.6 * size},
                                  {"fill", kInk}});
        }
        svg_.Close("g");
    }

    // A chord as LayOutChord places it, in a note group, or a chord group of note groups when
    // it has several heads: its ledger lines, each note's accidental, head and dots, and the
    // chord's stem with its flags (and a grace note's slash). A beamed note's stem ends on its
    // beam, at beamEnd, and has no flags.
    void Note(const PlacedEvent& item, double staffTop, const Clef& clef,
              const Accidentals& accidentals, std::optional<double> beamEnd) {
        const Event& event = *item.timed.event;
        const ChordLayout chord = LayOutChord(item, staffTop, clef, accidentals);
        const double k = chord.size;
        const bool open = event.value >= kHalf;
        const bool several = chord.heads.size() > 1;
        svg_.Open("g", {{"class", several ? "chord" : "note"}});
        Ledgers(chord.ledgerLeft, chord.ledgerRight, staffTop, chord.lowest, chord.highest);
        for (std::size_t h = 0; h < chord.heads.size(); ++h) {
            const PlacedHead& head = chord.heads[h];
            if (several) svg_.Open("g", {{"class", "note"}});
            for (const PlacedAccidental& accidental : chord.accidentals) {
                if (accidental.head != h) continue;
                DrawAccidental(svg_, accidental.alter,
                               GlyphFrame{accidental.left, accidental.y, kSpace * k}, "accid");
            }
            svg_.Empty("path",
                       {{"class", "notehead"},
                        {"data-size", event.IsGrace() ? "grace" : (event.cue ? "cue" : "full")},
                        {"data-cx", head.centre},
                        {"data-cy", head.y},
                        {"d", HeadPath(head.centre, head.y, chord.rx, chord.ry,
                                       chord.whole ? 0.0 : kHeadTilt)},
                        {"fill", open ? kRowFill : kInk},
                        {"stroke", kInk},
                        {"stroke-width", (open ? (chord.whole ? 2.0 : 1.5) : 0.5) * k}});
            Dots(chord.dotX, head.dotY, event.dots, k);
            if (several) svg_.Close("g");
        }
        if (chord.stem) {
            const Stem& stem = *chord.stem;
            const double end = beamEnd.value_or(stem.end);
            Line("stem", stem.x, stem.from, stem.x, end, 1.2 * k);
            const double sign = chord.up ? 1 : -1;
            for (int f = 0; f < (beamEnd ? 0 : chord.flags); ++f) {
                const double tip = stem.end + sign * kFlagStep * k * f;
                const SvgPath flag =
                    SvgPath()
                        .MoveTo(stem.x, tip)
                        .CurveBy(0, 5 * sign * k, 8 * k, 7 * sign * k, 6 * k, 15 * sign * k);
                svg_.Empty("path", {{"class", "flag"},
                                    {"d", flag.Data()},
                                    {"fill", "none"},
                                    {"stroke", kInk},
                                    {"stroke-width", 1.4 * k}});
            }
            if (event.grace == Grace::Slashed) {
                // Across the stem near its end, rising to the right.
                const double y = end + sign * 0.9 * kSpace * k;
                Line("grace-slash", stem.x - 0.55 * kSpace * k, y + 0.45 * kSpace * k,
                     stem.x + 0.75 * kSpace * k, y - 0.35 * kSpace * k, 1.1 * k);
            }
        }
        svg_.Close("g");
    }

    // A beam group's beams and hooks, as bands of the beam's thickness.
    void DrawBeam(const BeamLayout& beam) {
        svg_.Open("g", {{"class", "beam"}});
        const double inward = beam.up ? beam.thickness : -beam.thickness;
        for (const BeamBar& bar : beam.bars) {
            const SvgPath band = SvgPath()
                                     .MoveTo(bar.x1, bar.y1)
                                     .LineBy(bar.x2 - bar.x1, bar.y2 - bar.y1)
                                     .LineBy(0, inward)
                                     .LineBy(bar.x1 - bar.x2, bar.y1 - bar.y2)
                                     .Close();
            svg_.Empty("path", {{"d", band.Data()}, {"fill", kInk}});
        }
        svg_.Close("g");
    }

    // Rests as simple glyphs: a block hanging from the fourth line (whole) or sitting on the
    // middle line (half), a zigzag (quarter), a slanted stroke with one hook per flag. A rest
    // filling its measure is a whole rest (a breve rest for a measure of two wholes or more)
    // centred on its position. Cue rests are drawn smaller.
    void Rest(double x, double staffTop, const Event& event) {
        const double k = SizeOf(event);
        svg_.Open("g",
                  {{"class", "rest"}, {"data-fills", event.wholeMeasure ? "measure" : "value"}});
        std::int32_t value = event.value;
        if (event.wholeMeasure) {
            const bool breve = DottedDuration(event.value, event.dots) >= Rational(kBreve);
            value = breve ? kBreve : kWhole;
            x -= (breve ? 6 : 6.5) * k;
        }
        double right = x + 12 * k;
        if (value >= kBreve) {
            svg_.Empty("rect", {{"x", x + 3 * k},
                                {"y", staffTop + kSpace},
                                {"width", 6 * k},
                                {"height", kSpace},
                                {"fill", kInk}});
        } else if (value >= kWhole) {
            svg_.Empty("rect", {{"x", x + 1 * k},
                                {"y", staffTop + kSpace},
                                {"width", 11 * k},
                                {"height", 5 * k},
                                {"fill", kInk}});
        } else if (value >= kHalf) {
            svg_.Empty("rect", {{"x", x + 1 * k},
                                {"y", staffTop + 2 * kSpace - 5 * k},
                                {"width", 11 * k},
                                {"height", 5 * k},
                                {"fill", kInk}});
        } else if (value >= kQuarter) {
            const double top = staffTop + 2 * kSpace - 1.5 * kSpace * k;
            // Down right, back left, down right again, and a hook curling back.
            const SvgPath zigzag = SvgPath()
                                       .MoveTo(x + 4 * k, top)
                                       .LineBy(5 * k, 7 * k)
                                       .LineBy(-4 * k, 6 * k)
                                       .LineBy(5 * k, 7 * k)
                                       .CurveBy(-4 * k, -2 * k, -7 * k, 1 * k, -3 * k, 6 * k);
            svg_.Empty("path", {{"d", zigzag.Data()},
                                {"fill", "none"},
                                {"stroke", kInk},
                                {"stroke-width", 2 * k},
                                {"stroke-linejoin", "round"}});
        } else {
            const int hooks = FlagCount(value);
            const double top = staffTop + 2 * kSpace - 0.8 * kSpace * k;
            const double bottom = top + (1.6 + 0.6 * (hooks - 1)) * kSpace * k;
            const double slant = 0.25;
            Line("rest-stem", x + 10 * k, top, x + 10 * k - slant * (bottom - top), bottom,
                 1.3 * k);
            for (int h = 0; h < hooks; ++h) {
                const double y = top + h * 0.8 * kSpace * k;
                const double stemX = x + 10 * k - slant * (y - top);
                svg_.Empty(
                    "circle",
                    {{"cx", stemX - 6 * k}, {"cy", y + 1 * k}, {"r", 2.3 * k}, {"fill", kInk}});
                const SvgPath hook = SvgPath()
                                         .MoveTo(stemX - 6 * k, y + 1 * k)
                                         .QuadraticBy(3 * k, 2 * k, 6 * k, -1 * k);
                svg_.Empty("path", {{"d", hook.Data()},
                                    {"fill", "none"},
                                    {"stroke", kInk},
                                    {"stroke-width", 1.3 * k}});
            }
            right = x + 13 * k;
        }
        if (!event.wholeMeasure) Dots(right + 2 * k, staffTop + 1.5 * kSpace, event.dots, k);
        svg_.Close("g");
    }

    // Whether a document states beams anywhere, found once per document drawn.
    bool StatesBeams(const Document& document) {
        const auto known = statesBeams_.find(&document);
        if (known != statesBeams_.end()) return known->second;
        const bool states = simhost::StatesBeams(document.GetScore());
        statesBeams_.emplace(&document, states);
        return states;
    }

    // The ties and slurs of a document, found for each row afresh: rows rarely share a
    // document, and a long score's curves are not kept past its row.
    static std::vector<CurveSpan> CurvesOf(const Document& document) {
        const SvgRow whole{{}, &document, MeasureRange{1, 1}};
        std::vector<std::size_t> instrumentOfStaff(StaffCount(whole));
        for (const BarlineSpan& span : BarlineSpans(whole)) {
            for (std::size_t s = span.first; s <= span.last; ++s) instrumentOfStaff[s] = span.first;
        }
        return CurveSpansOf(document.GetScore(), instrumentOfStaff);
    }

    std::span<const SvgRow> rows_;
    std::map<const Document*, bool> statesBeams_;
    std::string_view title_;
    PictureLayout layout_;
    SvgWriter svg_;
};

}  // namespace

std::string CompareSvg(std::span<const SvgRow> rows, std::string_view title) {
    return Picture(rows, title).Draw();
}

std::string RowSvg(const SvgRow& row) { return CompareSvg(std::span<const SvgRow>(&row, 1)); }

std::string BeforeAfterSvg(const Document& before, const Document& after, MeasureRange measures,
                           std::string_view beforeLabel, std::string_view afterLabel) {
    const std::vector<SvgRow> rows = {SvgRow{std::string(beforeLabel), &before, measures},
                                      SvgRow{std::string(afterLabel), &after, measures}};
    return CompareSvg(rows);
}

}  // namespace simhost
