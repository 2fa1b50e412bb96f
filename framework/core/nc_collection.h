// An owning, growable array of pointers to objects. The collection destroys every item it
// holds; slots may hold null, which every operation treats as empty.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/nc_base.h"

class __NCCollection : public __NCIteratorBase {
public:
    __NCCollection() = default;
    __NCCollection(const __NCCollection&) = delete;
    __NCCollection& operator=(const __NCCollection&) = delete;

    const char* TypeName() const override;
    ~__NCCollection() override;

    // Walk slots 0..Count()-1 in order, re-reading the count on every pass, skipping nulls.
    int VisitAll(NCIterationHandler& handler) override;
    __NCBase* FindFirst(NCIterationHandler& handler) override;
    int VisitAllIndexed(NCIterationHandler& handler) override;

    std::int32_t Count() const { return count_; }
    std::int32_t Capacity() const { return capacity_; }
    // Null for an index outside 0..Count()-1 (or before anything was reserved).
    __NCBase* ItemAt(std::int32_t index) const;
    // Room for n more items; grows to the next multiple of 10 strictly above Count() + n.
    void Reserve(std::int32_t n);
    // Takes ownership of item (which may be null).
    void Append(__NCBase* item);
    void Append(std::unique_ptr<__NCBase> item) { Append(item.release()); }
    // Destroys every item; keeps the array and its capacity for reuse.
    void DeleteAll();

private:
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
    std::unique_ptr<__NCBase*[]> items_;
};
