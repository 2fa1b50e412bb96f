#include "framework/data/allotment.h"

#include <algorithm>

#include "framework/data/byte_fields.h"

NCAllotment::NCAllotment() {
    SetData(buffer_.data());
    SetLoadedSize(kAllotmentSize);
}

void NCAllotment::CopyFrom(const __NCBaseData* other) {
    const auto* allotment = dynamic_cast<const NCAllotment*>(other);
    if (allotment == nullptr) return;
    buffer_ = allotment->buffer_;
    SetData(buffer_.data());
    SetLoadedSize(kAllotmentSize);
}

bool NCAllotment::ProbeFrom(std::uint32_t first) {
    // Item numbers are the host's unsigned 16 bits; the scan never wraps back to 0, which on a
    // document holding a record at every number would never end.
    for (std::uint32_t item = first; item <= 0xFFFF; ++item) {
        if (Load(static_cast<std::int16_t>(item))) return true;
        if (item > kLastProbedDuration) return false;
    }
    return false;
}

bool NCAllotment::LoadFirst() { return ProbeFrom(0); }

bool NCAllotment::LoadNext() { return ProbeFrom(static_cast<std::uint16_t>(ItemNo()) + 1u); }

std::int16_t NCAllotment::Width() const { return ReadInt16(buffer_.data(), 0); }

void NCAllotment::SetWidth(std::int16_t width) { WriteInt16(buffer_.data(), 0, width); }

bool WriteAllotment(std::int16_t duration, std::int16_t width) {
    NCAllotment allotment;
    allotment.MutableKey().item = duration;
    allotment.MutableKey().incidence = 0;
    allotment.SetWidth(width);
    return allotment.Save();
}

void DeleteAllAllotments() {
    NCAllotments allotments;
    allotments.LoadAll();
    for (std::int32_t i = 0; i < allotments.Count(); ++i) {
        if (NCAllotment* allotment = allotments.AllotmentAt(i)) allotment->DeleteData();
    }
}
