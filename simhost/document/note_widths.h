// How wide a note of a given duration is, by the document's spacing settings as they stand: the
// allotment table ('otDA', item number = duration, 16-bit width at offset 0) when the music
// spacing preferences say so, else scaling from a reference note. Widths count 24 per staff
// space, durations 1024 per quarter.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "host/services/nx_types.h"
#include "simhost/document/rational.h"
#include "simhost/document/record_store.h"

namespace simhost {

constexpr std::uint32_t kTagAllotment = MakeTag("otDA");
// The music spacing preferences are three 12-byte records of this tag, item -2, incidences 0
// to 2, holding bytes 0-11, 12-23 and 24-35.
constexpr std::uint32_t kTagSpacingPreferences = MakeTag("ot94");
constexpr std::int16_t kPreferenceItem = -2;
constexpr std::size_t kPreferenceBlockBytes = 12;
constexpr std::size_t kSpacingPreferenceBytes = 36;

struct SpacingPreferences {
    bool byAllotments = false;
    std::int16_t referenceDuration = 1024;
    std::int16_t referenceWidth = 84;
    // The scaling ratio times 10000: 16180 stands for 1.618.
    std::int32_t scalingFactor = 16180;

    double Ratio() const { return scalingFactor / 10000.0; }

    // Missing records read as zero bytes.
    static SpacingPreferences Read(const RecordStore& records);
    // Reads and writes the fields in the 36 bytes, leaving the other bytes as they are.
    static SpacingPreferences FromBytes(const std::array<std::uint8_t, 36>& bytes);
    void WriteInto(std::array<std::uint8_t, 36>& bytes) const;
    static std::array<std::uint8_t, 36> BytesOf(const RecordStore& records);

    bool operator==(const SpacingPreferences&) const = default;
};

struct AllotmentRow {
    std::int32_t duration = 0;
    std::int16_t width = 0;

    bool operator==(const AllotmentRow&) const = default;
};

// Widths between rows are interpolated on a straight line between the two rows around them.
// Below the first row a duration gets the first row's width: nothing shorter can be spaced
// tighter than the table's tightest entry. Above the last row the last two rows' line goes on
// (never below the last width), so that a breve in a table that ends at the whole note is still
// wider than the whole note. A table of one row gives every duration that row's width.
class AllotmentTable {
public:
    AllotmentTable() = default;
    // Sorted by duration; of two rows with one duration the later wins.
    explicit AllotmentTable(std::vector<AllotmentRow> rows);
    // Every 'otDA' record with at least two data bytes; the item number is read as an unsigned
    // 16-bit duration.
    static AllotmentTable Read(const RecordStore& records);

    bool Empty() const { return rows_.empty(); }
    const std::vector<AllotmentRow>& Rows() const { return rows_; }
    double WidthOf(double duration) const;

private:
    std::vector<AllotmentRow> rows_;
};

class NoteWidths {
public:
    // Spaces by the allotments when the preferences' allotment flag is set and there is at
    // least one allotment; a document with the flag but no table is spaced by its scaling
    // fields, which it always has.
    static NoteWidths FromRecords(const RecordStore& records);
    NoteWidths(SpacingPreferences preferences, AllotmentTable table);

    bool ByAllotments() const { return byAllotments_; }
    // The width given to a note of that duration; 0 for no duration.
    double WidthOf(Rational duration) const;

private:
    // width(d) = reference width x ratio ^ log2(d / reference duration). A reference duration
    // or factor that is not positive cannot mean anything: it counts as a quarter, ratio 1.
    double ScaledWidth(double duration) const;

    SpacingPreferences preferences_;
    AllotmentTable table_;
    bool byAllotments_ = false;
};

}  // namespace simhost
