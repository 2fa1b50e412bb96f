// Builds a Document in one expression, so that a test shows its whole setup in one line:
//
//   DocumentBuilder().withAllotments({{0, 72}, {1024, 84}}).withMeasures(8).withSelection(1, 8)
//   DocumentBuilder().withStaff(1, {"q q q q | h h"}).withStaff(41, {"(3:2 8 8 8) q h", "w"})
//   DocumentBuilder().withStaff(1, {"w:E5"}).withStaff(1, {"w:C3"}, "F4").withBrace(1, 2)
//
// Voices are written in the score notation (score_notation.h), measures separated by '|'. A
// document always has its music spacing preferences ('ot94' item -2, incidences 0 to 2) and the
// extra record 'ot41' item -2 incidence 2, as a real document does; withoutRecord takes one
// away. A mistake in the notation throws std::invalid_argument: this is test set-up, never
// reached from a host call.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simhost/document/document.h"
#include "simhost/document/measure_record.h"
#include "simhost/document/note_widths.h"

namespace simhost {

constexpr std::uint32_t kTagSpacingExtras = MakeTag("ot41");

class DocumentBuilder {
public:
    // A staff in the next slot (from 1 down), its key equal to its slot. Each text is one voice
    // over the measures; a staff given no voice plays four quarters in every measure. The clef
    // is written as clef.h reads it.
    DocumentBuilder& withStaff(std::int16_t instrument, std::vector<std::string> voices = {},
                               const std::string& clef = "G2");
    // The staves of slots first..last joined as one instrument's.
    DocumentBuilder& withBrace(std::int16_t firstSlot, std::int16_t lastSlot);
    // A clef taking over the staff of a slot at a point of a measure (numbered from 1).
    DocumentBuilder& withClefChange(std::int32_t measure, std::int16_t slot, Rational at,
                                    const std::string& clef);
    // At least this many measures (more when a voice is longer).
    DocumentBuilder& withMeasures(std::int32_t count);
    // The allotment records, one per row, and the allotment flag set.
    DocumentBuilder& withAllotments(std::vector<AllotmentRow> rows);
    // Scaling spacing: the allotment flag cleared and the scaling fields set.
    DocumentBuilder& withScaling(std::int32_t factor, std::int16_t referenceWidth,
                                 std::int16_t referenceDuration = 1024);
    // The 36 preference bytes as a whole, before the fields above are applied.
    DocumentBuilder& withPreferenceBytes(const std::array<std::uint8_t, 36>& bytes);
    // Measures first..last of every staff; first = last = 0 selects nothing.
    DocumentBuilder& withSelection(std::int16_t first, std::int16_t last);
    // The measure record every measure starts with (its width and other fields).
    DocumentBuilder& withMeasureFields(const MeasureFields& fields);
    DocumentBuilder& withMeasureWidth(std::int16_t width);
    DocumentBuilder& withTimeSignature(std::int16_t beats, std::int16_t beatDuration);
    DocumentBuilder& withRecord(std::uint32_t tag, std::int16_t item, std::int16_t incidence,
                                std::vector<std::uint8_t> bytes,
                                std::array<std::uint8_t, 4> reserved = {});
    DocumentBuilder& withoutRecord(std::uint32_t tag, std::int16_t item, std::int16_t incidence);
    DocumentBuilder& withDocumentNumber(std::int16_t number);

    Document Build() const;

private:
    struct StaffPlan {
        std::int16_t instrument;
        std::vector<std::string> voices;
        Clef clef;
    };
    struct ClefPlan {
        std::int32_t measure;
        std::int16_t slot;
        ClefChange change;
    };
    struct ExtraRecord {
        RecordId id;
        std::optional<StoredRecord> record;  // nothing: remove it
    };

    Score BuildScore(std::int32_t measures) const;
    void AddPreferences(RecordStore& records) const;

    std::vector<StaffPlan> staves_;
    std::vector<StaffGroup> groups_;
    std::vector<ClefPlan> clefChanges_;
    std::int32_t measures_ = 0;
    std::vector<AllotmentRow> allotments_;
    std::optional<SpacingPreferences> preferences_;
    std::array<std::uint8_t, 36> preferenceBytes_{};
    std::int16_t firstSelected_ = 0;
    std::int16_t lastSelected_ = 0;
    MeasureFields measureFields_{300, 24, 4, 1024, 0, MeasureFields::Barline::Single, 0, 0, 12};
    std::vector<ExtraRecord> extras_;
    std::int16_t number_ = 1;
};

}  // namespace simhost
