// The host of the fuzz target: a real document with the headless dialogs, whose every answer
// may instead come from the fuzz input. A policy, read once from the input's script, says per
// service whether it answers honestly, refuses, claims success without acting, acts and denies
// it, or draws one of those per call from the input's answer bytes; sizes, keys, record bytes,
// regions, dialog strings and values are drawn the same way. When the answer bytes run out,
// every drawn answer is the honest one, so every call stays cheap and every run ends.
//
// A host that claims every load makes the allotment scan collect a record at each of the 65536
// item numbers, and the collection, growing in steps of 10, copies itself quadratically: about a
// second a run natively, over twenty in this build. The hostile tests cover that host; here a
// session makes up at most kMaxClaimedLoads records and refuses the loads after them, so that no
// input runs into the time limit for that known cost.
#pragma once

#include <cstdint>
#include <vector>

#include "simhost/headless/headless_dialogs.h"
#include "simhost/services/document_backend.h"
#include "tests/fuzz/fuzz_reader.h"

namespace quorfuzz {

constexpr std::int32_t kMaxClaimedLoads = 512;

enum class Mode : std::uint8_t { Honest, Refuse, ClaimOnly, DenyDone, Drawn };

struct HostPolicy {
    Mode loads = Mode::Honest;
    Mode saves = Mode::Honest;
    Mode creates = Mode::Honest;
    Mode deletes = Mode::Honest;
    Mode nexts = Mode::Honest;
    Mode starts = Mode::Honest;
    Mode ends = Mode::Honest;
    // The rest either answer honestly or draw their answer from the input.
    bool drawSizes = false;
    bool drawKeys = false;
    bool drawRegions = false;
    bool drawStrings = false;
    bool drawValues = false;
    bool drawCurrentWindow = false;
    // At the start of its services the host may call back into the module, as a host can: an
    // entry point, or a message for the dialog, drawn per call.
    bool callBack = false;

    static HostPolicy Read(FuzzReader& script);
};

// How many calls back into the module the hosts of this process have made.
std::uint64_t CallsBack();

class FuzzedHost : public simhost::DocumentBackend {
public:
    FuzzedHost(simhost::headless::HeadlessDialogs& dialogs, simhost::Document document,
               HostPolicy policy, FuzzReader answers);

    std::int16_t LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                           std::uint32_t version) override;
    std::int16_t SaveEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                           std::int32_t size, std::uint32_t version) override;
    std::int16_t CreateEData(std::uint32_t tag, NXRecordKey* key, const void* buffer,
                             std::int32_t size, std::uint32_t version) override;
    std::int16_t DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override;
    std::int16_t NextEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) override;

    std::int16_t SlotToInst(std::int16_t slot, std::int16_t slotKey) override;
    void GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                        NXRegionRecord* second) override;
    std::int16_t GetCurrentOstrinDocument() override;
    std::int32_t StartEdit(const char16_t* name) override;
    std::int32_t EndEdit() override;
    void ExecuteMenuItem(std::int32_t command) override;

    void Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
                void* user) override;
    void EndDialog(HWND dialog) override;
    void EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) override;
    std::int32_t GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) override;
    void SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                       std::int32_t value) override;
    void GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity) override;
    void GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                           std::int32_t capacity) override;
    void SetDlgString(HWND dialog, std::int32_t item, const char* text) override;
    void SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) override;
    HWND GetCurrentWindow() override;

    // Ends every dialog NX_Dialog opened that is still on screen, as a host does once the
    // plug-in is terminated: without NX_EndDialog a closed dialog stays behind.
    void EndOpenedDialogs();

    // Whether the host has ever left its edit open when asked to end it (refused, or claimed
    // to without doing it). Until it has, and while it has the services that end and cancel an
    // edit, an edit still open is the module's doing.
    bool IgnoredAnEnd() const { return ignoredEnd_; }

private:
    // The mode of this call: a Drawn policy draws one of the four others.
    Mode ModeOf(Mode policy);
    template <typename Result, typename Work>
    Result Answered(Mode policy, Work&& work);
    void BendKey(NXRecordKey& key);
    template <typename Unit>
    void FillString(Unit* buffer, std::int32_t capacity);
    // Draws whether to call back into the module here, and makes the call. Nesting and the
    // number of calls in one session are bounded, so that every session ends.
    void MaybeCallBack();

    simhost::headless::HeadlessDialogs& dialogs_;
    HostPolicy policy_;
    FuzzReader answers_;
    std::vector<HWND> opened_;
    std::int32_t claimedLoads_ = 0;
    std::int32_t callBackDepth_ = 0;
    std::int32_t callsBack_ = 0;
    bool ignoredEnd_ = false;
};

}  // namespace quorfuzz
