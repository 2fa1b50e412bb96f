// The host's measure record 'SOMS'. It is stored once, in its long layout of 30 bytes; older
// callers (data version 0x0A000000) see and write its first 26 bytes, newer ones
// (0x12000000) all 30. The width at offset 0 is the same field in both.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "host/services/nx_types.h"

namespace simhost {

constexpr std::uint32_t kTagMeasureRecord = MakeTag("SOMS");
constexpr std::uint32_t kMeasureDataVersionShort = 0x0A000000;
constexpr std::uint32_t kMeasureDataVersionLong = 0x12000000;
constexpr std::size_t kMeasureBytesShort = 26;
constexpr std::size_t kMeasureBytesLong = 30;

// The fields of one measure. Offsets are those of the stored record:
//    0 width               16-bit, in 24ths of a staff space; written by respacing
//    2 leading space       16-bit, from the barline to the first note (clef, key, time)
//    4 beats               16-bit, time signature numerator
//    6 beat duration       16-bit, 1024 per quarter (1024 for x/4, 512 for x/8)
//    8 key                 signed 16-bit, sharps positive, flats negative
//   10 barline             16-bit, the closing barline (see Barline)
//   12 flags               16-bit, see the kMeasureFlag constants
//   14 number shown        16-bit, the number printed over the measure; 0: its position
//   16 ten bytes           kept as written; no meaning to this host
//   26 trailing space      16-bit, from the last note's space to the barline (long layout only)
//   28 two bytes           kept as written; no meaning to this host
struct MeasureFields {
    enum class Barline : std::uint16_t { Single = 0, Double = 1, Final = 2, RepeatEnd = 3 };

    std::int16_t width = 0;
    std::int16_t leadingSpace = 0;
    std::int16_t beats = 4;
    std::int16_t beatDuration = 1024;
    std::int16_t key = 0;
    Barline barline = Barline::Single;
    std::uint16_t flags = 0;
    std::int16_t numberShown = 0;
    std::int16_t trailingSpace = 0;

    // The length of the measure by its time signature, 1024 per quarter.
    std::int32_t Length() const { return static_cast<std::int32_t>(beats) * beatDuration; }

    static MeasureFields Read(std::span<const std::uint8_t> record);
    // Writes the fields into a stored record, which is first grown to the long layout; the
    // bytes without meaning here are kept.
    void WriteInto(std::vector<std::uint8_t>& record) const;
    std::vector<std::uint8_t> ToRecord() const;

    bool operator==(const MeasureFields&) const = default;
};

constexpr std::uint16_t kMeasureFlagPageBreak = 0x0001;
constexpr std::uint16_t kMeasureFlagHideRests = 0x0002;
// Left out of the count (a pickup): no number is shown over it, and the next counted measure
// is shown as the one its number field says.
constexpr std::uint16_t kMeasureFlagUncounted = 0x0004;

// How a caller of one data version sees a record of one tag: how many leading bytes of the
// stored record it exchanges (every byte, for tags with a single layout) and how large the
// stored record is made when a save creates it.
struct RecordView {
    std::optional<std::size_t> visibleBytes;
    std::size_t storedBytes = 0;
};

// The view of a tag under a data version; nothing for a version the tag has no layout for.
std::optional<RecordView> ViewOf(std::uint32_t tag, std::uint32_t version);

}  // namespace simhost
