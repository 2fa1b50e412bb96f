#include "framework/data/music_spacing_prefs.h"

#include <algorithm>
#include <iterator>

#include "framework/data/byte_fields.h"
#include "framework/data/pref_tag_translation.h"

namespace {

// The extra values live in 'ot94' and 'ot41', item -2, incidence 2.
constexpr std::int16_t kExtrasIncidence = 2;

struct ExtraRecord {
    std::array<std::uint8_t, kSourceRecordSize> bytes{};
    // Item and incidence are always the extras' own, whatever the host writes back on load, so
    // that a save never goes to another record; the reserved bytes go back as the host gave them.
    NXRecordKey key{kSourceRecordItem, kExtrasIncidence, {}};
};

// A record the host gives short counts as not loaded: its extra values would be read from bytes
// the host never gave, and written back over the record's own.
bool LoadExtraRecord(std::uint32_t tag, ExtraRecord& record) {
    record = ExtraRecord{};
    NXRecordKey loaded = record.key;
    std::int32_t size = kSourceRecordSize;
    if (NX_LoadEData(tag, &loaded, record.bytes.data(), &size, kInterfaceVersion) == 0 ||
        size < kSourceRecordSize) {
        return false;
    }
    std::copy(std::begin(loaded.reserved), std::end(loaded.reserved), record.key.reserved);
    return true;
}

bool SaveExtraRecord(std::uint32_t tag, ExtraRecord& record) {
    return NX_SaveEData(tag, &record.key, record.bytes.data(), kSourceRecordSize,
                        kInterfaceVersion) != 0;
}

}  // namespace

std::int16_t NCMusicSpacingPrefs::Field16(int offset) const {
    return ReadInt16(buffer_.data(), offset);
}

void NCMusicSpacingPrefs::SetField16(int offset, std::int16_t value) {
    WriteInt16(buffer_.data(), offset, value);
}

std::int32_t NCMusicSpacingPrefs::ScalingFactor() const {
    return ReadInt32(buffer_.data(), kScalingFactorOffset);
}

void NCMusicSpacingPrefs::SetScalingFactor(std::int32_t factor) {
    WriteInt32(buffer_.data(), kScalingFactorOffset, factor);
}

void NCMusicSpacingPrefs::ClearScalingReserved() {
    SetField16(kAfterDurationOffset, 0);
    SetField16(kAfterWidthOffset, 0);
}

void NCMusicSpacingPrefs::CopyFrom(const __NCBaseData* other) {
    const auto* prefs = dynamic_cast<const NCMusicSpacingPrefs*>(other);
    if (prefs == nullptr) return;
    buffer_ = prefs->buffer_;
    extra1_ = prefs->extra1_;
    extra2_ = prefs->extra2_;
    extra3_ = prefs->extra3_;
    extra4_ = prefs->extra4_;
    SetData(buffer_.data());
    SetLoadedSize(kMusicSpacingPrefsSize);
}

bool NCMusicSpacingPrefs::Load(std::int16_t item) {
    const PrefsTransfer transfer = LoadWithReport(item);
    return transfer.answered && transfer.extras;
}

bool NCMusicSpacingPrefs::Save() {
    const PrefsTransfer transfer = SaveWithReport();
    return transfer.answered && transfer.extras;
}

PrefsTransfer NCMusicSpacingPrefs::LoadWithReport(std::int16_t item) {
    PrefsTransfer transfer;
    MutableKey().item = item;  // the incidence stays as it is
    transfer.answered = LoadCurrent(transfer.intact);
    if (!transfer.answered) return transfer;

    ExtraRecord record;
    const bool loadedA = LoadExtraRecord(kTagSpacingExtrasA, record);
    if (loadedA) {
        extra1_ = ReadInt16(record.bytes.data(), 4);
        extra2_ = ReadInt16(record.bytes.data(), 8);  // sign-extended
    }
    const bool loadedB = LoadExtraRecord(kTagSpacingExtrasB, record);
    if (loadedB) {
        extra3_ = ReadInt16(record.bytes.data(), 4);
        extra4_ = ReadInt16(record.bytes.data(), 6);
    }
    transfer.extras = loadedA && loadedB;
    return transfer;
}

PrefsTransfer NCMusicSpacingPrefs::SaveWithReport() {
    PrefsTransfer transfer;
    if (LoadedSize() == 0) return transfer;
    transfer.answered = CheckedSaveEData(DataTag(), &MutableKey(), MutableData(),
                                         static_cast<std::int32_t>(LoadedSize()), DataVersion(),
                                         transfer.intact) != 0;
    if (!transfer.answered) return transfer;
    // Rewritten after the record itself, which also covers 'ot94' incidence 2.
    ExtraRecord record;
    bool savedA = false;
    if (LoadExtraRecord(kTagSpacingExtrasA, record)) {
        WriteInt16(record.bytes.data(), 4, extra1_);
        WriteInt16(record.bytes.data(), 8, static_cast<std::int16_t>(extra2_ & 0xFFFF));
        savedA = SaveExtraRecord(kTagSpacingExtrasA, record);
    }
    bool savedB = false;
    if (LoadExtraRecord(kTagSpacingExtrasB, record)) {
        WriteInt16(record.bytes.data(), 4, extra3_);
        WriteInt16(record.bytes.data(), 6, extra4_);
        savedB = SaveExtraRecord(kTagSpacingExtrasB, record);
    }
    transfer.extras = savedA && savedB;
    return transfer;
}
