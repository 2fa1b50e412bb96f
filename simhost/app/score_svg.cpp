#include "simhost/app/score_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "simhost/app/notation_glyphs.h"
#include "simhost/app/shown_accidentals.h"
#include "simhost/app/svg_path.h"
#include "simhost/app/svg_writer.h"
#include "simhost/document/measure_spacer.h"
#include "simhost/document/respacer.h"
#include "simhost/document/signature_room.h"

namespace simhost {
namespace {

constexpr double kScale = kSvgUnitsPerHostUnit;
constexpr double kSpace = 24 * kScale;
constexpr double kMargin = 16;
constexpr double kTitleHeight = 28;
constexpr double kLabelCharWidth = 7;
constexpr double kMinLabelWidth = 56;
constexpr double kLabelGap = 16;
constexpr double kNumberBand = 14;
// Room left of the system line for a brace.
constexpr double kBraceRoom = 1.5 * kSpace;
// Room above and below the staves for stems, flags and ledger lines.
constexpr double kHeadroom = 4.5 * kSpace;
constexpr double kFootroom = 4.5 * kSpace;
constexpr double kStaffHeight = 4 * kSpace;
constexpr double kStaffGap = 7 * kSpace;
constexpr double kRowGap = 10;
constexpr double kHeadRx = 6.5;
constexpr double kHeadRy = 4.6;
constexpr double kWholeRx = 7.5;
constexpr double kWholeRy = 5;
// Heads lean as engraved ones do. They are drawn as two arcs rather than as rotated ellipses,
// since some SVG readers ignore transforms.
constexpr double kHeadTilt = -20;
constexpr double kStemLength = 3.5 * kSpace;
constexpr double kFlagStep = 7;
constexpr double kDotStep = 4.5;
// Grace notes and cue notes against full-size notes, and a clef change against a staff's clef.
constexpr double kGraceSize = 0.6;
constexpr double kCueSize = 0.75;
constexpr double kClefChangeSize = 0.7;
// Around the clef, key and time signature that open a row.
constexpr double kHeaderPad = 0.5 * kSpace;
constexpr double kHeaderGap = 0.6 * kSpace;
constexpr double kAccidentalGap = 0.2 * kSpace;
constexpr std::int16_t kWidthWithoutRecord = 240;

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
using Accidentals = std::map<std::pair<const Event*, std::size_t>, int>;

int Diatonic(const Pitch& pitch) { return DiatonicStep(pitch.step, pitch.octave); }

// Flags and beams an unbeamed note of this value has: one for an eighth, two for a 16th.
int FlagCount(std::int32_t value) {
    int flags = 0;
    for (std::int32_t v = kEighth; v >= value && v > 0; v /= 2) ++flags;
    return flags;
}

double SizeOf(const Event& event) {
    if (event.IsGrace()) return kGraceSize;
    return event.cue ? kCueSize : 1.0;
}

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
    double x;  // where its first event stands
    std::int32_t actual;
    bool drawn;  // whether any of its events is drawn: a group of spaces gets no number
};

struct PlacedEvent {
    TimedEvent timed;
    double x;  // the left edge of its column; a whole-measure rest's middle
    // In a staff of several voices the first takes its stems up and the others down, so that
    // the voices stay apart; alone, a voice's stems go by pitch. Grace notes' go up.
    std::optional<bool> stemUp;
};

// The staves a barline runs through: an instrument's braced staves, or one staff alone.
struct BarlineSpan {
    std::size_t first;
    std::size_t last;
};

class Picture {
public:
    Picture(std::span<const SvgRow> rows, std::string_view title) : rows_(rows), title_(title) {
        std::size_t longest = 0;
        double header = 0;
        for (const SvgRow& row : rows_) {
            longest = std::max(longest, row.label.size());
            header = std::max(header, HeaderWidth(row));
        }
        systemLeft_ = kMargin +
                      std::max(kMinLabelWidth, kLabelCharWidth * static_cast<double>(longest)) +
                      kLabelGap + kBraceRoom;
        measuresLeft_ = systemLeft_ + header;
    }

