#include "simhost/app/score_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "simhost/app/svg_writer.h"
#include "simhost/document/respacer.h"

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
// The middle lines of the two staves drawn, counted in diatonic steps from C0: B4 for a treble
// staff, D3 for a bass staff. A staff whose notes lie below middle C on average is drawn as a
// bass staff, so that low voices keep to their staff instead of stacking ledger lines.
constexpr int kTrebleMiddle = 4 * 7 + 6;
constexpr int kBassMiddle = 3 * 7 + 1;
constexpr int kMiddleC = 4 * 7;
constexpr std::int16_t kWidthWithoutRecord = 240;

constexpr const char* kBackground = "#f6f4ee";
constexpr const char* kRowFill = "#ffffff";
constexpr const char* kRowBorder = "#dedad0";
constexpr const char* kStaffInk = "#8a8780";
constexpr const char* kInk = "#1d1d1d";
constexpr const char* kLabelInk = "#2d2d2d";
constexpr const char* kQuietInk = "#7a776f";
constexpr const char* kFonts = "DejaVu Sans, Helvetica, Arial, sans-serif";

using N = SvgWriter;

int Diatonic(const Pitch& pitch) { return pitch.octave * 7 + pitch.step; }

// Flags and beams an unbeamed note of this value has: one for an eighth, two for a 16th.
int FlagCount(std::int32_t value) {
    int flags = 0;
    for (std::int32_t v = kEighth; v >= value && v > 0; v /= 2) ++flags;
    return flags;
}

std::string HeadPath(double cx, double cy, double rx, double ry, double tiltDegrees) {
    const double tilt = tiltDegrees * 3.14159265358979323846 / 180.0;
    const double dx = rx * std::cos(tilt);
    const double dy = rx * std::sin(tilt);
    const std::string radii = N::Number(rx) + "," + N::Number(ry) + " " + N::Number(tiltDegrees);
    const std::string right = N::Number(cx + dx) + "," + N::Number(cy + dy);
    const std::string left = N::Number(cx - dx) + "," + N::Number(cy - dy);
    return "M" + right + " A" + radii + " 1 1 " + left + " A" + radii + " 1 1 " + right + " Z";
}

struct OpenGroup {
    double x;  // where its first event stands
    std::int32_t actual;
};

struct PlacedEvent {
    const Event* event;
    double x;  // the left edge of its column
    // In a staff of several voices the first takes its stems up and the others down, so that
    // the voices stay apart; alone, a voice's stems go by pitch.
    std::optional<bool> stemUp;
};

