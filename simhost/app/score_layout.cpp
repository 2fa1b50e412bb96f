#include "simhost/app/score_layout.h"

#include <algorithm>
#include <cstdlib>

#include "simhost/document/measure_spacer.h"
#include "simhost/document/respacer.h"
#include "simhost/document/signature_room.h"

namespace simhost::layout {
namespace {

constexpr double kTitleHeight = 28;
constexpr double kNumberBand = 14;
constexpr double kRowGap = 10;
constexpr double kLabelCharWidth = 7;
constexpr double kMinLabelWidth = 56;
constexpr double kLabelGap = 16;
// Room left of the system line for a brace.
constexpr double kBraceRoom = 1.5 * kSpace;
// Room above and below the staves for stems, flags and ledger lines.
constexpr double kHeadroom = 4.5 * kSpace;
constexpr double kFootroom = 4.5 * kSpace;
// Around the clef, key and time signature that open a row.
constexpr double kHeaderPad = 0.5 * kSpace;
constexpr double kHeaderGap = 0.6 * kSpace;
// A head's half height (its half width is kHeadRx); a whole note's head is larger.
constexpr double kHeadRy = 4.6;
constexpr double kWholeRx = 7.5;
constexpr double kWholeRy = 5;
constexpr double kStemLength = 3.5 * kSpace;
constexpr double kAccidentalGap = 0.2 * kSpace;
// Grace notes and cue notes against full-size notes, and a clef change against a staff's clef.
constexpr double kGraceSize = 0.6;
constexpr double kCueSize = 0.75;
constexpr double kClefChangeSize = 0.7;
constexpr std::int16_t kWidthWithoutRecord = 240;

int Diatonic(const Pitch& pitch) { return DiatonicStep(pitch.step, pitch.octave); }

// The widest of the clefs that open the row's staves: their key signatures line up after it.
double ClefColumn(const SvgRow& row) {
    double clefs = 0;
    for (std::size_t s = 0; s < StaffCount(row); ++s) {
        clefs = std::max(clefs, ClefWidth(ClefOfRow(row, s)) * kSpace);
    }
    return clefs;
}

// The clefs, key signature and time signature before the row's first measure.
double HeaderWidth(const SvgRow& row) {
    double width = kHeaderPad + ClefColumn(row) + kHeaderGap;
    if (row.document != nullptr) {
        const MeasureFields fields = FieldsOf(*row.document, row.measures.first);
        width += std::abs(fields.key) * kKeyAccidentalRoom * kScale;
        if (ShowsTime(*row.document, row.measures.first)) width += kTimeSignatureRoom * kScale;
    }
    return width;
}

}  // namespace

PictureLayout LayOutPicture(std::span<const SvgRow> rows, std::string_view title) {
    PictureLayout picture;
    std::size_t longest = 0;
    double header = 0;
    for (const SvgRow& row : rows) {
        longest = std::max(longest, row.label.size());
        header = std::max(header, HeaderWidth(row));
    }
    picture.systemLeft = kMargin +
                         std::max(kMinLabelWidth, kLabelCharWidth * static_cast<double>(longest)) +
                         kLabelGap + kBraceRoom;
    picture.clefLeft = picture.systemLeft + kHeaderPad;
    picture.measuresLeft = picture.systemLeft + header;

    double musicWidth = 0;
    double height = kMargin + (title.empty() ? 0 : kTitleHeight);
    for (const SvgRow& row : rows) {
        musicWidth = std::max(musicWidth, RowWidth(row));
        // Each row starts where the picture's height has come to.
        picture.rowTops.push_back(height);
        height += RowHeight(row) + kRowGap;
    }
    height += kMargin - kRowGap;
    picture.height = height;
    // Room for a closing barline's thick stroke.
    picture.width = picture.measuresLeft + musicWidth + kMargin + 4;
    return picture;
}

std::size_t StaffCount(const SvgRow& row) {
    if (row.document == nullptr) return 1;
    return std::max<std::size_t>(1, row.document->GetScore().Staves().size());
}

double RowHeight(const SvgRow& row) {
    const auto staves = static_cast<double>(StaffCount(row));
    return kNumberBand + kHeadroom + staves * kStaffHeight + (staves - 1) * kStaffGap + kFootroom;
}

double RowWidth(const SvgRow& row) {
    if (row.document == nullptr) return 0;
    double width = 0;
    for (std::int32_t m = row.measures.first; m <= row.measures.last; ++m) {
        width += MeasureWidth(*row.document, static_cast<std::int16_t>(m));
    }
    return width;
}

double FirstStaffTop(double rowTop) { return rowTop + kNumberBand + kHeadroom; }

double StaffTop(double firstStaff, std::size_t staff) {
    return firstStaff + static_cast<double>(staff) * (kStaffHeight + kStaffGap);
}

double LineY(double staffTop, int step) { return staffTop + 2 * kSpace - step * kSpace / 2; }

MeasureFields FieldsOf(const Document& document, std::int32_t number) {
    if (const auto fields = document.MeasureRecord(static_cast<std::int16_t>(number))) {
        return *fields;
    }
    MeasureFields fields;
    fields.width = kWidthWithoutRecord;
    return fields;
}

double MeasureWidth(const Document& document, std::int16_t number) {
    return std::max<double>(1, FieldsOf(document, number).width) * kScale;
}

bool ShowsTime(const Document& document, std::int32_t number) {
    if (number <= 1) return true;
    const MeasureFields now = FieldsOf(document, number);
    const MeasureFields before = FieldsOf(document, number - 1);
    return now.beats != before.beats || now.beatDuration != before.beatDuration;
}

Clef ClefOfRow(const SvgRow& row, std::size_t staff) {
    if (row.document == nullptr) return kTrebleClef;
    return row.document->GetScore().ClefAt(staff, row.measures.first, Rational(0));
}

double KeySignatureLeft(const PictureLayout& picture, const SvgRow& row) {
    return picture.clefLeft + ClefColumn(row) + kHeaderGap;
}

std::vector<BarlineSpan> BarlineSpans(const SvgRow& row) {
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

std::vector<std::vector<PlacedEvent>> PlaceEvents(const Document& document, const Measure& measure,
                                                  std::int16_t number, const MeasureFields& fields,
                                                  double x) {
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
                const StemDirection stated = event.event->marks.stem;
                if (stated == StemDirection::Up || stated == StemDirection::Down) {
                    up = stated == StemDirection::Up;
                }
                placed[s].push_back(PlacedEvent{event, 0, up});
                onsets.push_back(event.onset);
            }
        }
    }
    std::sort(onsets.begin(), onsets.end());
    onsets.erase(std::unique(onsets.begin(), onsets.end()), onsets.end());
    // Without positions, onsets are spread evenly over the measure's room for notes.
    const double room = std::max<double>(fields.width - fields.leadingSpace - fields.trailingSpace,
                                         fields.width / 2.0);
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

