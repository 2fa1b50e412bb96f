#include "framework/data/allotment.h"

#include <algorithm>

#include "framework/data/byte_fields.h"
#include "framework/data/pref_tag_translation.h"
#include "host/services/nx_services.h"

// The scan's probes go to the host's load as they are, which is what the record layer's load
// does with every tag outside the preference translation.
static_assert(!MayBeTranslated(kTagAllotment));

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

namespace {

// Answers for the host's load when the host lacks it: every probe fails, as the binding would.
std::int16_t WINAPI NoRecord(std::uint32_t /*tag*/, NXRecordKey* /*key*/, void* /*buffer*/,
                             std::int32_t* /*size*/, std::uint32_t /*version*/) {
    return 0;
}

}  // namespace

// Inlined into the scan's loop: a probe is the key, the capacity and the call.
[[gnu::always_inline]] inline bool NCAllotment::Probe(nxsig::LoadEData load, std::int16_t item) {
    // As Load(item): the key names (item, 0), its reserved bytes kept; at most the record's 12
    // bytes are loaded into the own buffer, where the data always points.
    NXRecordKey& key = MutableKey();
    key.item = item;
    key.incidence = 0;
    auto size = static_cast<std::int32_t>(kAllotmentSize);
    if (load(kTagAllotment, &key, buffer_.data(), &size, kAllotmentVersion) == 0) return false;
    // A report beyond the buffer must not let a later save send bytes past it.
    SetLoadedSize(static_cast<std::uint32_t>(
        std::clamp<std::int32_t>(size, 0, static_cast<std::int32_t>(kAllotmentSize))));
    return true;
}

bool NCAllotment::ProbeFrom(std::uint32_t first) {
    // The binding is read once for the whole scan, and a failed probe leaves nothing loaded.
    const nxsig::LoadEData bound = nx::Bound<nx::Service::LoadEData>();
    const nxsig::LoadEData load = bound != nullptr ? bound : &NoRecord;
    SetLoadedSize(0);
    std::uint32_t item = first;
    for (; item <= kLastProbedDuration; ++item) {
        if (Probe(load, static_cast<std::int16_t>(item))) return true;
    }
    // Above kLastProbedDuration a failed probe ends the scan. Item numbers are the host's
    // unsigned 16 bits; the scan never wraps back to 0, which on a document holding a record at
    // every number would never end.
    return item <= 0xFFFF && Probe(load, static_cast<std::int16_t>(item));
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

bool DeleteAllAllotments() {
    NCAllotments allotments;
    allotments.LoadAll();
    bool deleted = true;
    for (std::int32_t i = 0; i < allotments.Count(); ++i) {
        if (NCAllotment* allotment = allotments.AllotmentAt(i)) {
            deleted = allotment->DeleteData() && deleted;
        }
    }
    return deleted;
}
