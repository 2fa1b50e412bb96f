#include "spacing/note_spacing_block_handler.h"

#include "framework/data/measure.h"
#include "framework/data/music_region.h"
#include "host/nx_services.h"
#include "spacing/spacing_tasks.h"
#include "spacing/task_info.h"

namespace {

void WriteAllotmentTable(std::span<const AllotmentRow> rows) {
    DeleteAllAllotments();
    for (const AllotmentRow& row : rows) {
        WriteAllotment(static_cast<std::int16_t>(row.duration), row.width);
    }
    NCMusicSpacingPrefs prefs;
    prefs.Load(1);
    prefs.SetAllotmentFlag(1);
    prefs.Save();
}

void WriteScaling(const ScalingSetting& scaling) {
    NCMusicSpacingPrefs prefs;
    prefs.Load(1);
    prefs.SetAllotmentFlag(0);
    prefs.SetReferenceDuration(kScalingReferenceDuration);
    prefs.SetReferenceWidth(scaling.referenceWidth);
    prefs.ClearScalingReserved();
    prefs.SetScalingFactor(ScalingFactorFor(scaling.ratio));
    prefs.Save();
}

// Puts each measure back to the width it had before the respacing; the rest of the record
// stays as the respacing left it.
void RestoreWidths(const NCMeasures& before) {
    for (std::int32_t i = 0; i < before.Count(); ++i) {
        const NCMeasure* snapshot = before.MeasureAt(i);
        if (snapshot == nullptr) continue;
        NCMeasure measure;
        measure.Load(snapshot->ItemNo());
        measure.SetWidth(snapshot->Width());
        measure.Save();  // writes nothing when the load failed
    }
}

}  // namespace

bool NCNoteSpacingBlockHandler::ApplyTaskContent() const {
    if (task_ == nullptr) return false;
    const std::optional<SpacingTaskContent> content = SpacingTaskContentFor(task_->TaskId());
    if (!content) return false;
    if (content->scaling) {
        WriteScaling(*content->scaling);
    } else {
        WriteAllotmentTable(content->allotments);
    }
    return true;
}

bool NCNoteSpacingBlockHandler::Work() {
    NCMeasures measures;
    NCMusicRegion region;
    region.CaptureSelection();

    if (!asDefault_) {
        allotmentSnapshot_.LoadAll();
        prefsSnapshot_.Load(1);
        if (fixedBarlines_) measures.LoadRegion(region);
    }

    if (!ApplyTaskContent()) return false;
    if (asDefault_) return true;

    NX_ExecuteMenuItem(kRespaceSelectionCommand);
    DeleteAllAllotments();
    allotmentSnapshot_.SaveAll();
    prefsSnapshot_.Save();
    if (fixedBarlines_) RestoreWidths(measures);
    return true;
}