    std::string Draw() {
        double musicWidth = 0;
        double height = kMargin + (title_.empty() ? 0 : kTitleHeight);
        for (const SvgRow& row : rows_) {
            musicWidth = std::max(musicWidth, RowWidth(row));
            height += RowHeight(row) + kRowGap;
        }
        height += kMargin - kRowGap;
        // Room for a closing barline's thick stroke.
        const double width = measuresLeft_ + musicWidth + kMargin + 4;

        svg_.Open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                          {"viewBox", "0 0 " + N::Number(width) + " " + N::Number(height)},
                          {"width", width},
                          {"height", height},
                          {"font-family", kFonts}});
        svg_.Content("desc", {},
                     "Widths to scale: " + N::Number(kScale) + " SVG units per host unit, " +
                         N::Number(kSpace) + " per staff space.");
        svg_.Empty("rect", {{"width", width}, {"height", height}, {"fill", kBackground}});
        double top = kMargin;
        if (!title_.empty()) {
            Text({{"class", "title"},
                  {"x", kMargin},
                  {"y", top + 14},
                  {"font-size", 15},
                  {"font-weight", "bold"},
                  {"fill", kLabelInk}},
                 title_);
            top += kTitleHeight;
        }
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            DrawRow(rows_[i], i + 1, top, width);
            top += RowHeight(rows_[i]) + kRowGap;
        }
        svg_.Close("svg");
        return svg_.Result();
    }

