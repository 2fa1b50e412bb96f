#include "framework/core/nc_string.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

std::uint32_t Text8Length(const char* text) {
    return static_cast<std::uint32_t>(std::strlen(text));
}

// Storage that its caller fills whole at once, so it is left uninitialised; written out because
// not every standard library the module is built with has std::make_unique_for_overwrite.
template <typename Unit>
std::unique_ptr<Unit[]> UnitsForOverwrite(std::size_t count) {
    return std::unique_ptr<Unit[]>(new Unit[count]);
}

}  // namespace

NCString::NCString() { AssignText8(""); }

const char* NCString::TypeName() const { return "NCString"; }

void NCString::ReserveUnits(std::uint32_t length) {
    // Widened so that a length near the 32-bit limit cannot wrap the test into "big enough".
    const std::uint64_t wanted = std::uint64_t{length} + 1;
    if (capacity_ > wanted) return;
    const std::uint64_t capacity = 10 * ((std::uint64_t{length} + 10) / 10);
    if (capacity * sizeof(char16_t) > UINT32_MAX) throw std::bad_alloc();
    auto units = UnitsForOverwrite<char16_t>(static_cast<std::size_t>(capacity));
    if (units_) {
        for (std::uint32_t i = 0; i < length_; ++i) units[i] = units_[i];
    }
    units_ = std::move(units);
    capacity_ = static_cast<std::uint32_t>(capacity);
}

void NCString::AssignText8(const char* text) {
    if (text == nullptr) {
        units_.reset();
        capacity_ = 0;
        length_ = 0;
        return;
    }
    const std::uint32_t length = Text8Length(text);
    ReserveUnits(length);
    for (std::uint32_t i = 0; i < length; ++i) {
        units_[i] = static_cast<unsigned char>(text[i]);
    }
    length_ = length;
    Terminate();
}

void NCString::AssignString(const NCString& other) {
    if (&other == this) return;
    AssignText8("");
    if (other.length_ == 0) return;
    ReserveUnits(other.length_ + 1);
    for (std::uint32_t i = 0; i < other.length_; ++i) units_[i] = other.units_[i];
    length_ = other.length_;
    Terminate();
}

void NCString::AssignUnits(const char16_t* buffer) {
    if (buffer == nullptr) {
        AssignText8("");
        return;
    }
    std::uint32_t length = 0;
    while (buffer[length] != 0) ++length;
    // The buffer may be this string's own; the old units are dropped before the copy, so the
    // source is copied out first when it is.
    if (buffer == units_.get()) {
        length_ = length;
        Terminate();
        return;
    }
    length_ = 0;
    ReserveUnits(length);
    for (std::uint32_t i = 0; i < length; ++i) units_[i] = buffer[i];
    length_ = length;
    Terminate();
}

void NCString::AppendString(const NCString& other) {
    if (&other == this) {
        // Appending a text to itself: copy it out first, since growing frees the source.
        NCString copy;
        copy.AssignString(other);
        AppendString(copy);
        return;
    }
    ReserveUnits(length_ + other.length_);
    for (std::uint32_t i = 0; i < other.length_; ++i) units_[length_++] = other.units_[i];
    Terminate();
}

void NCString::AppendUnit(char16_t unit) {
    ReserveUnits(length_ + 1);
    units_[length_++] = unit;
    Terminate();
}

void NCString::AppendText8(const char* text) {
    if (text == nullptr) return;
    const std::uint32_t added = Text8Length(text);
    ReserveUnits(length_ + added);
    for (std::uint32_t i = 0; i < added; ++i) {
        units_[length_++] = static_cast<unsigned char>(text[i]);
    }
    Terminate();
}

const char* NCString::Text8() {
    text8_.reset();
    auto text = UnitsForOverwrite<char>(std::size_t{length_} + 1);
    for (std::uint32_t i = 0; i < length_; ++i) {
        text[i] = static_cast<char>(units_[i] & 0xFFu);
    }
    text[length_] = 0;
    text8_ = std::move(text);
    return text8_.get();
}
