#include "spacing/note_spacing_block_handler.h"

#include "framework/data/measure.h"
#include "framework/data/music_region.h"
#include "host/services/nx_services.h"
#include "spacing/spacing_tasks.h"
#include "spacing/task_info.h"

namespace {

// The task's values go into the preferences as they were loaded. Preferences that did not load
// whole are not written: their unread bytes would be stored as zeros.
template <typename Change>
bool ChangePreferences(Change&& change) {
    NCMusicSpacingPrefs prefs;
    if (!prefs.LoadWithReport(1).intact) return false;
    change(prefs);
    return prefs.SaveWithReport().intact;
}

// A refused row ends the write: the table would be short, with the old rows already gone.
bool WriteAllotmentTable(std::span<const AllotmentRow> rows) {
    DeleteAllAllotments();
    for (const AllotmentRow& row : rows) {
        if (!WriteAllotment(static_cast<std::int16_t>(row.duration), row.width)) return false;
    }
    return ChangePreferences([](NCMusicSpacingPrefs& prefs) { prefs.SetAllotmentFlag(1); });
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

// Puts each measure back to the width it had before the respacing; the rest of the record
// stays as the respacing left it. A width the host will not take is no reason to undo the run.
void RestoreWidths(const NCMeasures& before) {
    for (std::int32_t i = 0; i < before.Count(); ++i) {
        const NCMeasure* snapshot = before.MeasureAt(i);
        if (snapshot == nullptr) continue;
        NCMeasure measure;
        // A measure that did not load whole is not written: its unread bytes would be stored.
        const bool loaded = measure.Load(snapshot->ItemNo()) && measure.HoldsWholeRecord();
        measure.SetWidth(snapshot->Width());
        if (loaded) measure.Save();
    }
}

}  // namespace

std::optional<SpacingTaskContent> NCNoteSpacingBlockHandler::TaskContent() const {
    if (task_ == nullptr) return std::nullopt;
    return SpacingTaskContentFor(task_->TaskId());
}

bool NCNoteSpacingBlockHandler::WriteTaskContent(const SpacingTaskContent& content) {
    return content.scaling ? WriteScaling(*content.scaling)
                           : WriteAllotmentTable(content.allotments);
}

bool NCNoteSpacingBlockHandler::RestoreSettings(const NCMeasures& measures) {
    DeleteAllAllotments();
    // Every step runs even after a failed one, so that as much as the host takes is back.
    const bool allotments = allotmentSnapshot_.SaveAll();
    const bool prefs = prefsSnapshot_.SaveWithReport().intact;
    if (fixedBarlines_) RestoreWidths(measures);
    return allotments && prefs;
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
    const bool written = WriteTaskContent(*content);
    if (asDefault_) return written;

    // Half a task is not respaced with; the document's own settings go back all the same.
    if (written) NX_ExecuteMenuItem(kRespaceSelectionCommand);
    const bool restored = RestoreSettings(measures);
    return written && restored;
}