private:
    static std::size_t StaffCount(const SvgRow& row) {
        if (row.document == nullptr) return 1;
        return std::max<std::size_t>(1, row.document->GetScore().Staves().size());
    }

    static double RowHeight(const SvgRow& row) {
        const auto staves = static_cast<double>(StaffCount(row));
        return kNumberBand + kHeadroom + staves * kStaffHeight + (staves - 1) * kStaffGap +
               kFootroom;
    }

    static MeasureFields FieldsOf(const Document& document, std::int32_t number) {
        if (const auto fields = document.MeasureRecord(static_cast<std::int16_t>(number))) {
            return *fields;
        }
        MeasureFields fields;
        fields.width = kWidthWithoutRecord;
        return fields;
    }

    static double MeasureWidth(const Document& document, std::int16_t number) {
        return std::max<double>(1, FieldsOf(document, number).width) * kScale;
    }

    static double RowWidth(const SvgRow& row) {
        if (row.document == nullptr) return 0;
        double width = 0;
        for (std::int32_t m = row.measures.first; m <= row.measures.last; ++m) {
            width += MeasureWidth(*row.document, static_cast<std::int16_t>(m));
        }
        return width;
    }

    // A time signature is shown at the first measure and wherever it changes.
    static bool ShowsTime(const Document& document, std::int32_t number) {
        if (number <= 1) return true;
        const MeasureFields now = FieldsOf(document, number);
        const MeasureFields before = FieldsOf(document, number - 1);
        return now.beats != before.beats || now.beatDuration != before.beatDuration;
    }

    static Clef ClefOfRow(const SvgRow& row, std::size_t staff) {
        if (row.document == nullptr) return kTrebleClef;
        return row.document->GetScore().ClefAt(staff, row.measures.first, Rational(0));
    }

    // The widest of the clefs that open the row's staves: their key signatures line up after it.
    static double ClefColumn(const SvgRow& row) {
        double clefs = 0;
        for (std::size_t s = 0; s < StaffCount(row); ++s) {
            clefs = std::max(clefs, ClefWidth(ClefOfRow(row, s)) * kSpace);
        }
        return clefs;
    }

    // The clefs, key signature and time signature before the row's first measure.
    static double HeaderWidth(const SvgRow& row) {
        double width = kHeaderPad + ClefColumn(row) + kHeaderGap;
        if (row.document != nullptr) {
            const MeasureFields fields = FieldsOf(*row.document, row.measures.first);
            width += std::abs(fields.key) * kKeyAccidentalRoom * kScale;
            if (ShowsTime(*row.document, row.measures.first)) width += kTimeSignatureRoom * kScale;
        }
        return width;
    }

    static std::vector<BarlineSpan> BarlineSpans(const SvgRow& row) {
        std::vector<BarlineSpan> spans;
        const std::size_t staves = StaffCount(row);
        for (std::size_t s = 0; s < staves; ++s) {
            std::size_t last = s;
            if (row.document != nullptr && s < row.document->GetScore().Staves().size()) {
                const Score& score = row.document->GetScore();
                if (const StaffGroup* group = score.GroupOf(score.Staves()[s].slot)) {
                    while (last + 1 < staves && score.Staves()[last + 1].slot <= group->lastSlot) {
                        ++last;
                    }
                }
            }
            spans.push_back(BarlineSpan{s, last});
            s = last;
        }
        return spans;
    }

    static double StaffTop(double firstStaff, std::size_t staff) {
        return firstStaff + static_cast<double>(staff) * (kStaffHeight + kStaffGap);
    }

    void DrawRow(const SvgRow& row, std::size_t index, double top, double pictureWidth) {
        const double height = RowHeight(row);
        svg_.Open("g", {{"class", "row"}, {"id", "row-" + std::to_string(index)}});
        svg_.Empty("rect", {{"x", kMargin / 2},
                            {"y", top},
                            {"width", pictureWidth - kMargin},
                            {"height", height},
                            {"rx", 4},
                            {"fill", kRowFill},
                            {"stroke", kRowBorder}});
        const std::size_t staves = StaffCount(row);
        const double firstStaff = top + kNumberBand + kHeadroom;
        const double lastStaffBottom = StaffTop(firstStaff, staves - 1) + kStaffHeight;
        Text({{"class", "label"},
              {"x", kMargin},
              {"y", (firstStaff + lastStaffBottom) / 2 + 4},
              {"font-size", 12},
              {"fill", kLabelInk}},
             row.label);
        const double rowRight = measuresLeft_ + RowWidth(row);
        for (std::size_t s = 0; s < staves; ++s) {
            const double staffTop = StaffTop(firstStaff, s);
            svg_.Open("g", {{"class", "staff"},
                            {"data-staff", static_cast<double>(s + 1)},
                            {"data-top", staffTop}});
            for (int line = 0; line < 5; ++line) {
                const double y = staffTop + line * kSpace;
                svg_.Empty("line", {{"class", "staff-line"},
                                    {"x1", systemLeft_},
                                    {"y1", y},
                                    {"x2", rowRight},
                                    {"y2", y},
                                    {"stroke", kStaffInk},
                                    {"stroke-width", 0.8}});
            }
            svg_.Close("g");
        }
        if (staves > 1) {
            Line("system-line", systemLeft_, firstStaff, systemLeft_, lastStaffBottom, 1.2);
        }
        const std::vector<BarlineSpan> spans = BarlineSpans(row);
        for (const BarlineSpan& span : spans) {
            if (span.last > span.first) {
                DrawBrace(svg_, systemLeft_ - 0.25 * kSpace, StaffTop(firstStaff, span.first),
                          StaffTop(firstStaff, span.last) + kStaffHeight, kSpace);
            }
        }
        for (std::size_t s = 0; s < staves; ++s) DrawStaffStart(row, s, StaffTop(firstStaff, s));
        if (row.document != nullptr) {
            double x = measuresLeft_;
            for (std::int32_t m = row.measures.first; m <= row.measures.last; ++m) {
                const auto number = static_cast<std::int16_t>(m);
                const MeasureFields fields = FieldsOf(*row.document, number);
                if ((fields.flags & kMeasureFlagUncounted) == 0) {
                    Text({{"class", "measure-number"},
                          {"x", x + 2},
                          {"y", top + 11},
                          {"font-size", 9},
                          {"fill", kQuietInk}},
                         std::to_string(fields.numberShown != 0 ? fields.numberShown : number));
                }
                if (m != row.measures.first) {
                    DrawSignatureChanges(*row.document, number, x, firstStaff, staves);
                }
                DrawMeasure(*row.document, number, fields, x, firstStaff);
                x += MeasureWidth(*row.document, number);
                for (const BarlineSpan& span : spans) {
                    Barline(x, StaffTop(firstStaff, span.first),
                            StaffTop(firstStaff, span.last) + kStaffHeight, fields.barline);
                }
            }
        }
        svg_.Close("g");
    }

    // The staff's clef, key signature and time signature at the row's start.
    void DrawStaffStart(const SvgRow& row, std::size_t staff, double staffTop) {
        const Clef clef = ClefOfRow(row, staff);
        svg_.Open("g", {{"class", "staff-start"}, {"data-staff", static_cast<double>(staff + 1)}});
        DrawClef(
            svg_, clef,
            GlyphFrame{systemLeft_ + kHeaderPad, LineY(staffTop, ClefOriginStep(clef)), kSpace},
            "clef");
        if (row.document != nullptr) {
            double x = systemLeft_ + kHeaderPad + ClefColumn(row) + kHeaderGap;
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
        svg_.Open("g", {{"class", "key-signature"}, {"data-key", static_cast<double>(to)}});
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
        svg_.Open("g", {{"class", "time-signature"}});
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
        Line("barline", x, top, x, bottom, thick ? 3 : 1.2);
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

    // Each staff's events with the left edge of their columns, voice after voice, as the note
    // position records list them.
    static std::vector<std::vector<PlacedEvent>> Place(const Document& document,
                                                       const Measure& measure, std::int16_t number,
                                                       const MeasureFields& fields, double x) {
        const Score& score = document.GetScore();
        std::vector<std::vector<PlacedEvent>> placed(measure.staves.size());
        std::vector<Rational> onsets;
        for (std::size_t s = 0; s < measure.staves.size(); ++s) {
            const auto& voices = measure.staves[s];
            const auto sounding = std::count_if(voices.begin(), voices.end(), [](const Voice& v) {
                return std::any_of(v.events.begin(), v.events.end(),
                                   [](const Event& e) { return !e.space && !e.IsGrace(); });
            });
            for (std::size_t v = 0; v < voices.size(); ++v) {
                for (const TimedEvent& event : voices[v].Timed()) {
                    std::optional<bool> up;
                    if (event.event->IsGrace()) {
                        up = true;
                    } else if (sounding > 1) {
                        up = v == 0;
                    }
                    placed[s].push_back(PlacedEvent{event, 0, up});
                    onsets.push_back(event.onset);
                }
            }
        }
        std::sort(onsets.begin(), onsets.end());
        onsets.erase(std::unique(onsets.begin(), onsets.end()), onsets.end());
        // Without positions, onsets are spread evenly over the measure's room for notes.
        const double room = std::max<double>(
            fields.width - fields.leadingSpace - fields.trailingSpace, fields.width / 2.0);
        const double step = onsets.empty() ? 0 : room / static_cast<double>(onsets.size());
        for (std::size_t s = 0; s < placed.size() && s < score.Staves().size(); ++s) {
            const auto positions = NotePositions(document, number, score.Staves()[s].slot);
            const bool respaced = positions.size() == placed[s].size();
            for (std::size_t i = 0; i < placed[s].size(); ++i) {
                PlacedEvent& item = placed[s][i];
                double position = 0;
                if (respaced) {
                    position = positions[i];
                } else if (item.timed.event->wholeMeasure) {
                    position = fields.leadingSpace + room / 2;
                } else {
                    const auto column =
                        std::lower_bound(onsets.begin(), onsets.end(), item.timed.onset) -
                        onsets.begin();
                    position = fields.leadingSpace + step * static_cast<double>(column) -
                               item.timed.graceRank * kGraceNoteSpace;
                }
                item.x = x + position * kScale;
            }
        }
        return placed;
    }

    // Where a clef change stands: in the room the spacing gave it before the first column at
    // its point (graces included), or before the trailing space at the measure's end.
    static double ClefChangeX(const std::vector<std::vector<PlacedEvent>>& placed,
                              const ClefChange& change, const MeasureFields& fields, double x) {
        std::optional<double> column;
        for (const auto& staff : placed) {
            for (const PlacedEvent& item : staff) {
                if (item.timed.onset == change.at && !item.timed.event->wholeMeasure) {
                    column = std::min(column.value_or(item.x), item.x);
                }
            }
        }
        const double end = x + (fields.width - fields.trailingSpace) * kScale;
        return column.value_or(end) - kClefChangeSpace * kScale;
    }

    void DrawMeasure(const Document& document, std::int16_t number, const MeasureFields& fields,
                     double x, double firstStaff) {
        const Measure* measure = document.GetScore().MeasureNumber(number);
        if (measure == nullptr) return;
        const Score& score = document.GetScore();
        const auto placed = Place(document, *measure, number, fields, x);
        for (std::size_t s = 0; s < placed.size(); ++s) {
            const double staffTop = StaffTop(firstStaff, s);
            svg_.Open("g", {{"class", "measure"},
                            {"data-measure", static_cast<double>(number)},
                            {"data-staff", static_cast<double>(s + 1)},
                            {"data-x", x}});
            for (const ClefChange& change : measure->clefChanges) {
                if (change.staff != s) continue;
                const double left = ClefChangeX(placed, change, fields, x);
                const double size = kSpace * kClefChangeSize;
                DrawClef(svg_, change.clef,
                         GlyphFrame{
                             left + (kClefChangeSpace * kScale - ClefWidth(change.clef) * size) / 2,
                             LineY(staffTop, ClefOriginStep(change.clef)), size},
                         "clef-change");
            }
            std::vector<TimedEvent> timed;
            for (const PlacedEvent& item : placed[s]) timed.push_back(item.timed);
            const Accidentals accidentals = ShownAccidentals(timed, fields.key);
            std::vector<OpenGroup> groups;
            for (const PlacedEvent& item : placed[s]) {
                const Event& event = *item.timed.event;
                for (const Tuplet& tuplet : event.tupletStarts) {
                    groups.push_back(OpenGroup{item.x, tuplet.actual, false});
                }
                if (!event.space) {
                    for (OpenGroup& group : groups) group.drawn = true;
                }
                const Clef clef = score.ClefAt(s, number, item.timed.onset);
                if (event.space) {
                    // Nothing is drawn for time the voice spends elsewhere.
                } else if (event.IsRest()) {
                    Rest(item.x, staffTop, event);
                } else {
                    Note(item, staffTop, clef, accidentals);
                }
                TupletNumbers(item, staffTop, groups);
            }
            svg_.Close("g");
        }
    }

    // The number of each group that closes at this event, over the middle of the group; an
    // enclosing group's number stands higher.
    void TupletNumbers(const PlacedEvent& item, double staffTop, std::vector<OpenGroup>& groups) {
        for (std::int32_t i = 0; i < item.timed.event->tupletStops && !groups.empty(); ++i) {
            const OpenGroup group = groups.back();
            groups.pop_back();
            if (!group.drawn) continue;
            Text({{"class", "tuplet"},
                  {"x", (group.x + item.x) / 2 + kHeadRx},
                  {"y", staffTop - 2.4 * kSpace - 10 * static_cast<double>(groups.size())},
                  {"font-size", 9},
                  {"font-style", "italic"},
                  {"text-anchor", "middle"},
                  {"fill", kQuietInk}},
                 std::to_string(group.actual));
        }
    }

    // The height of a staff step (half a space) above the middle line.
    static double LineY(double staffTop, int step) {
        return staffTop + 2 * kSpace - step * kSpace / 2;
    }

    // Ledger lines from the staff out to the notes, for notes beyond its top or bottom line.
    void Ledgers(double left, double right, double staffTop, int lowest, int highest) {
        for (int step = 6; step <= highest; step += 2) {
            Line("ledger", left, LineY(staffTop, step), right, LineY(staffTop, step), 1, kInk);
        }
        for (int step = -6; step >= lowest; step -= 2) {
            Line("ledger", left, LineY(staffTop, step), right, LineY(staffTop, step), 1, kInk);
        }
    }

    void Dots(double x, double y, std::int32_t dots, double size) {
        for (std::int32_t i = 0; i < dots; ++i) {
            svg_.Empty("circle", {{"class", "dot"},
                                  {"cx", x + kDotStep * size * i},
                                  {"cy", y},
                                  {"r", 1.6 * size},
                                  {"fill", kInk}});
        }
    }

    // Heads stacked by their steps on the staff (every head on the middle line under a clef
    // that names no pitch); the stem goes up when the notes lie mostly below the middle line.
    // Of two heads a second apart, one moves to the other side of the stem. Accidentals stand
    // left of the heads, a column further out for each that would touch the one above.
    void Note(const PlacedEvent& item, double staffTop, const Clef& clef,
              const Accidentals& accidentals) {
        const Event& event = *item.timed.event;
        const double k = SizeOf(event);
        const std::optional<int> middle = clef.MiddleLine();
        struct Head {
            int step;  // above the middle line
            std::size_t pitch;
        };
        std::vector<Head> heads;
        for (std::size_t i = 0; i < event.pitches.size(); ++i) {
            heads.push_back(Head{middle ? Diatonic(event.pitches[i]) - *middle : 0, i});
        }
        std::stable_sort(heads.begin(), heads.end(),
                         [](const Head& a, const Head& b) { return a.step < b.step; });
        const int lowest = heads.front().step;
        const int highest = heads.back().step;
        const bool up = item.stemUp.value_or(highest < -lowest);
        const bool whole = event.value >= kWhole;
        const bool open = event.value >= kHalf;
        const double rx = (whole ? kWholeRx : kHeadRx) * k;
        const double ry = (whole ? kWholeRy : kHeadRy) * k;
        const double cx = item.x + rx;

        std::vector<double> centres(heads.size(), cx);
        const double shift = 2 * rx - 1.2 * k;
        for (std::size_t n = 1; n < heads.size(); ++n) {
            // Walk from the stem's end of the chord: from the bottom for an up stem.
            const std::size_t i = up ? n : heads.size() - 1 - n;
            const std::size_t previous = up ? i - 1 : i + 1;
            if (std::abs(heads[i].step - heads[previous].step) == 1 && centres[previous] == cx) {
                centres[i] = cx + (up ? shift : -shift);
            }
        }
        const auto [leftmost, rightmost] = std::minmax_element(centres.begin(), centres.end());
        Ledgers(*leftmost - rx - 3 * k, *rightmost + rx + 3 * k, staffTop, lowest, highest);

        // Accidentals from the top down; none under a clef that names no pitch.
        std::vector<std::pair<int, double>> columns;  // step and left edge of those placed
        for (std::size_t n = clef.Pitched() ? heads.size() : 0; n-- > 0;) {
            const auto shown = accidentals.find({&event, heads[n].pitch});
            if (shown == accidentals.end()) continue;
            const double width = AccidentalWidth(shown->second) * kSpace * k;
            double right = *leftmost - rx - kAccidentalGap * k;
            for (const auto& [step, left] : columns) {
                if (step - heads[n].step < 6) right = std::min(right, left - kAccidentalGap * k);
            }
            columns.emplace_back(heads[n].step, right - width);
            DrawAccidental(svg_, shown->second,
                           GlyphFrame{right - width, LineY(staffTop, heads[n].step), kSpace * k},
                           "accidental");
        }

        for (const Head& head : heads) {
            const double cy = LineY(staffTop, head.step);
            const double centre = centres[static_cast<std::size_t>(&head - heads.data())];
            svg_.Empty("path",
                       {{"class", "head"},
                        {"data-size", event.IsGrace() ? "grace" : (event.cue ? "cue" : "full")},
                        {"data-cx", centre},
                        {"data-cy", cy},
                        {"d", HeadPath(centre, cy, rx, ry, whole ? 0.0 : kHeadTilt)},
                        {"fill", open ? kRowFill : kInk},
                        {"stroke", kInk},
                        {"stroke-width", (open ? (whole ? 2.0 : 1.5) : 0.5) * k}});
        }

        const int flags = FlagCount(event.value);
        if (!whole) {
            const double stemX = up ? cx + rx - 0.7 * k : cx - rx + 0.7 * k;
            const double extra = std::max(0, flags - 2) * kFlagStep * k;
            const double from = LineY(staffTop, up ? lowest : highest);
            const double end = up ? LineY(staffTop, highest) - kStemLength * k - extra
                                  : LineY(staffTop, lowest) + kStemLength * k + extra;
            Line("stem", stemX, from, stemX, end, 1.2 * k);
            const double sign = up ? 1 : -1;
            for (int f = 0; f < flags; ++f) {
                const double tip = end + sign * kFlagStep * k * f;
                const SvgPath flag =
                    SvgPath()
                        .MoveTo(stemX, tip)
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
                Line("grace-slash", stemX - 0.55 * kSpace * k, y + 0.45 * kSpace * k,
                     stemX + 0.75 * kSpace * k, y - 0.35 * kSpace * k, 1.1 * k);
            }
        }
        if (event.dots > 0) {
            // Beside the rightmost head, clear of an up stem's flags, in a space.
            const double dotX = *rightmost + rx + 3.5 * k + (up && flags > 0 ? 7 * k : 0);
            for (const Head& head : heads) {
                const bool onLine = head.step % 2 == 0;
                Dots(dotX, LineY(staffTop, head.step) - (onLine ? kSpace / 2 : 0), event.dots, k);
            }
        }
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

    std::span<const SvgRow> rows_;
    std::string_view title_;
    double systemLeft_ = 0;    // where the staves begin, right of labels and braces
    double measuresLeft_ = 0;  // where the first measure begins, after the clefs and signatures
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
