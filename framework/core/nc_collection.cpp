#include "framework/core/nc_collection.h"

#include <algorithm>

const char* __NCCollection::TypeName() const { return "__NCCollection"; }

__NCCollection::~__NCCollection() {
    DeleteAll();
    items_.reset();
}

__NCBase* __NCCollection::ItemAt(std::int32_t index) const {
    if (index < 0 || index >= count_ || !items_) return nullptr;
    return items_[index];
}

void __NCCollection::Reserve(std::int32_t n) {
    if (capacity_ >= count_ + n) return;
    const std::int32_t capacity = 10 * ((count_ + n + 10) / 10);
    // The array grows ten slots at a time, so a walk over many records copies it often: copy the
    // items in one move and clear only the new slots.
    std::unique_ptr<__NCBase*[]> items(new __NCBase*[capacity]);
    std::copy_n(items_.get(), count_, items.get());
    std::fill_n(items.get() + count_, capacity - count_, nullptr);
    items_ = std::move(items);
    capacity_ = capacity;
}

void __NCCollection::Append(__NCBase* item) {
    std::unique_ptr<__NCBase> owned(item);  // freed if growing the array throws
    Reserve(1);
    items_[count_++] = owned.release();
}

void __NCCollection::DeleteAll() {
    for (std::int32_t i = 0; i < count_; ++i) {
        // An item's destructor may touch this collection, so each slot is cleared first and
        // the count is read anew on every pass.
        __NCBase* item = items_[i];
        items_[i] = nullptr;
        delete item;
    }
    count_ = 0;
}

int __NCCollection::VisitAll(NCIterationHandler& handler) {
    int visited = 0;
    for (std::int32_t i = 0; i < count_; ++i) {
        __NCBase* item = items_[i];
        if (item == nullptr) continue;
        if (!handler.Visit(item)) break;
        ++visited;
    }
    return visited;
}

__NCBase* __NCCollection::FindFirst(NCIterationHandler& handler) {
    for (std::int32_t i = 0; i < count_; ++i) {
        __NCBase* item = items_[i];
        if (item != nullptr && handler.Matches(item)) return item;
    }
    return nullptr;
}

int __NCCollection::VisitAllIndexed(NCIterationHandler& handler) {
    int visited = 0;
    for (std::int32_t i = 0; i < count_; ++i) {
        __NCBase* item = items_[i];
        if (item == nullptr) continue;
        if (!handler.VisitIndexed(item, static_cast<int>(i))) break;
        ++visited;
    }
    return visited;
}
