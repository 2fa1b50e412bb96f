// One measure record of the host document, and the measures of a region. The system reads
// and writes one field, the width, so that "Fixed Barlines" can put every barline back where
// it was after a respacing.
#pragma once

#include <array>
#include <cstdint>

#include "framework/data/collection_data.h"
#include "framework/data/music_region.h"

constexpr std::uint32_t kTagMeasure = MakeTag("SOMS");
// Hosts before kFirstLongMeasureHostVersion exchange the 26-byte layout.
constexpr std::uint32_t kMeasureVersionShort = 0x0A000000;
constexpr std::uint32_t kMeasureVersionLong = 0x12000000;
constexpr std::uint32_t kMeasureSizeShort = 26;
constexpr std::uint32_t kMeasureSizeLong = 30;

class NCMeasure : public __NCNoInciOther {
public:
    const char* TypeName() const override { return "NCMeasure"; }
    // The image that matches the running host's layout, read anew each time.
    std::uint8_t* DataBuffer() override;
    __NCBaseData* CreateObject() const override { return new NCMeasure; }
    std::uint32_t DataTag() const override { return kTagMeasure; }
    std::uint32_t DataVersion() const override;
    std::uint32_t DataSize() const override;
    void CopyFrom(const __NCBaseData* other) override;
    bool Save() override { return __NCNoInciOther::Save(); }
    // Measure 0 does not exist: refused without asking the host.
    bool Load(std::int16_t item) override;

    std::int16_t Width() const;
    // Takes effect in the document at the next Save().
    void SetWidth(std::int16_t width);

private:
    const std::uint8_t* Image() const;

    std::array<std::uint8_t, kMeasureSizeShort> shortImage_{};
    std::array<std::uint8_t, kMeasureSizeLong> longImage_{};
};

class NCMeasures : public __NCCollectionNoInciOther {
public:
    const char* TypeName() const override { return "NCMeasures"; }
    __NCBaseData* CreateElement() const override { return new NCMeasure; }

    // Holds the region's measures that load, in ascending measure number.
    void LoadRegion(const NCMusicRegion& region);
    // The same, telling through `whole` whether every measure that loaded came whole.
    void LoadRegion(const NCMusicRegion& region, bool& whole);

    NCMeasure* MeasureAt(std::int32_t index) const {
        return static_cast<NCMeasure*>(RecordAt(index));
    }
};
