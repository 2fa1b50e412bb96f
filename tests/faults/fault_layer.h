// A host that answers badly on purpose, over any backend that answers well: the record tests'
// in-memory records or the document host. Every service goes to the backend through this layer,
// which may refuse it, claim a success it did not earn, do the work and deny it, bend the sizes,
// keys, regions and strings of its answers, lack it altogether or call back into the module
// first. Its answers may also be drawn from a fuzz input. Left alone it passes every call on as
// it came, at the cost of a counter and a few tests per call, so that walks over every item
// number stay cheap.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "host/services/nx_service_list.h"
#include "simhost/services/host_backend.h"
#include "tests/faults/fuzz_reader.h"

namespace simhost::headless {
class HeadlessDialogs;
}

namespace quorfaults {

// How a service answers a call. Drawn takes one of the four others from the fuzz input per call.
enum class Answer : std::uint8_t {
    Honest,     // does what it is asked and says so
    Refuse,     // does nothing and answers 0
    ClaimOnly,  // does nothing and answers success
    DenyDone,   // does the work and answers 0
    Drawn,
};

// A record: tag, item number, incidence.
using RecordId = std::tuple<std::uint32_t, std::int16_t, std::int16_t>;

// Which of the answers without a policy of their own are drawn from the fuzz input.
struct Draws {
    bool sizes = false;          // the size a load reports
    bool keys = false;           // the key after NX_NextEData and NX_CreateEData
    bool regions = false;        // both regions and the scratch of NX_GetCurERegions
    bool strings = false;        // the dialog strings read, terminated or not
    bool values = false;         // instruments, the document number, item values; ignored ends
    bool currentWindow = false;  // none, the main window, the open dialog or the honest one
};

// A reportSize that reports `size` whatever was asked or filled.
inline auto Reports(std::int32_t size) {
    return [size](std::uint32_t, std::int32_t, std::int32_t) { return size; };
}

class FaultLayer : public simhost::HostBackend {
public:
    // The dialogs, when given, let the layer keep the dialogs NX_Dialog opened and draw the
    // current window among theirs.
    explicit FaultLayer(simhost::HostBackend& inner,
                        simhost::headless::HeadlessDialogs* dialogs = nullptr);

    // Per call of a record or edit service.
    Answer loads = Answer::Honest;
    Answer saves = Answer::Honest;
    Answer creates = Answer::Honest;
    Answer deletes = Answer::Honest;
    Answer nexts = Answer::Honest;
    Answer starts = Answer::Honest;
    Answer ends = Answer::Honest;
    // Per record: these are refused whatever the policy says.
    std::set<RecordId> refusedLoads;
    std::set<RecordId> refusedSaves;
    std::set<RecordId> refusedDeletes;
    // Loads claimed without data after this many are refused: a host claiming every probe makes
    // a walk of 65536 records, which a fuzz input need not pay for more than once.
    std::uint32_t mostClaimedLoads = std::numeric_limits<std::uint32_t>::max();
    // The size a successful load reports, from the capacity asked for and the bytes filled; a
    // record of reportedSizes reports its own. A load delivers no more than it reports.
    std::function<std::int32_t(std::uint32_t tag, std::int32_t capacity, std::int32_t filled)>
        reportSize;
    std::map<RecordId, std::int32_t> reportedSizes;
    // Rewrites the key once NX_NextEData or NX_CreateEData has answered, or once NX_LoadEData
    // has answered success.
    std::function<void(nx::Service service, std::uint32_t tag, NXRecordKey& key)> rewriteKey;
    // What NX_GetCurERegions puts in both regions, one entry per call, the last one repeating.
    // Empty: the backend's selection.
    std::vector<NXRegionRecord> regions;
    // NX_GetDlgString and NX_GetDlgString_UTF16 fill the whole buffer and write no terminator.
    bool unterminatedStrings = false;
    // Services the host lacks: their lookup by name fails.
    std::set<nx::Service> missing;
    // Called as every service starts, before it answers: where a host may call back into the
    // module, with an entry point or a message for the dialog, or throw. The tag is the record
    // call's, else 0. StartEdit, EndEdit and CancelEdit come as the UTF-16 start, the end and
    // the cancel, whichever binding called.
    std::function<void(nx::Service service, std::uint32_t tag)> onCall;

