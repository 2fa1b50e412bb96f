#include "simhost/document/score_limits.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <numeric>
#include <string_view>
#include <vector>

#include "simhost/document/score_notation.h"

namespace simhost {
namespace {

// A tuplet scale (the product of the groups open at an event) whose terms fit in 31 bits keeps
// every product the score's own timing forms of it inside 64 bits.
constexpr std::int64_t kMaxScaleTerm = std::numeric_limits<std::int32_t>::max();

bool Multiply(std::int64_t a, std::int64_t b, std::int64_t& out) {
    return !__builtin_mul_overflow(a, b, &out);
}

std::optional<Rational> Reduced(std::int64_t num, std::int64_t den) {
    // The one value whose magnitude does not fit, and which gcd cannot take.
    if (num == std::numeric_limits<std::int64_t>::min() || den <= 0) return std::nullopt;
    return Rational(num, den);
}

bool IsScale(Rational scale) {
    return scale.Num() > 0 && scale.Num() <= kMaxScaleTerm && scale.Den() <= kMaxScaleTerm;
}

std::string Count(std::int64_t count) { return std::to_string(count); }

// Texts are put together by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + a
// temporary string.
std::string Text(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) text.append(part);
    return text;
}

}  // namespace

std::string TupletNestingError() {
    return Text({"tuplet groups nested more than ", Count(kMaxTupletNesting), " deep"});
}

std::string TupletRatiosError() { return "tuplet groups whose ratios multiply too far"; }

std::optional<Rational> CheckedSum(Rational a, Rational b) {
    const std::int64_t common = std::gcd(a.Den(), b.Den());
    std::int64_t left = 0;
    std::int64_t right = 0;
    std::int64_t num = 0;
    std::int64_t den = 0;
    if (!Multiply(a.Num(), b.Den() / common, left) || !Multiply(b.Num(), a.Den() / common, right) ||
        __builtin_add_overflow(left, right, &num) || !Multiply(a.Den(), b.Den() / common, den)) {
        return std::nullopt;
    }
    return Reduced(num, den);
}

std::optional<Rational> CheckedProduct(Rational a, Rational b) {
    // Crossed first, so that a product that fits once reduced is never refused.
    const std::int64_t first = a.Num() == 0 ? 1 : std::gcd(a.Num(), b.Den());
    const std::int64_t second = b.Num() == 0 ? 1 : std::gcd(b.Num(), a.Den());
    std::int64_t num = 0;
    std::int64_t den = 0;
    if (!Multiply(a.Num() / first, b.Num() / second, num) ||
        !Multiply(a.Den() / second, b.Den() / first, den)) {
        return std::nullopt;
    }
    return Reduced(num, den);
}

bool IsMeasureTime(Rational time) {
    // The divisor first: within it, the comparison below cannot overflow.
    return time.Den() <= kMaxTimeDivisor && time >= Rational(0) &&
           time <= Rational(kMaxMeasureLength);
}

std::string MeasureTimeError(Rational time) {
    if (time.Den() > kMaxTimeDivisor) {
        return Text(
            {"divides a quarter into more than ", Count(kQuarter * kMaxTimeDivisor), " parts"});
    }
    if (time < Rational(0)) return "lies before the start of its measure";
    return Text(
        {"reaches past the ", Count(kMaxMeasureLength / kQuarter), " quarters a measure may last"});
}

std::optional<std::string> CheckTuplet(const Tuplet& tuplet) {
    const auto within = [](std::int32_t count) { return count >= 1 && count <= kMaxTupletCount; };
    if (within(tuplet.actual) && within(tuplet.normal)) return std::nullopt;
    return Text({"a tuplet of ", Count(tuplet.actual), " in the time of ", Count(tuplet.normal),
                 ": a score holds from 1 to ", Count(kMaxTupletCount), " of each"});
}

