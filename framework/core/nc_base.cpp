#include "framework/core/nc_base.h"

const char* __NCBase::TypeName() const { return "__NCBase"; }

bool __NCBase::IsSameType(const __NCBase* other) const {
    return other != nullptr && other->TypeName() == TypeName();
}
