// A host that answers badly on purpose: a real document (records, edits, the respacing command)
// with the headless dialogs, where each record and edit service can be told to refuse, to claim
// a success it did not earn, or to do the work and deny it; where load sizes, walked and created
// keys, the selection and dialog strings can be bent. Left alone it answers as the document host
// does. Local to these tests, so that its knobs can follow what they need.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "simhost/headless/headless_dialogs.h"
#include "simhost/services/dialog_backend.h"
#include "simhost/services/document_backend.h"

namespace hostile {

// How a service answers a call.
enum class Answer {
    Honest,     // does what it is asked and says so
    Refuse,     // does nothing and answers 0
    ClaimOnly,  // does nothing and answers success
    DenyDone,   // does the work and answers 0
};

class HostileHost : public simhost::WithHeadlessDialogs<simhost::DocumentBackend> {
public:
    HostileHost(simhost::headless::HeadlessDialogs& dialogs, simhost::Document document);

    Answer loads = Answer::Honest;
    Answer saves = Answer::Honest;
    Answer creates = Answer::Honest;
    Answer deletes = Answer::Honest;
    Answer nexts = Answer::Honest;
    Answer starts = Answer::Honest;
    Answer ends = Answer::Honest;
    // The size a successful load of `tag` reports, from the capacity asked for and the bytes
    // filled.
    std::function<std::int32_t(std::uint32_t tag, std::int32_t capacity, std::int32_t filled)>
        reportSize;
    // Saves it answers true for are refused, whatever `saves` says.
    std::function<bool(std::uint32_t tag, const NXRecordKey& key)> refuseSave;
    // Rewrite the key after NX_NextEData or NX_CreateEData has answered.
    std::function<void(NXRecordKey& key)> rewriteNextKey;
    std::function<void(NXRecordKey& key)> rewriteCreateKey;
    // What NX_GetCurERegions puts in both regions, one entry per call, the last one repeating.
    // Empty: the document's selection.
    std::vector<NXRegionRecord> regions;
    // NX_GetDlgString and NX_GetDlgString_UTF16 fill the whole buffer and write no terminator.
    bool unterminatedStrings = false;
    // Called as NX_LoadEData, NX_SaveEData (with their tag), NX_ExecuteMenuItem,
    // NX_SetDlgString_UTF16 and NX_EndDialog start, before they answer: where a host may call back
    // into the module, with an entry point or a message for the dialog, or throw.
    std::function<void(std::string_view service, std::uint32_t tag)> onCall;

    // Records.
    std::int16_t LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                           std::uint32_t version) override;
    std::int16_t SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                           std::int32_t size, std::uint32_t version) override;
    std::int16_t CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                             std::int32_t size, std::uint32_t version) override;
    std::int16_t DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override;
    std::int16_t NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override;

    // Selection and edits.
    void GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                        NXRegionRecord* second) override;
    std::int32_t StartEdit(const char16_t* name) override;
    std::int32_t EndEdit() override;
    void ExecuteMenuItem(std::int32_t command) override;

    // Dialogs, answered by the headless dialogs; these few look in on the call first.
    void Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
                void* user) override;
    void GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity) override;
    void GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                           std::int32_t capacity) override;
    void SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) override;
    void EndDialog(HWND dialog) override;

    // Ends every dialog NX_Dialog opened that is still on screen, as a host does once the
    // plug-in is terminated: without NX_EndDialog a closed dialog stays behind.
    void EndOpenedDialogs();
    std::int32_t DialogsOpened() const { return static_cast<std::int32_t>(opened_.size()); }

private:
    simhost::headless::HeadlessDialogs& dialogs_;
    std::vector<HWND> opened_;
    std::size_t regionCalls_ = 0;
};

}  // namespace hostile
