// Brackets a piece of work with one named host edit, so that a whole spacing run becomes one
// undoable step: the edit is ended when the work succeeds and cancelled when it fails.
#pragma once

#include "framework/core/nc_base.h"

class NCString;
class NCUndoBlock;

// The work an undo block runs.
class __NCUndoBlockHandler : public __NCBase {
public:
    // Performs the change. True keeps it; false asks for it to be discarded.
    virtual bool Work() = 0;

    // The block running this handler inside an open host edit; null at any other time,
    // including a run whose edit the host failed to open.
    NCUndoBlock* Block() const { return block_; }

private:
    friend class NCUndoBlock;
    NCUndoBlock* block_ = nullptr;
};

class NCUndoBlock : public __NCBase {
public:
    // Opens a host edit named name (cut to 499 UTF-16 units on UTF-16 hosts; 8-bit hosts get
    // the whole 8-bit copy), runs handler's Work, then ends the edit when Work answered true
    // and cancels it otherwise. Work runs even when the host could not open the edit. Answers
    // Work's result, or false at once for a null handler or name.
    bool Run(__NCUndoBlockHandler* handler, NCString* name);

    bool IsRunning() const { return running_; }

private:
    bool running_ = false;
};