class Picture {
public:
    Picture(std::span<const SvgRow> rows, std::string_view title) : rows_(rows), title_(title) {
        std::size_t longest = 0;
        for (const SvgRow& row : rows_) longest = std::max(longest, row.label.size());
        musicLeft_ = kMargin +
                     std::max(kMinLabelWidth, kLabelCharWidth * static_cast<double>(longest)) +
                     kLabelGap;
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
        const double width = musicLeft_ + musicWidth + kMargin + 4;

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

    static MeasureFields FieldsOf(const Document& document, std::int16_t number) {
        if (const auto fields = document.MeasureRecord(number)) return *fields;
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
        const double lastStaffBottom =
            firstStaff + static_cast<double>(staves - 1) * (kStaffHeight + kStaffGap) +
            kStaffHeight;
        Text({{"class", "label"},
              {"x", kMargin},
              {"y", (firstStaff + lastStaffBottom) / 2 + 4},
              {"font-size", 12},
              {"fill", kLabelInk}},
             row.label);
        const double rowWidth = RowWidth(row);
        middles_.assign(staves, kTrebleMiddle);
        for (std::size_t s = 0; s < staves; ++s) {
            const double staffTop =
                firstStaff + static_cast<double>(s) * (kStaffHeight + kStaffGap);
            if (row.document != nullptr) middles_[s] = MiddleLineOf(row, s);
            Text({{"class", "clef"},
                  {"x", musicLeft_ - 5},
                  {"y", staffTop + 2 * kSpace + 4},
                  {"font-size", 11},
                  {"text-anchor", "end"},
                  {"fill", kQuietInk}},
                 middles_[s] == kBassMiddle ? "F" : "G");
            for (int line = 0; line < 5; ++line) {
                const double y = staffTop + line * kSpace;
                svg_.Empty("line", {{"class", "staff-line"},
                                    {"x1", musicLeft_},
                                    {"y1", y},
                                    {"x2", musicLeft_ + rowWidth},
                                    {"y2", y},
                                    {"stroke", kStaffInk},
                                    {"stroke-width", 0.8}});
            }
        }
        Barline(musicLeft_, firstStaff, lastStaffBottom, MeasureFields::Barline::Single);
        if (row.document != nullptr) {
            double x = musicLeft_;
            for (std::int32_t m = row.measures.first; m <= row.measures.last; ++m) {
                const auto number = static_cast<std::int16_t>(m);
                const MeasureFields fields = FieldsOf(*row.document, number);
                Text({{"class", "measure-number"},
                      {"x", x + 2},
                      {"y", top + 11},
                      {"font-size", 9},
                      {"fill", kQuietInk}},
                     std::to_string(fields.numberShown != 0 ? fields.numberShown : number));
                DrawMeasure(*row.document, number, fields, x, firstStaff);
                x += MeasureWidth(*row.document, number);
                Barline(x, firstStaff, lastStaffBottom, fields.barline);
            }
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
        std::vector<std::vector<TimedEvent>> timed(measure.staves.size());
        std::vector<std::vector<std::optional<bool>>> stems(measure.staves.size());
        std::vector<Rational> onsets;
        for (std::size_t s = 0; s < measure.staves.size(); ++s) {
            const auto& voices = measure.staves[s];
            const auto sounding = std::count_if(voices.begin(), voices.end(),
                                                [](const Voice& v) { return !v.events.empty(); });
            for (std::size_t v = 0; v < voices.size(); ++v) {
                for (const TimedEvent& event : voices[v].Timed()) {
                    timed[s].push_back(event);
                    stems[s].push_back(sounding > 1 ? std::optional<bool>(v == 0) : std::nullopt);
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
        std::vector<std::vector<PlacedEvent>> placed(measure.staves.size());
        for (std::size_t s = 0; s < measure.staves.size() && s < score.Staves().size(); ++s) {
            const auto positions = NotePositions(document, number, score.Staves()[s].slot);
            const bool respaced = positions.size() == timed[s].size();
            for (std::size_t i = 0; i < timed[s].size(); ++i) {
                double position = 0;
                if (respaced) {
                    position = positions[i];
                } else {
                    const auto column =
                        std::lower_bound(onsets.begin(), onsets.end(), timed[s][i].onset) -
                        onsets.begin();
                    position = fields.leadingSpace + step * static_cast<double>(column);
                }
                placed[s].push_back(
                    PlacedEvent{timed[s][i].event, x + position * kScale, stems[s][i]});
            }
        }
        return placed;
    }

    void DrawMeasure(const Document& document, std::int16_t number, const MeasureFields& fields,
                     double x, double firstStaff) {
        const Measure* measure = document.GetScore().MeasureNumber(number);
        if (measure == nullptr) return;
        const auto placed = Place(document, *measure, number, fields, x);
        for (std::size_t s = 0; s < placed.size(); ++s) {
            const double staffTop =
                firstStaff + static_cast<double>(s) * (kStaffHeight + kStaffGap);
            middle_ = s < middles_.size() ? middles_[s] : kTrebleMiddle;
            svg_.Open("g", {{"class", "measure"},
                            {"data-measure", static_cast<double>(number)},
                            {"data-staff", static_cast<double>(s + 1)}});
            std::vector<OpenGroup> groups;
            for (const PlacedEvent& item : placed[s]) {
                const Event& event = *item.event;
                for (const Tuplet& tuplet : event.tupletStarts) {
                    groups.push_back(OpenGroup{item.x, tuplet.actual});
                }
                if (event.IsRest()) {
                    Rest(item.x, staffTop, event);
                } else {
                    Note(item.x, staffTop, event, item.stemUp);
                }
                TupletNumbers(item, staffTop, groups);
            }
            svg_.Close("g");
        }
    }

    // The number of each group that closes at this event, over the middle of the group; an
    // enclosing group's number stands higher.
    void TupletNumbers(const PlacedEvent& item, double staffTop, std::vector<OpenGroup>& groups) {
        for (std::int32_t i = 0; i < item.event->tupletStops && !groups.empty(); ++i) {
            const OpenGroup group = groups.back();
            groups.pop_back();
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

    double PitchY(double staffTop, int diatonic) const {
        return staffTop + 2 * kSpace - (diatonic - middle_) * kSpace / 2;
    }

    // Ledger lines from the staff out to the note, for notes above A5 or below C4.
    void Ledgers(double left, double right, double staffTop, int lowest, int highest) {
        for (int d = middle_ + 6; d <= highest; d += 2) {
            const double y = PitchY(staffTop, d);
            Line("ledger", left, y, right, y, 1, kInk);
        }
        for (int d = middle_ - 6; d >= lowest; d -= 2) {
            const double y = PitchY(staffTop, d);
            Line("ledger", left, y, right, y, 1, kInk);
        }
    }

    void Dots(double x, double y, std::int32_t dots) {
        for (std::int32_t i = 0; i < dots; ++i) {
            svg_.Empty("circle", {{"class", "dot"},
                                  {"cx", x + kDotStep * i},
                                  {"cy", y},
                                  {"r", 1.6},
                                  {"fill", kInk}});
        }
    }

    // Heads stacked by pitch; the stem goes up when the notes lie mostly below the middle
    // line. Of two heads a second apart, one moves to the other side of the stem.
    void Note(double x, double staffTop, const Event& event, std::optional<bool> stemUp) {
        std::vector<int> steps;
        for (const Pitch& pitch : event.pitches) steps.push_back(Diatonic(pitch));
        std::sort(steps.begin(), steps.end());
        const int lowest = steps.front();
        const int highest = steps.back();
        const bool up = stemUp.value_or(highest - middle_ < middle_ - lowest);
        const bool whole = event.value >= kWhole;
        const bool open = event.value >= kHalf;
        const double rx = whole ? kWholeRx : kHeadRx;
        const double ry = whole ? kWholeRy : kHeadRy;
        const double cx = x + rx;

        std::vector<double> centres(steps.size(), cx);
        const double shift = 2 * rx - 1.2;
        for (std::size_t k = 1; k < steps.size(); ++k) {
            // Walk from the stem's end of the chord: from the bottom for an up stem.
            const std::size_t i = up ? k : steps.size() - 1 - k;
            const std::size_t previous = up ? i - 1 : i + 1;
            if (std::abs(steps[i] - steps[previous]) == 1 && centres[previous] == cx) {
                centres[i] = cx + (up ? shift : -shift);
            }
        }
        const auto [leftmost, rightmost] = std::minmax_element(centres.begin(), centres.end());
        Ledgers(*leftmost - rx - 3, *rightmost + rx + 3, staffTop, lowest, highest);

        for (std::size_t i = 0; i < steps.size(); ++i) {
            const double cy = PitchY(staffTop, steps[i]);
            svg_.Empty("path", {{"class", "head"},
                                {"data-cx", centres[i]},
                                {"data-cy", cy},
                                {"d", HeadPath(centres[i], cy, rx, ry, whole ? 0.0 : kHeadTilt)},
                                {"fill", open ? kRowFill : kInk},
                                {"stroke", kInk},
                                {"stroke-width", open ? (whole ? 2.0 : 1.5) : 0.5}});
        }

        const int flags = FlagCount(event.value);
        if (!whole) {
            const double stemX = up ? cx + rx - 0.7 : cx - rx + 0.7;
            const double extra = std::max(0, flags - 2) * kFlagStep;
            const double from = PitchY(staffTop, up ? lowest : highest);
            const double end = up ? PitchY(staffTop, highest) - kStemLength - extra
                                  : PitchY(staffTop, lowest) + kStemLength + extra;
            Line("stem", stemX, from, stemX, end, 1.2);
            for (int f = 0; f < flags; ++f) {
                const double tip = end + (up ? 1 : -1) * kFlagStep * f;
                const double sign = up ? 1 : -1;
                svg_.Empty("path", {{"class", "flag"},
                                    {"d", "M" + N::Number(stemX) + "," + N::Number(tip) + " c0," +
                                              N::Number(5 * sign) + " 8," + N::Number(7 * sign) +
                                              " 6," + N::Number(15 * sign)},
                                    {"fill", "none"},
                                    {"stroke", kInk},
                                    {"stroke-width", 1.4}});
            }
        }
        if (event.dots > 0) {
            // Beside the rightmost head, clear of an up stem's flags, in a space.
            const double dotX = *rightmost + rx + 3.5 + (up && flags > 0 ? 7 : 0);
            for (const int d : steps) {
                const bool onLine = (d - middle_) % 2 == 0;
                Dots(dotX, PitchY(staffTop, d) - (onLine ? kSpace / 2 : 0), event.dots);
            }
        }
    }

    // Rests as simple glyphs: a block hanging from the fourth line (whole) or sitting on the
    // middle line (half), a zigzag (quarter), a slanted stroke with one hook per flag.
    void Rest(double x, double staffTop, const Event& event) {
        svg_.Open("g", {{"class", "rest"}});
        double right = x + 12;
        if (event.value >= kBreve) {
            svg_.Empty("rect", {{"x", x + 3},
                                {"y", staffTop + kSpace},
                                {"width", 6},
                                {"height", kSpace},
                                {"fill", kInk}});
        } else if (event.value >= kWhole) {
            svg_.Empty("rect", {{"x", x + 1},
                                {"y", staffTop + kSpace},
                                {"width", 11},
                                {"height", 5},
                                {"fill", kInk}});
        } else if (event.value >= kHalf) {
            svg_.Empty("rect", {{"x", x + 1},
                                {"y", staffTop + 2 * kSpace - 5},
                                {"width", 11},
                                {"height", 5},
                                {"fill", kInk}});
        } else if (event.value >= kQuarter) {
            const double top = staffTop + 0.5 * kSpace;
            svg_.Empty("path", {{"d", "M" + N::Number(x + 4) + "," + N::Number(top) +
                                          " l5,7 l-4,6 l5,7 c-4,-2 -7,1 -3,6"},
                                {"fill", "none"},
                                {"stroke", kInk},
                                {"stroke-width", 2},
                                {"stroke-linejoin", "round"}});
        } else {
            const int hooks = FlagCount(event.value);
            const double top = staffTop + 1.2 * kSpace;
            const double bottom = staffTop + (2.8 + 0.6 * (hooks - 1)) * kSpace;
            const double slant = 0.25;
            Line("rest-stem", x + 10, top, x + 10 - slant * (bottom - top), bottom, 1.3);
            for (int h = 0; h < hooks; ++h) {
                const double y = top + h * 0.8 * kSpace;
                const double stemX = x + 10 - slant * (y - top);
                svg_.Empty("circle",
                           {{"cx", stemX - 6}, {"cy", y + 1}, {"r", 2.3}, {"fill", kInk}});
                svg_.Empty("path", {{"d", "M" + N::Number(stemX - 6) + "," + N::Number(y + 1) +
                                              " q3,2 6,-1"},
                                    {"fill", "none"},
                                    {"stroke", kInk},
                                    {"stroke-width", 1.3}});
            }
            right = x + 13;
        }
        Dots(right + 2, staffTop + 1.5 * kSpace, event.dots);
        svg_.Close("g");
    }
    static int MiddleLineOf(const SvgRow& row, std::size_t staff) {
        std::int64_t sum = 0;
        std::int64_t count = 0;
        for (std::int32_t m = row.measures.first; m <= row.measures.last; ++m) {
            const Measure* measure = row.document->GetScore().MeasureNumber(m);
            if (measure == nullptr || staff >= measure->staves.size()) continue;
            for (const Voice& voice : measure->staves[staff]) {
                for (const Event& event : voice.events) {
                    for (const Pitch& pitch : event.pitches) {
                        sum += Diatonic(pitch);
                        ++count;
                    }
                }
            }
        }
        return count > 0 && sum < kMiddleC * count ? kBassMiddle : kTrebleMiddle;
    }

    std::span<const SvgRow> rows_;
    std::vector<int> middles_;    // of each staff of the row being drawn
    int middle_ = kTrebleMiddle;  // of the staff being drawn
    std::string_view title_;
    double musicLeft_ = 0;
    SvgWriter svg_;
};

}  // namespace

MeasureRange SelectedMeasures(const Document& document) {
    if (document.HasSelection()) {
        const NXRegionRecord& selection = document.Selection();
        return MeasureRange{std::max<std::int16_t>(selection.startMeasure, 1),
                            selection.endMeasure};
    }
    auto count = static_cast<std::int16_t>(document.GetScore().Measures().size());
    for (const RecordId& id : document.Records().IdsOfTag(kTagMeasureRecord)) {
        count = std::max(count, id.item);
    }
    return MeasureRange{1, count};
}

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
