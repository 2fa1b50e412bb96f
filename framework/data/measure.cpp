#include "framework/data/measure.h"

#include <algorithm>

#include "framework/data/byte_fields.h"
#include "host/services/host_version.h"

std::uint8_t* NCMeasure::DataBuffer() {
    return HostUsesLongMeasures() ? longImage_.data() : shortImage_.data();
}

const std::uint8_t* NCMeasure::Image() const {
    return HostUsesLongMeasures() ? longImage_.data() : shortImage_.data();
}

std::uint32_t NCMeasure::DataVersion() const {
    return HostUsesLongMeasures() ? kMeasureVersionLong : kMeasureVersionShort;
}

std::uint32_t NCMeasure::DataSize() const {
    return HostUsesLongMeasures() ? kMeasureSizeLong : kMeasureSizeShort;
}

void NCMeasure::CopyFrom(const __NCBaseData* other) {
    const auto* measure = dynamic_cast<const NCMeasure*>(other);
    if (measure == nullptr) return;
    std::copy_n(measure->Image(), DataSize(), DataBuffer());
    SetData(DataBuffer());
    SetLoadedSize(DataSize());
}

bool NCMeasure::Load(std::int16_t item) {
    if (item == 0) return false;
    return __NCNoInciOther::Load(item);
}

std::int16_t NCMeasure::Width() const { return ReadInt16(Image(), 0); }

void NCMeasure::SetWidth(std::int16_t width) { WriteInt16(DataBuffer(), 0, width); }

void NCMeasures::LoadRegion(const NCMusicRegion& region) {
    bool whole = true;
    LoadRegion(region, whole);
}

void NCMeasures::LoadRegion(const NCMusicRegion& region, bool& whole) {
    LoadItemRange(region.StartMeasure(), region.EndMeasure(), whole);
}
