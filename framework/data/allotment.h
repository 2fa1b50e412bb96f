// The document's allotment table: one record per note duration, giving the horizontal width
// the host allots to it.
#pragma once

#include <array>
#include <cstdint>

#include "framework/data/collection_data.h"
#include "host/services/nx_service_list.h"

constexpr std::uint32_t kTagAllotment = MakeTag("otDA");
constexpr std::uint32_t kAllotmentVersion = 0x12050000;
constexpr std::uint32_t kAllotmentSize = 12;
// The scan probes every item number up to here, then goes on only while records follow.
constexpr std::uint16_t kLastProbedDuration = 8192;

class NCAllotment final : public __NCNoInciOther {
public:
    // Ready to save from the start: a zero width and zero bytes after it.
    NCAllotment();

    const char* TypeName() const override { return "NCAllotment"; }
    std::uint8_t* DataBuffer() override { return buffer_.data(); }
    __NCBaseData* CreateObject() const override { return new NCAllotment; }
    std::uint32_t DataTag() const override { return kTagAllotment; }
    std::uint32_t DataVersion() const override { return kAllotmentVersion; }
    std::uint32_t DataSize() const override { return kAllotmentSize; }
    void CopyFrom(const __NCBaseData* other) override;
    // The allotment scan: probes item numbers upward from 0 (or from the one after this
    // record's), each once.
    bool LoadFirst() override;
    bool LoadNext() override;

    std::int16_t Width() const;
    void SetWidth(std::int16_t width);

private:
    // Probes from `first` upward; true at the first record found, false once a probe above
    // kLastProbedDuration fails or the item numbers run out.
    bool ProbeFrom(std::uint32_t first);
    // One probe through the host's load: what Load(item) does for this class, without the
    // virtual calls of the generic load, since the scan makes thousands of them per run. A
    // failed probe leaves the loaded size as it was.
    bool Probe(nxsig::LoadEData load, std::int16_t item);

    std::array<std::uint8_t, kAllotmentSize> buffer_{};
};

class NCAllotments final : public __NCCollectionNoInciOther {
public:
    const char* TypeName() const override { return "NCAllotments"; }
    __NCBaseData* CreateElement() const override { return new NCAllotment; }

    NCAllotment* AllotmentAt(std::int32_t index) const {
        return static_cast<NCAllotment*>(RecordAt(index));
    }
};

// Writes one allotment: the width for a duration, every other byte 0. The host creates the
// record when there is none for that duration.
bool WriteAllotment(std::int16_t duration, std::int16_t width);

// Deletes every allotment record of the document, asking for each one even after a refusal.
// False when the host refused any: an old row it kept would stand beside the rows written next.
bool DeleteAllAllotments();
