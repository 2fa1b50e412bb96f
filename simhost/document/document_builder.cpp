#include "simhost/document/document_builder.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "framework/data/byte_fields.h"
#include "simhost/document/score_notation.h"

namespace simhost {
namespace {

constexpr const char* kDefaultVoice = "q q q q";

std::vector<Voice> ParseOrThrow(const std::string& text) {
    NotationError error;
    auto measures = ParseVoiceMeasures(text, &error);
    if (!measures) {
        throw std::invalid_argument("voice \"" + text + "\", column " +
                                    std::to_string(error.column) + ": " + error.message);
    }
    return std::move(*measures);
}

Clef ClefOrThrow(const std::string& text) {
    const auto clef = ParseClef(text);
    if (!clef) throw std::invalid_argument("clef \"" + text + "\" is not like G2, F4 or C3");
    return *clef;
}

}  // namespace

DocumentBuilder& DocumentBuilder::withStaff(std::int16_t instrument,
                                            std::vector<std::string> voices,
                                            const std::string& clef) {
    staves_.push_back(StaffPlan{instrument, std::move(voices), ClefOrThrow(clef)});
    return *this;
}

DocumentBuilder& DocumentBuilder::withBrace(std::int16_t firstSlot, std::int16_t lastSlot) {
    groups_.push_back(StaffGroup{firstSlot, lastSlot});
    return *this;
}

DocumentBuilder& DocumentBuilder::withClefChange(std::int32_t measure, std::int16_t slot,
                                                 Rational at, const std::string& clef) {
    clefChanges_.push_back(ClefPlan{measure, slot, ClefChange{0, at, ClefOrThrow(clef)}});
    return *this;
}

DocumentBuilder& DocumentBuilder::withMeasures(std::int32_t count) {
    measures_ = count;
    return *this;
}

DocumentBuilder& DocumentBuilder::withAllotments(std::vector<AllotmentRow> rows) {
    allotments_ = std::move(rows);
    SpacingPreferences preferences = preferences_.value_or(SpacingPreferences{});
    preferences.byAllotments = true;
    preferences_ = preferences;
    return *this;
}

DocumentBuilder& DocumentBuilder::withScaling(std::int32_t factor, std::int16_t referenceWidth,
                                              std::int16_t referenceDuration) {
    preferences_ = SpacingPreferences{false, referenceDuration, referenceWidth, factor};
    return *this;
}

DocumentBuilder& DocumentBuilder::withPreferenceBytes(const std::array<std::uint8_t, 36>& bytes) {
    preferenceBytes_ = bytes;
    return *this;
}

DocumentBuilder& DocumentBuilder::withSelection(std::int16_t first, std::int16_t last) {
    firstSelected_ = first;
    lastSelected_ = last;
    return *this;
}

DocumentBuilder& DocumentBuilder::withMeasureFields(const MeasureFields& fields) {
    measureFields_ = fields;
    return *this;
}

DocumentBuilder& DocumentBuilder::withMeasureWidth(std::int16_t width) {
    measureFields_.width = width;
    return *this;
}

DocumentBuilder& DocumentBuilder::withTimeSignature(std::int16_t beats, std::int16_t beatDuration) {
    measureFields_.beats = beats;
    measureFields_.beatDuration = beatDuration;
    return *this;
}

DocumentBuilder& DocumentBuilder::withRecord(std::uint32_t tag, std::int16_t item,
                                             std::int16_t incidence,
                                             std::vector<std::uint8_t> bytes,
                                             std::array<std::uint8_t, 4> reserved) {
    extras_.push_back({RecordId{tag, item, incidence}, StoredRecord{reserved, std::move(bytes)}});
    return *this;
}

DocumentBuilder& DocumentBuilder::withoutRecord(std::uint32_t tag, std::int16_t item,
                                                std::int16_t incidence) {
    extras_.push_back({RecordId{tag, item, incidence}, std::nullopt});
    return *this;
}

DocumentBuilder& DocumentBuilder::withDocumentNumber(std::int16_t number) {
    number_ = number;
    return *this;
}

Score DocumentBuilder::BuildScore(std::int32_t measures) const {
    std::vector<StaffPlan> staves = staves_;
    if (staves.empty()) staves.push_back(StaffPlan{1, {}, kTrebleClef});

    // Each staff's voices, measure by measure.
    std::vector<std::vector<std::vector<Voice>>> parsed;
    for (const StaffPlan& staff : staves) {
        std::vector<std::vector<Voice>> voices;
        for (const std::string& text : staff.voices) voices.push_back(ParseOrThrow(text));
        parsed.push_back(std::move(voices));
        for (const auto& voice : parsed.back()) {
            measures = std::max(measures, static_cast<std::int32_t>(voice.size()));
        }
    }
    const Voice defaultVoice = ParseOrThrow(kDefaultVoice).front();

    Score score;
    for (std::size_t i = 0; i < staves.size(); ++i) {
        const auto slot = static_cast<std::int16_t>(i + 1);
        score.AddStaff(
            Staff{slot, static_cast<std::uint16_t>(slot), staves[i].instrument, staves[i].clef});
    }
    score.Groups() = groups_;
    for (std::int32_t m = 0; m < measures; ++m) {
        Measure& measure = score.AddMeasure();
        for (std::size_t staff = 0; staff < staves.size(); ++staff) {
            if (parsed[staff].empty()) {
                measure.staves[staff].push_back(defaultVoice);
                continue;
            }
            for (const auto& voice : parsed[staff]) {
                const auto index = static_cast<std::size_t>(m);
                measure.staves[staff].push_back(index < voice.size() ? voice[index] : Voice{});
            }
        }
    }
    for (const ClefPlan& plan : clefChanges_) {
        const auto staff = score.StaffIndexOfSlot(plan.slot);
        if (!staff || plan.measure < 1 || plan.measure > measures) {
            throw std::invalid_argument("a clef change in measure " + std::to_string(plan.measure) +
                                        ", slot " + std::to_string(plan.slot) +
                                        ", which the score lacks");
        }
        ClefChange change = plan.change;
        change.staff = *staff;
        score.Measures()[static_cast<std::size_t>(plan.measure - 1)].clefChanges.push_back(change);
    }
    return score;
}

void DocumentBuilder::AddPreferences(RecordStore& records) const {
    std::array<std::uint8_t, 36> bytes = preferenceBytes_;
    if (preferences_) preferences_->WriteInto(bytes);
    for (std::size_t block = 0; block < 3; ++block) {
        const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(block * 12);
        records.Put(
            RecordId{kTagSpacingPreferences, kPreferenceItem, static_cast<std::int16_t>(block)},
            StoredRecord{{}, std::vector<std::uint8_t>(begin, begin + 12)});
    }
    records.Put(RecordId{kTagSpacingExtras, kPreferenceItem, 2},
                StoredRecord{{}, std::vector<std::uint8_t>(12, 0)});
}

Document DocumentBuilder::Build() const {
    Score score = BuildScore(measures_);
    RecordStore records;
    AddPreferences(records);
    for (const AllotmentRow& row : allotments_) {
        std::vector<std::uint8_t> bytes(12, 0);
        WriteInt16(bytes.data(), 0, row.width);
        records.Put(RecordId{kTagAllotment, static_cast<std::int16_t>(row.duration), 0},
                    StoredRecord{{}, std::move(bytes)});
    }
    for (std::size_t m = 0; m < score.Measures().size(); ++m) {
        records.Put(RecordId{kTagMeasureRecord, static_cast<std::int16_t>(m + 1), 0},
                    StoredRecord{{}, measureFields_.ToRecord()});
    }
    for (const ExtraRecord& extra : extras_) records.Set(extra.id, extra.record);

    NXRegionRecord selection{};
    if (firstSelected_ != 0 || lastSelected_ != 0) {
        const Staff& top = score.Staves().front();
        const Staff& bottom = score.Staves().back();
        selection =
            NXRegionRecord{top.key,        static_cast<std::uint16_t>(top.slot),
                           firstSelected_, 0,
                           bottom.key,     static_cast<std::uint16_t>(bottom.slot),
                           lastSelected_,  static_cast<std::uint32_t>(measureFields_.Length())};
    }
    return Document(std::move(score), std::move(records), selection, number_);
}

}  // namespace simhost
