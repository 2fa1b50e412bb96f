// The document's undo journal. Every record change is noted with the record as it was and as it
// became; the changes between the outermost start and end of an edit form one named step, which
// undo rolls back and redo applies again, so that undoing every step gives back the records
// byte for byte.
//
// Changes made while no edit is open are applied, not refused: a host does not refuse a
// plug-in's writes, it only cannot undo them. They are kept in a list of their own so that a
// test can assert that a plug-in wrote nothing outside its edits.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/document/change_list.h"
#include "simhost/document/record_store.h"

namespace simhost {

struct EditStep {
    std::u16string name;
    ChangeList changes;
};

class EditHistory {
public:
    // Opens an edit, or one more level of the open one; an inner start's name is not kept.
    void Start(std::u16string name);
    // Closes one level; closing the outermost makes the open edit an undo step and forgets what
    // could be redone. False when no edit is open.
    bool End();
    // Rolls back the changes made since the innermost open start and closes that level; at the
    // outermost level nothing of the edit remains. False when no edit is open.
    bool Cancel(RecordStore& store);

    // Notes a change that has just been applied to the store.
    void Note(RecordChange change);

    // False when there is nothing to undo or redo, or while an edit is open.
    bool Undo(RecordStore& store);
    bool Redo(RecordStore& store);

    bool IsOpen() const { return !marks_.empty(); }
    std::size_t Depth() const { return marks_.size(); }
    // The open edit's name and changes so far; empty when none is open.
    const EditStep& OpenStep() const { return open_; }
    // Oldest first; the last one is what Undo rolls back.
    const std::vector<EditStep>& UndoSteps() const { return undo_; }
    // The last one is what Redo applies next.
    const std::vector<EditStep>& RedoSteps() const { return redo_; }
    const std::vector<RecordChange>& OutsideEditChanges() const { return outside_; }

private:
    EditStep open_;
    // Where each open level began in open_.changes.
    std::vector<std::size_t> marks_;
    std::vector<EditStep> undo_;
    std::vector<EditStep> redo_;
    std::vector<RecordChange> outside_;
};

}  // namespace simhost
