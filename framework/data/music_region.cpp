#include "framework/data/music_region.h"

#include "host/services/nx_services.h"

void NCMusicRegion::CaptureSelection() {
    std::int32_t scratch = 0;
    NXRegionRecord selection{};
    NXRegionRecord unused{};
    NX_GetCurERegions(&scratch, &selection, &unused);
    region_ = selection;
    document_ = NX_GetCurrentOstrinDocument();
}

bool NCMusicRegion::IsSameRegion(const NCMusicRegion* other) const {
    if (other == nullptr) return false;
    const NXRegionRecord& a = region_;
    const NXRegionRecord& b = other->region_;
    if (a.startSlotKey != b.startSlotKey) return false;
    const auto instrument = [](std::uint16_t slot, std::uint16_t key) {
        return static_cast<std::uint16_t>(
            NX_SlotToInst(static_cast<std::int16_t>(slot), static_cast<std::int16_t>(key)));
    };
    if (instrument(a.startSlot, a.startSlotKey) != instrument(b.startSlot, b.startSlotKey)) {
        return false;
    }
    if (instrument(a.endSlot, a.endSlotKey) != instrument(b.endSlot, b.endSlotKey)) return false;
    return StartMeasure() == other->StartMeasure() && EndMeasure() == other->EndMeasure() &&
           a.startPosition == b.startPosition && a.endPosition == b.endPosition;
}
