// The document's music spacing preferences: whether the host spaces notes by the allotment
// table or by scaling, and the scaling parameters. Four extra values travel with the record in
// two neighbouring 12-byte records and are written back as they were loaded.
#pragma once

#include <array>
#include <cstdint>

#include "framework/data/base_data.h"

constexpr std::uint32_t kTagMusicSpacingPrefs = MakeTag("pfSP");
constexpr std::uint32_t kMusicSpacingPrefsVersion = 0x12050000;
constexpr std::uint32_t kMusicSpacingPrefsSize = 36;
constexpr std::uint32_t kTagSpacingExtrasA = MakeTag("ot94");
constexpr std::uint32_t kTagSpacingExtrasB = MakeTag("ot41");

// How far one load or save of the preferences got.
struct PrefsTransfer {
    bool answered = false;  // the host answered the 36-byte record's call with success
    bool intact = false;    // and gave or took every one of the record's source records
    bool extras = false;    // both extra records were loaded (for a save: and saved)
};

class NCMusicSpacingPrefs : public __NCPrefsBase {
public:
    const char* TypeName() const override { return "NCMusicSpacingPrefs"; }
    std::uint8_t* DataBuffer() override { return buffer_.data(); }
    __NCBaseData* CreateObject() const override { return new NCMusicSpacingPrefs; }
    std::uint32_t DataTag() const override { return kTagMusicSpacingPrefs; }
    std::uint32_t DataVersion() const override { return kMusicSpacingPrefsVersion; }
    std::uint32_t DataSize() const override { return kMusicSpacingPrefsSize; }
    void CopyFrom(const __NCBaseData* other) override;
    // Saves the record, then the extra values into their records. True only when the record
    // and both extra records were saved.
    bool Save() override;
    // Loads the record and the extra values. False when the record or either extra record
    // could not be loaded; the record stays loaded in the latter case.
    bool Load(std::int16_t item) override;
    // Load and Save, with all they reached. A spacing run needs to know that the record itself
    // came or went whole, which their answers do not tell.
    PrefsTransfer LoadWithReport(std::int16_t item);
    PrefsTransfer SaveWithReport();

    // 1: notes are spaced by the allotment records; 0: by scaling.
    std::int16_t AllotmentFlag() const { return Field16(kAllotmentFlagOffset); }
    void SetAllotmentFlag(std::int16_t flag) { SetField16(kAllotmentFlagOffset, flag); }
    std::int16_t ReferenceDuration() const { return Field16(kReferenceDurationOffset); }
    void SetReferenceDuration(std::int16_t duration) {
        SetField16(kReferenceDurationOffset, duration);
    }
    std::int16_t ReferenceWidth() const { return Field16(kReferenceWidthOffset); }
    void SetReferenceWidth(std::int16_t width) { SetField16(kReferenceWidthOffset, width); }
    // The scaling ratio times 10000.
    std::int32_t ScalingFactor() const;
    void SetScalingFactor(std::int32_t factor);
    // Scaling clears the words after the reference duration and after the reference width.
    void ClearScalingReserved();

    std::int16_t Extra1() const { return extra1_; }
    std::int32_t Extra2() const { return extra2_; }
    std::int16_t Extra3() const { return extra3_; }
    std::int16_t Extra4() const { return extra4_; }

private:
    static constexpr int kAllotmentFlagOffset = 12;
    static constexpr int kReferenceDurationOffset = 14;
    static constexpr int kAfterDurationOffset = 16;
    static constexpr int kReferenceWidthOffset = 18;
    static constexpr int kAfterWidthOffset = 20;
    static constexpr int kScalingFactorOffset = 22;

    std::int16_t Field16(int offset) const;
    void SetField16(int offset, std::int16_t value);

    std::int16_t extra1_ = 0;
    std::int32_t extra2_ = 0;
    std::int16_t extra3_ = 0;
    std::int16_t extra4_ = 0;
    std::array<std::uint8_t, kMusicSpacingPrefsSize> buffer_{};
};
