// A copy of the host's current selection and the current document's number, taken at the
// start of each spacing run.
#pragma once

#include <cstdint>

#include "framework/core/nc_base.h"
#include "host/services/nx_types.h"

class NCMusicRegion : public __NCBase {
public:
    const char* TypeName() const override { return "NCMusicRegion"; }
    // Same staves (by instrument, not slot), measures and positions; the document takes no
    // part.
    virtual bool IsSameRegion(const NCMusicRegion* other) const;

    // Copies the host's selection (the first region NX_GetCurERegions fills) and asks for the
    // current document.
    void CaptureSelection();

    bool IsEmpty() const { return region_.startMeasure == 0 && region_.endMeasure == 0; }
    std::int16_t StartMeasure() const { return IsEmpty() ? 0 : region_.startMeasure; }
    std::int16_t EndMeasure() const { return IsEmpty() ? 0 : region_.endMeasure; }
    std::int16_t Document() const { return document_; }
    const NXRegionRecord& Region() const { return region_; }

private:
    NXRegionRecord region_{};
    std::int16_t document_ = 0;
};

// Whether a region record selects nothing (start and end measure both 0).
inline bool IsEmptyRegion(const NXRegionRecord& region) {
    return region.startMeasure == 0 && region.endMeasure == 0;
}
