#include "simhost/document/edit_history.h"

#include <utility>

namespace simhost {
namespace {

void RollBack(RecordStore& store, const ChangeList& changes, std::size_t from) {
    for (std::size_t i = changes.Size(); i > from; --i) {
        const RecordChange& change = changes[i - 1];
        store.Set(change.id, change.before);
    }
}

}  // namespace

void EditHistory::Start(std::u16string name) {
    if (marks_.empty()) open_ = EditStep{std::move(name), {}};
    marks_.push_back(open_.changes.Size());
}

bool EditHistory::End() {
    if (marks_.empty()) return false;
    marks_.pop_back();
    if (marks_.empty()) {
        undo_.push_back(std::move(open_));
        open_ = EditStep{};
        redo_.clear();
    }
    return true;
}

bool EditHistory::Cancel(RecordStore& store) {
    if (marks_.empty()) return false;
    const std::size_t mark = marks_.back();
    marks_.pop_back();
    RollBack(store, open_.changes, mark);
    open_.changes.Truncate(mark);
    if (marks_.empty()) open_ = EditStep{};
    return true;
}

void EditHistory::Note(RecordChange change) {
    if (IsOpen()) {
        open_.changes.Append(std::move(change));
        return;
    }
    // What could be redone was built on records that have now changed under it.
    redo_.clear();
    outside_.push_back(std::move(change));
}

bool EditHistory::Undo(RecordStore& store) {
    if (IsOpen() || undo_.empty()) return false;
    RollBack(store, undo_.back().changes, 0);
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    return true;
}

bool EditHistory::Redo(RecordStore& store) {
    if (IsOpen() || redo_.empty()) return false;
    const ChangeList& changes = redo_.back().changes;
    for (std::size_t i = 0; i < changes.Size(); ++i) store.Set(changes[i].id, changes[i].after);
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    return true;
}

}  // namespace simhost
