// Owning collections of records of one class, loaded from the host and saved back.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/nc_collection.h"
#include "framework/data/base_data.h"

class __NCCollectionData : public __NCCollection {
public:
    // A new record of the element class, owned by the caller.
    virtual __NCBaseData* CreateElement() const = 0;
    // Replaces the items by copies of every record the element's walk finds, in the order the
    // host delivers them, ending as if the host had no more at 65,536 records. Answers the
    // count.
    virtual std::int32_t LoadAll();
    // Saves the items in order; the first failure ends the walk with false.
    virtual bool SaveAll();

    // As LoadAll(), telling through `whole` whether every record found came whole. A copy of
    // one the host reported short holds bytes the host never gave, which must not be written
    // back as the document's.
    std::int32_t LoadAll(bool& whole);

    __NCBaseData* RecordAt(std::int32_t index) const {
        return static_cast<__NCBaseData*>(ItemAt(index));
    }

protected:
    // Replaces the items by copies of the records first..last that load, in ascending order;
    // `whole` as for LoadAll.
    void LoadItemRange(std::int32_t first, std::int32_t last, bool& whole);

private:
    // Appends an independent copy of what the loader holds, with its key, and notes in `whole`
    // whether the loader held the whole record.
    void AppendCopyOf(const __NCBaseData& loader, bool& whole);
};

class __NCCollectionNoInciOther : public __NCCollectionData {};
