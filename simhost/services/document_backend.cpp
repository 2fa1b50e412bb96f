#include "simhost/services/document_backend.h"

#include <utility>

#include "simhost/document/respacer.h"

namespace simhost {

bool DocumentBackend::ReplaceDocument(Document document) {
    if (document_.History().IsOpen()) return false;
    document_ = std::move(document);
    return true;
}

std::optional<DocumentFileError> DocumentBackend::SaveDocumentFile(const std::string& path) const {
    return WriteDocumentFile(document_, path);
}

std::optional<DocumentFileError> DocumentBackend::LoadDocumentFile(const std::string& path) {
    if (document_.History().IsOpen()) {
        return DocumentFileError{path, 0, "cannot be loaded while an edit is open"};
    }
    ParsedDocument parsed = ReadDocumentFile(path);
    if (!parsed.document) return parsed.error;
    document_ = std::move(*parsed.document);
    return std::nullopt;
}

std::int16_t DocumentBackend::LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                        std::int32_t* size, std::uint32_t version) {
    return document_.LoadRecord(tag, key, buffer, size, version) ? 1 : 0;
}

std::int16_t DocumentBackend::SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                        std::int32_t size, std::uint32_t version) {
    const bool measure = tag == kTagMeasureRecord && key != nullptr && key->incidence == 0;
    const std::optional<MeasureFields> previous =
        measure ? document_.MeasureRecord(key->item) : std::nullopt;
    if (!document_.SaveRecord(tag, key, buffer, size, version)) return 0;
    // The host refits the notes of a measure whose width a plug-in changes.
    if (previous) Respacer(document_).FitToWidth(key->item, previous->width);
    return 1;
}

std::int16_t DocumentBackend::CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                                          std::int32_t size, std::uint32_t version) {
    return document_.CreateRecord(tag, key, buffer, size, version) ? 1 : 0;
}

std::int16_t DocumentBackend::DeleteEData(std::uint32_t tag, NXRecordKey* key,
                                          std::uint32_t /*version*/) {
    return document_.DeleteRecord(tag, key) ? 1 : 0;
}

std::int16_t DocumentBackend::NextEData(std::uint32_t tag, NXRecordKey* key,
                                        std::uint32_t /*version*/) {
    return document_.NextRecord(tag, key) ? 1 : 0;
}

std::int16_t DocumentBackend::SlotToInst(std::int16_t slot, std::int16_t slotKey) {
    const Staff* staff =
        document_.GetScore().StaffInSlot(slot, static_cast<std::uint16_t>(slotKey));
    return staff ? staff->instrument : 0;
}

void DocumentBackend::GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                                     NXRegionRecord* second) {
    if (scratch) *scratch = document_.HasSelection() ? 1 : 0;
    if (first) *first = document_.Selection();
    if (second) *second = document_.Selection();
}

void DocumentBackend::RedrawMusic(NXRegionRecord* region) {
    ++redraws_;
    if (region) {
        lastRedraw_ = *region;
    } else {
        lastRedraw_.reset();
    }
}

std::int32_t DocumentBackend::StartEdit(const char16_t* name) {
    return document_.StartEdit(name ? std::u16string(name) : std::u16string()) ? 1 : 0;
}

std::int32_t DocumentBackend::EndEdit() { return document_.EndEdit() ? 1 : 0; }

void DocumentBackend::CancelEdit() { document_.CancelEdit(); }

void DocumentBackend::ExecuteMenuItem(std::int32_t command) {
    if (command != kRespaceSelectionCommand) {
        ignoredCommands_.push_back(command);
        return;
    }
    ++respaces_;
    Respacer(document_).RespaceSelection();
}

}  // namespace simhost