// A clef change stands in the room the spacing gave it before the first column at its point
// (graces included), or before the trailing space at the measure's end, centred in that room.
GlyphFrame ClefChangeFrame(const std::vector<std::vector<PlacedEvent>>& placed,
                           const ClefChange& change, const MeasureFields& fields, double x,
                           double staffTop) {
    std::optional<double> column;
    for (const auto& staff : placed) {
        for (const PlacedEvent& item : staff) {
            if (item.timed.onset == change.at && !item.timed.event->wholeMeasure) {
                column = std::min(column.value_or(item.x), item.x);
            }
        }
    }
    const double end = x + (fields.width - fields.trailingSpace) * kScale;
    const double left = column.value_or(end) - kClefChangeSpace * kScale;
    const double size = kSpace * kClefChangeSize;
    return GlyphFrame{left + (kClefChangeSpace * kScale - ClefWidth(change.clef) * size) / 2,
                      LineY(staffTop, ClefOriginStep(change.clef)), size};
}

double SizeOf(const Event& event) {
    if (event.IsGrace()) return kGraceSize;
    return event.cue ? kCueSize : 1.0;
}

int FlagCount(std::int32_t value) {
    int flags = 0;
    for (std::int32_t v = kEighth; v >= value && v > 0; v /= 2) ++flags;
    return flags;
}