    // The n-th call of the service (from 1, counted from construction) is refused: nothing is
    // passed on and the answer is 0.
    void RefuseCall(nx::Service service, std::uint32_t n) { refusedCalls_.emplace(service, n); }
    // Draws the answers of Drawn policies and of `what` from `answers`. When the answers run
    // out every draw is the honest one.
    void DrawFrom(FuzzReader answers, Draws what);
    // The answers still to draw, for a hook that draws from them too.
    FuzzReader& Answers() {
        if (!answers_) answers_.emplace();
        return *answers_;
    }

    // How many calls of the service came to the layer.
    std::uint32_t CallsTo(nx::Service service) const {
        return calls_[static_cast<std::size_t>(service)];
    }
    // Whether the host has ever left its edit open when asked to end it (refused, or claimed
    // to without doing it).
    bool IgnoredAnEnd() const { return ignoredEnd_; }
    // Ends every dialog NX_Dialog opened that is still on screen, as a host does once the
    // plug-in is terminated: without NX_EndDialog a closed dialog stays behind.
    void EndOpenedDialogs();
    std::int32_t DialogsOpened() const { return static_cast<std::int32_t>(opened_.size()); }

    // Records.
    SIMHOST_RECORD_OVERRIDES

    // Dialogs and their items.
    void Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context, std::int32_t zero,
                void* user) override;
    void EndDialog(HWND dialog) override;
    void EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable) override;
    std::int32_t GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind) override;
    void SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                       std::int32_t value) override;
    void GetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double* value) override;
    void SetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double value) override;
    void GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity) override;
    void GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                           std::int32_t capacity) override;
    void SetDlgString(HWND dialog, std::int32_t item, const char* text) override;
    void SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text) override;

    // Selection and document.
    std::int16_t SlotToInst(std::int16_t slot, std::int16_t slotKey) override;
    void GetCurERegions(std::int32_t* scratch, NXRegionRecord* first,
                        NXRegionRecord* second) override;
    void RedrawMusic(NXRegionRecord* region) override;
    std::int16_t GetCurrentOstrinDocument() override;

    // Edits, commands and windows.
    std::int32_t StartEdit(const char16_t* name) override;
    std::int32_t EndEdit() override;
    void CancelEdit() override;
    void ExecuteMenuItem(std::int32_t command) override;
    HWND GetCurrentWindow() override;

    bool Lacks(nx::Service service) const override {
        return missing.contains(service) || inner_.Lacks(service);
    }
    bool EditOpen() const override { return inner_.EditOpen(); }

private:
    // Counts the call and lets the host call back; true when this call is to be refused.
    bool Refused(nx::Service service, std::uint32_t tag = 0);
    // The policy of this call: a Drawn policy draws one of the four others.
    Answer AnswerOf(Answer policy);
    template <typename Result, typename Work>
    Result Answered(Answer policy, Work&& work);
    void DrawKey(NXRecordKey& key);
    void DrawSize(std::int32_t& size, std::int32_t capacity);
    template <typename Unit>
    void FillString(Unit* buffer, std::int32_t capacity, Unit filler);

    simhost::HostBackend& inner_;
    simhost::headless::HeadlessDialogs* dialogs_;
    std::array<std::uint32_t, nx::kServiceCount> calls_{};
    std::multimap<nx::Service, std::uint32_t> refusedCalls_;
    std::optional<FuzzReader> answers_;
    Draws draws_;
    std::vector<std::uint8_t> scratch_;  // a bent load's bytes, before the report cuts them
    std::vector<HWND> opened_;
    std::size_t regionCalls_ = 0;
    std::uint32_t claimedLoads_ = 0;
    bool ignoredEnd_ = false;
};

}  // namespace quorfaults
