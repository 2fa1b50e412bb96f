// The host context object: the value the host passed to the first Invoke, which the dialog
// hands back to the host when it opens.
#pragma once

#include <cstdint>

#include "framework/core/nc_base.h"

class NCUI : public __NCBase {
public:
    explicit NCUI(std::int32_t context) : context_(context) {}

    const char* TypeName() const override { return "NCUI"; }

    std::int32_t Context() const { return context_; }
    std::int16_t Reserved() const { return reserved_; }

private:
    std::int32_t context_;
    std::int16_t reserved_ = 0;
};
