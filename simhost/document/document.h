// One open document of the substitute host: its score, its selection and its records, with the
// record services' semantics and an undo history over every record change. Reads never change
// anything; every write goes through Write, so that the history sees it.
//
// All of it runs on the host's UI thread; a plug-in call reaches it synchronously through the
// DocumentBackend. Nothing here throws: failures are answered with false.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/services/nx_types.h"
#include "simhost/document/edit_history.h"
#include "simhost/document/measure_record.h"
#include "simhost/document/record_store.h"
#include "simhost/document/score.h"

namespace simhost {

// The largest record a save accepts; the host's own records are far smaller.
constexpr std::int32_t kMaxRecordBytes = 65536;

class Document {
public:
    Document() = default;
    // The records are the document's state from which undo starts; none of them is journalled.
    Document(Score score, RecordStore records, const NXRegionRecord& selection,
             std::int16_t number = 1);

    const Score& GetScore() const { return score_; }
    const RecordStore& Records() const { return records_; }
    const EditHistory& History() const { return history_; }
    std::int16_t Number() const { return number_; }

    // Start and end measure 0 mean that nothing is selected.
    const NXRegionRecord& Selection() const { return selection_; }
    bool HasSelection() const { return selection_.startMeasure != 0 || selection_.endMeasure != 0; }
    void SetSelection(const NXRegionRecord& selection) { selection_ = selection; }

    // The record services, as the host answers them. A key names a record by item number and
    // incidence; its reserved bytes are stored with the record on every write and given back
    // on every load and walk. Tags with more than one layout ('SOMS') accept only the data
    // versions they have a layout for. Null pointers fail.
    //
    // Load fills at most *size bytes (the capacity) and stores there how many it filled; with
    // a null buffer it only stores the record's size.
    bool LoadRecord(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                    std::uint32_t version) const {
        if (key == nullptr || size == nullptr) return false;
        // Most loads are probes of absent records: the lookup alone answers them. What only a
        // found record needs waits in memory, so that the lookup has the registers.
        const LoadRequest request{tag, key, buffer, size, version};
        const StoredRecord* record = records_.Find(RecordId{tag, key->item, key->incidence});
        return record != nullptr && LoadFound(*record, request);
    }
    // Replaces the record, or creates it when it does not exist yet.
    bool SaveRecord(std::uint32_t tag, const NXRecordKey* key, const void* buffer,
                    std::int32_t size, std::uint32_t version);
    // Creates a record under a fresh item number (incidence 0) and writes that into the key.
    bool CreateRecord(std::uint32_t tag, NXRecordKey* key, const void* buffer, std::int32_t size,
                      std::uint32_t version);
    bool DeleteRecord(std::uint32_t tag, const NXRecordKey* key);
    // Advances the key to the next record of the same tag; false, key untouched, at the end.
    bool NextRecord(std::uint32_t tag, NXRecordKey* key) const;

    // A change in the host's own name (a command's), journalled like the services' changes.
    // Nothing: the record is removed. Writing what is already there notes nothing.
    void Write(const RecordId& id, std::optional<StoredRecord> record);

    // The measure record of a measure number, as stored.
    std::optional<MeasureFields> MeasureRecord(std::int16_t number) const;

    // Edits: see EditHistory.
    bool StartEdit(std::u16string name);
    bool EndEdit();
    bool CancelEdit();
    bool Undo();
    bool Redo();

    // The same score, records, selection and number; the histories are not compared.
    bool SameContentAs(const Document& other) const;

private:
    struct LoadRequest {
        std::uint32_t tag;
        NXRecordKey* key;
        void* buffer;
        std::int32_t* size;
        std::uint32_t version;
    };
    bool LoadFound(const StoredRecord& record, const LoadRequest& request) const;

    Score score_;
    RecordStore records_;
    NXRegionRecord selection_{};
    std::int16_t number_ = 1;
    EditHistory history_;
};

bool SameRegion(const NXRegionRecord& a, const NXRegionRecord& b);

}  // namespace simhost