ChordLayout LayOutChord(const PlacedEvent& item, double staffTop, const Clef& clef,
                        const Accidentals& accidentals) {
    const Event& event = *item.timed.event;
    ChordLayout chord;
    const double k = SizeOf(event);
    chord.size = k;
    const std::optional<int> middle = clef.MiddleLine();
    for (std::size_t i = 0; i < event.pitches.size(); ++i) {
        chord.heads.push_back(
            PlacedHead{i, middle ? Diatonic(event.pitches[i]) - *middle : 0, 0, 0, 0});
    }
    auto& heads = chord.heads;
    std::stable_sort(heads.begin(), heads.end(),
                     [](const PlacedHead& a, const PlacedHead& b) { return a.step < b.step; });
    const int lowest = heads.front().step;
    const int highest = heads.back().step;
    chord.lowest = lowest;
    chord.highest = highest;
    const bool up = item.stemUp.value_or(highest < -lowest);
    chord.up = up;
    const bool whole = event.value >= kWhole;
    chord.whole = whole;
    const double rx = (whole ? kWholeRx : kHeadRx) * k;
    chord.rx = rx;
    chord.ry = (whole ? kWholeRy : kHeadRy) * k;
    const double cx = item.x + rx;

    for (PlacedHead& head : heads) {
        head.centre = cx;
        head.y = LineY(staffTop, head.step);
        const bool onLine = head.step % 2 == 0;
        head.dotY = LineY(staffTop, head.step) - (onLine ? kSpace / 2 : 0);
    }
    const double shift = 2 * rx - 1.2 * k;
    for (std::size_t n = 1; n < heads.size(); ++n) {
        // Walk from the stem's end of the chord: from the bottom for an up stem.
        const std::size_t i = up ? n : heads.size() - 1 - n;
        const std::size_t previous = up ? i - 1 : i + 1;
        if (std::abs(heads[i].step - heads[previous].step) == 1 && heads[previous].centre == cx) {
            heads[i].centre = cx + (up ? shift : -shift);
        }
    }
    const auto [leftmost, rightmost] = std::minmax_element(
        heads.begin(), heads.end(),
        [](const PlacedHead& a, const PlacedHead& b) { return a.centre < b.centre; });
    chord.ledgerLeft = leftmost->centre - rx - 3 * k;
    chord.ledgerRight = rightmost->centre + rx + 3 * k;

    // Accidentals from the top down; none under a clef that names no pitch.
    std::vector<std::pair<int, double>> columns;  // step and left edge of those placed
    for (std::size_t n = clef.Pitched() ? heads.size() : 0; n-- > 0;) {
        const auto shown = accidentals.find({&event, heads[n].pitch});
        if (shown == accidentals.end()) continue;
        const double width = AccidentalWidth(shown->second) * kSpace * k;
        double right = leftmost->centre - rx - kAccidentalGap * k;
        for (const auto& [step, left] : columns) {
            if (step - heads[n].step < 6) right = std::min(right, left - kAccidentalGap * k);
        }
        columns.emplace_back(heads[n].step, right - width);
        chord.accidentals.push_back(
            PlacedAccidental{shown->second, right - width, LineY(staffTop, heads[n].step), n});
    }

    chord.flags = FlagCount(event.value);
    if (!whole && event.marks.stem != StemDirection::None) {
        const double stemX = up ? cx + rx - 0.7 * k : cx - rx + 0.7 * k;
        const double extra = std::max(0, chord.flags - 2) * kFlagStep * k;
        const double from = LineY(staffTop, up ? lowest : highest);
        const double end = up ? LineY(staffTop, highest) - kStemLength * k - extra
                              : LineY(staffTop, lowest) + kStemLength * k + extra;
        chord.stem = Stem{stemX, from, end};
    }
    // Beside the rightmost head, clear of an up stem's flags.
    chord.dotX = rightmost->centre + rx + 3.5 * k + (up && chord.flags > 0 ? 7 * k : 0);
    return chord;
}

}  // namespace simhost::layout
