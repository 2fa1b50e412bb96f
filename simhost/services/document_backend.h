// The substitute host's answers from a real document: records that load, save, create, delete
// and walk; a score with a selection; edits that commit, cancel, undo and redo; and command
// 12106, which respaces the selected music. The dialog services keep HostBackend's defaults,
// so that a backend for windows can derive from this one and add them; every override is
// virtual and not final for that reason, and for tests that want to look in on a call (for
// example at the document while command 12106 runs) before passing it on.
//
// Called by the service layer on the host's UI thread, one call at a time. Nothing here
// throws; a failure is answered with 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simhost/document/document.h"
#include "simhost/document/document_file.h"
#include "simhost/services/host_backend.h"

namespace simhost {

class DocumentBackend : public HostBackend {
public:
    DocumentBackend() = default;
    explicit DocumentBackend(Document document) : document_(std::move(document)) {}

    Document& GetDocument() { return document_; }
    const Document& GetDocument() const { return document_; }
    // Replaces the document (and with it its undo history); false while an edit is open.
    bool ReplaceDocument(Document document);

    std::optional<DocumentFileError> SaveDocumentFile(const std::string& path) const;
    // The document is replaced only when the whole file reads; an open edit refuses it.
    std::optional<DocumentFileError> LoadDocumentFile(const std::string& path);

    std::int32_t RedrawCount() const { return redraws_; }
    // The region of the last NX_RedrawMusic; nothing before the first, or when it passed null.
    const std::optional<NXRegionRecord>& LastRedrawRegion() const { return lastRedraw_; }
    std::int32_t RespaceCount() const { return respaces_; }
    // Commands other than 12106, in the order they came; they do nothing else.
    const std::vector<std::int32_t>& IgnoredCommands() const { return ignoredCommands_; }

    // Records: Document's record services. The size is the capacity in and the bytes loaded
    // out; NX_CreateEData writes the new item number into the key.
    SIMHOST_RECORD_OVERRIDES

    // Selection and document. SlotToInst answers the instrument of the staff in the slot (0:
    // none, or the key names another staff). GetCurERegions fills both regions with the
    // selection and the scratch with 1 when something is selected, else 0.
    std::int16_t SlotToInst(std::int16_t slot, std::int16_t slotKey) override;
    void GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                        NXRegionRecord* second) override;
    void RedrawMusic(NXRegionRecord* region) override;
    std::int16_t GetCurrentOstrinDocument() override { return document_.Number(); }

    // Edits: a start always opens (nested starts count depth), end answers 0 with none open.
    std::int32_t StartEdit(const char16_t* name) override;
    std::int32_t EndEdit() override;
    void CancelEdit() override;
    // 12106 respaces the selection, synchronously, inside whatever edit is open.
    void ExecuteMenuItem(std::int32_t command) override;
    bool EditOpen() const override { return document_.History().IsOpen(); }

private:
    Document document_;
    std::int32_t redraws_ = 0;
    std::optional<NXRegionRecord> lastRedraw_;
    std::int32_t respaces_ = 0;
    std::vector<std::int32_t> ignoredCommands_;
};

}  // namespace simhost
