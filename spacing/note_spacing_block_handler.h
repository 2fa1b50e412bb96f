// The work of one spacing run, inside one undoable host edit. An apply run respaces the
// selected music with the task and then puts the document's own spacing settings back; a
// default run leaves the task in the document as its spacing settings and respaces nothing.
#pragma once

#include <optional>

#include "framework/core/undo_block.h"
#include "framework/data/allotment.h"
#include "framework/data/measure.h"
#include "framework/data/music_spacing_prefs.h"
#include "spacing/spacing_tasks.h"

class NCNoteSpacingTaskInfo;
class NCUI;

// The host's "respace the selection" command.
constexpr std::int32_t kRespaceSelectionCommand = 12106;

class NCNoteSpacingBlockHandler : public __NCUndoBlockHandler {
public:
    NCNoteSpacingBlockHandler(const NCNoteSpacingTaskInfo* task, bool asDefault, bool fixedBarlines,
                              const NCUI* ui)
        : task_(task), ui_(ui), fixedBarlines_(fixedBarlines), asDefault_(asDefault) {}

    // False for a task id outside the known tasks, and whenever the host did not take the whole
    // run: the settings or, with Fixed Barlines, the measures could not be read whole; a delete,
    // a row or the preferences of the task were refused; or the snapshot or a measure's width
    // could not be written back. The edit is then cancelled, so that the host rolls the whole
    // run back, and the user hears the warning. Extra preference records the host will not take
    // are not failures.
    bool Work() override;

    // The window's host context, stored for the run; the work itself does not need it.
    const NCUI* Ui() const { return ui_; }

private:
    // The task's allotments or scaling values; nothing for an unknown task.
    std::optional<SpacingTaskContent> TaskContent() const;
    // Writes the snapshot back, and with Fixed Barlines the widths, every step even after a
    // refused one; false when any of it did not go back.
    bool RestoreSettings(const NCMeasures& measures);

    const NCNoteSpacingTaskInfo* task_;
    const NCUI* ui_;
    NCAllotments allotmentSnapshot_;
    NCMusicSpacingPrefs prefsSnapshot_;
    bool fixedBarlines_;
    bool asDefault_;
};
