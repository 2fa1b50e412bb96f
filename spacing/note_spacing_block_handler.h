// The work of one spacing run, inside one undoable host edit. An apply run respaces the
// selected music with the task and then puts the document's own spacing settings back; a
// default run leaves the task in the document as its spacing settings and respaces nothing.
#pragma once

#include "framework/core/undo_block.h"
#include "framework/data/allotment.h"
#include "framework/data/music_spacing_prefs.h"

class NCNoteSpacingTaskInfo;
class NCUI;

// The host's "respace the selection" command.
constexpr std::int32_t kRespaceSelectionCommand = 12106;

class NCNoteSpacingBlockHandler : public __NCUndoBlockHandler {
public:
    NCNoteSpacingBlockHandler(const NCNoteSpacingTaskInfo* task, bool asDefault, bool fixedBarlines,
                              const NCUI* ui)
        : task_(task), ui_(ui), fixedBarlines_(fixedBarlines), asDefault_(asDefault) {}

    // False only for a task id outside the known tasks; failed record loads and saves inside
    // the run are not reported.
    bool Work() override;

    // The window's host context, stored for the run; the work itself does not need it.
    const NCUI* Ui() const { return ui_; }

private:
    // Writes the task's allotments or scaling values into the document.
    bool ApplyTaskContent() const;

    const NCNoteSpacingTaskInfo* task_;
    const NCUI* ui_;
    NCAllotments allotmentSnapshot_;
    NCMusicSpacingPrefs prefsSnapshot_;
    bool fixedBarlines_;
    bool asDefault_;
};