namespace {

// What the document file could not write of an event's marks (mark_notation.h).
std::optional<std::string> CheckMarks(const Event& event) {
    const NoteMarks& marks = event.marks;
    if (marks.beams.size() > static_cast<std::size_t>(kMaxBeamLevels)) {
        return Text({"a note of more than ", Count(kMaxBeamLevels), " beams"});
    }
    if (!marks.ties.empty() && marks.ties.size() != event.pitches.size()) {
        return "ties that are not one per pitch";
    }
    if (!marks.tupletLooks.empty() && marks.tupletLooks.size() != event.tupletStarts.size()) {
        return "tuplet looks that are not one per group";
    }
    for (const SlurMark& slur : marks.slurs) {
        if (slur.number < 1 || slur.number > kMaxSlurNumber) {
            return Text({"a slur numbered other than 1 to ", Count(kMaxSlurNumber)});
        }
    }
    return std::nullopt;
}

// What the document file could not write of an event; nothing when it can write it all.
std::optional<std::string> CheckWritable(const Event& event) {
    if (event.value <= 0 || event.value > kBreve || event.dots < 0) {
        return "an event of no note value";
    }
    if (event.dots > kMaxDots) return Text({"a note of more than ", Count(kMaxDots), " dots"});
    for (const Pitch& pitch : event.pitches) {
        if (pitch.alter < -kMaxAccidentals || pitch.alter > kMaxAccidentals) {
            return Text({"a pitch of more than ", Count(kMaxAccidentals), " sharps or flats"});
        }
        if (pitch.octave < kLowestOctave || pitch.octave > kHighestOctave) {
            return Text(
                {"a pitch outside octaves ", Count(kLowestOctave), " to ", Count(kHighestOctave)});
        }
    }
    for (const Tuplet& tuplet : event.tupletStarts) {
        if (auto error = CheckTuplet(tuplet)) return error;
    }
    return CheckMarks(event);
}

}  // namespace

std::optional<std::string> CheckVoice(const Voice& voice) {
    std::vector<Rational> scales{Rational(1)};  // after each open group, outermost first
    Rational onset(0);
    for (const Event& event : voice.events) {
        if (auto error = CheckWritable(event)) return error;
        for (const Tuplet& tuplet : event.tupletStarts) {
            if (scales.size() > static_cast<std::size_t>(kMaxTupletNesting)) {
                return TupletNestingError();
            }
            const auto scale =
                CheckedProduct(scales.back(), Rational(tuplet.normal, tuplet.actual));
            if (!scale || !IsScale(*scale)) return TupletRatiosError();
            scales.push_back(*scale);
        }
        if (!event.IsGrace()) {
            const auto duration =
                CheckedProduct(DottedDuration(event.value, event.dots), scales.back());
            if (!duration || !IsMeasureTime(*duration)) {
                return Text({"a note or rest that ",
                             duration ? MeasureTimeError(*duration) : "lasts too long"});
            }
            const auto end = CheckedSum(onset, *duration);
            if (!end || !IsMeasureTime(*end)) {
                return Text({"a voice that ", end ? MeasureTimeError(*end) : "lasts too long"});
            }
            onset = *end;
        }
        for (std::int32_t i = 0; i < event.tupletStops && scales.size() > 1; ++i) {
            scales.pop_back();
        }
    }
    return std::nullopt;
}

std::optional<std::string> CheckStaves(std::size_t count) {
    if (count <= static_cast<std::size_t>(kMaxStaves)) return std::nullopt;
    return Text({"more than ", Count(kMaxStaves), " staves"});
}

std::optional<std::string> CheckMeasures(std::size_t count) {
    if (count <= static_cast<std::size_t>(kMaxMeasures)) return std::nullopt;
    return Text({"more than ", Count(kMaxMeasures), " measures"});
}

std::size_t EventCount(const Measure& measure) {
    std::size_t count = 0;
    for (const std::vector<Voice>& voices : measure.staves) {
        for (const Voice& voice : voices) count += voice.events.size();
    }
    return count;
}

std::optional<std::string> CheckMeasureSize(std::size_t mostVoices, std::size_t events) {
    if (mostVoices > static_cast<std::size_t>(kMaxVoicesPerStaff)) {
        return Text({"more than ", Count(kMaxVoicesPerStaff), " voices on one staff"});
    }
    if (events > static_cast<std::size_t>(kMaxEventsPerMeasure)) {
        return Text(
            {"more than ", Count(kMaxEventsPerMeasure), " notes, rests and spaces in one measure"});
    }
    return std::nullopt;
}

std::optional<std::string> CheckMeasure(const Measure& measure) {
    std::size_t mostVoices = 0;
    for (const std::vector<Voice>& voices : measure.staves) {
        mostVoices = std::max(mostVoices, voices.size());
    }
    if (auto error = CheckMeasureSize(mostVoices, EventCount(measure))) return error;
    for (const std::vector<Voice>& voices : measure.staves) {
        for (const Voice& voice : voices) {
            if (auto error = CheckVoice(voice)) return error;
        }
    }
    for (const ClefChange& change : measure.clefChanges) {
        if (!IsMeasureTime(change.at)) {
            return Text({"a clef change that ", MeasureTimeError(change.at)});
        }
    }
    return std::nullopt;
}

}  // namespace simhost
