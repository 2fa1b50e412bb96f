#include "spacing/note_spacing_block_handler.h"

#include "framework/data/measure.h"
#include "framework/data/music_region.h"
#include "host/services/nx_services.h"
#include "spacing/spacing_tasks.h"
#include "spacing/task_info.h"

namespace {

// What a write does once the host has refused a step of it.
enum class OnRefusal {
    Stop,  // write no more: the edit's cancel, or the restore after it, puts the document back
    GoOn,  // write the rest all the same: nothing can roll back what went in
};

// The host's answers to the steps of one write.
class WriteTally {
public:
    explicit WriteTally(OnRefusal onRefusal) : onRefusal_(onRefusal) {}

    // Notes one step's answer; false when the write ends here.
    bool Note(bool taken) {
        whole_ = whole_ && taken;
        return taken || onRefusal_ == OnRefusal::GoOn;
    }
    // Whether the host took every step noted.
    bool Whole() const { return whole_; }

private:
    OnRefusal onRefusal_;
    bool whole_ = true;
};

// The task's values go into the preferences as they were loaded. Preferences that did not load
// whole are not written: their unread bytes would be stored as zeros.
template <typename Change>
bool ChangePreferences(Change&& change) {
    NCMusicSpacingPrefs prefs;
    if (!prefs.LoadWithReport(1).intact) return false;
    change(prefs);
    return prefs.SaveWithReport().intact;
}

// An old row the host would not delete stays beside the task's; a refused row leaves the table
// short.
bool WriteAllotmentTable(std::span<const AllotmentRow> rows, OnRefusal onRefusal) {
    WriteTally tally(onRefusal);
    if (!tally.Note(DeleteAllAllotments())) return false;
    for (const AllotmentRow& row : rows) {
        if (!tally.Note(WriteAllotment(static_cast<std::int16_t>(row.duration), row.width))) {
            return false;
        }
    }
    tally.Note(ChangePreferences([](NCMusicSpacingPrefs& prefs) { prefs.SetAllotmentFlag(1); }));
    return tally.Whole();
}

bool WriteScaling(const ScalingSetting& scaling) {
    return ChangePreferences([&](NCMusicSpacingPrefs& prefs) {
        prefs.SetAllotmentFlag(0);
        prefs.SetReferenceDuration(kScalingReferenceDuration);
        prefs.SetReferenceWidth(scaling.referenceWidth);
        prefs.ClearScalingReserved();
        prefs.SetScalingFactor(ScalingFactorFor(scaling.ratio));
    });
}

// Writes the task into the document; false when the host did not take all of it.
bool WriteTaskContent(const SpacingTaskContent& content, OnRefusal onRefusal) {
    return content.scaling ? WriteScaling(*content.scaling)
                           : WriteAllotmentTable(content.allotments, onRefusal);
}

// Puts each measure back to the width it had before the respacing; the rest of the record stays
// as the respacing left it. False when a width did not go back, since that barline moved.
bool RestoreWidths(const NCMeasures& before) {
    WriteTally tally(OnRefusal::GoOn);
    for (std::int32_t i = 0; i < before.Count(); ++i) {
        const NCMeasure* snapshot = before.MeasureAt(i);
        if (snapshot == nullptr) continue;
        NCMeasure measure;
        // A measure that did not load whole is not written: its unread bytes would be stored.
        const bool loaded = measure.Load(snapshot->ItemNo()) && measure.HoldsWholeRecord();
        measure.SetWidth(snapshot->Width());
        tally.Note(loaded && measure.Save());
    }
    return tally.Whole();
}

}  // namespace

std::optional<SpacingTaskContent> NCNoteSpacingBlockHandler::TaskContent() const {
    if (task_ == nullptr) return std::nullopt;
    return SpacingTaskContentFor(task_->TaskId());
}

bool NCNoteSpacingBlockHandler::RestoreSettings(const NCMeasures& measures) {
    // Every step runs even after a refused one, so that as much as the host takes is back.
    WriteTally tally(OnRefusal::GoOn);
    tally.Note(DeleteAllAllotments());
    // Row by row, where SaveAll would stop at the first refusal and leave the rest out.
    for (std::int32_t i = 0; i < allotmentSnapshot_.Count(); ++i) {
        if (NCAllotment* allotment = allotmentSnapshot_.AllotmentAt(i)) {
            tally.Note(allotment->Save());
        }
    }
    tally.Note(prefsSnapshot_.SaveWithReport().intact);
    if (fixedBarlines_) tally.Note(RestoreWidths(measures));
    return tally.Whole();
}

bool NCNoteSpacingBlockHandler::Work() {
    NCMeasures measures;
    NCMusicRegion region;
    region.CaptureSelection();

    if (!asDefault_) {
        // What cannot be read whole could not be put back: stop before any write.
        bool whole = false;
        allotmentSnapshot_.LoadAll(whole);
        if (!whole) return false;
        if (!prefsSnapshot_.LoadWithReport(1).intact) return false;
        if (fixedBarlines_) {
            measures.LoadRegion(region, whole);
            if (!whole) return false;
        }
    }

    const std::optional<SpacingTaskContent> content = TaskContent();
    if (!content) return false;
    // A default run without an open edit cannot be rolled back, so it leaves the user every row
    // the host takes. Otherwise the first refusal ends the write: the cancel or the restore puts
    // the document's own settings back.
    const OnRefusal onRefusal =
        asDefault_ && Block() == nullptr ? OnRefusal::GoOn : OnRefusal::Stop;
    const bool written = WriteTaskContent(*content, onRefusal);
    if (asDefault_) return written;

    // Half a task is not respaced with; the document's own settings go back all the same.
    if (written) NX_ExecuteMenuItem(kRespaceSelectionCommand);
    const bool restored = RestoreSettings(measures);
    return written && restored;
}
