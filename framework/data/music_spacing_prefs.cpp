#include "framework/data/music_spacing_prefs.h"

#include "framework/data/byte_fields.h"
#include "framework/data/pref_tag_translation.h"

namespace {

// The extra values live in 'ot94' and 'ot41', item -2, incidence 2.
constexpr std::int16_t kExtrasIncidence = 2;

using ExtraRecord = std::array<std::uint8_t, kSourceRecordSize>;

bool LoadExtraRecord(std::uint32_t tag, ExtraRecord& record) {
    record.fill(0);
    NXRecordKey key{kSourceRecordItem, kExtrasIncidence, {}};
    std::int32_t size = kSourceRecordSize;
    return NX_LoadEData(tag, &key, record.data(), &size, kInterfaceVersion) != 0;
}

bool SaveExtraRecord(std::uint32_t tag, ExtraRecord& record) {
    NXRecordKey key{kSourceRecordItem, kExtrasIncidence, {}};
    return NX_SaveEData(tag, &key, record.data(), kSourceRecordSize, kInterfaceVersion) != 0;
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
    MutableKey().item = item;  // the incidence stays as it is
    if (!LoadCurrent()) return false;

    ExtraRecord record;
    const bool loadedA = LoadExtraRecord(kTagSpacingExtrasA, record);
    if (loadedA) {
        extra1_ = ReadInt16(record.data(), 4);
        extra2_ = ReadInt16(record.data(), 8);  // sign-extended
    }
    const bool loadedB = LoadExtraRecord(kTagSpacingExtrasB, record);
    if (loadedB) {
        extra3_ = ReadInt16(record.data(), 4);
        extra4_ = ReadInt16(record.data(), 6);
    }
    return loadedA && loadedB;
}

bool NCMusicSpacingPrefs::Save() {
    if (LoadedSize() == 0) return false;
    if (NX_SaveEData(DataTag(), &MutableKey(), MutableData(),
                     static_cast<std::int32_t>(LoadedSize()), DataVersion()) == 0) {
        return false;
    }
    // Rewritten after the record itself, which also covers 'ot94' incidence 2.
    ExtraRecord record;
    bool savedA = false;
    if (LoadExtraRecord(kTagSpacingExtrasA, record)) {
        WriteInt16(record.data(), 4, extra1_);
        WriteInt16(record.data(), 8, static_cast<std::int16_t>(extra2_ & 0xFFFF));
        savedA = SaveExtraRecord(kTagSpacingExtrasA, record);
    }
    bool savedB = false;
    if (LoadExtraRecord(kTagSpacingExtrasB, record)) {
        WriteInt16(record.data(), 4, extra3_);
        WriteInt16(record.data(), 6, extra4_);
        savedB = SaveExtraRecord(kTagSpacingExtrasB, record);
    }
    return savedA && savedB;
}
