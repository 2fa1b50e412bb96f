// The extension's one text type: UTF-16 code units with an 8-bit view. No code page is
// involved: 8-bit text is widened byte by byte and narrowed by keeping each unit's low byte,
// so the 8-bit side behaves as ISO 8859-1.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/nc_base.h"

class NCString : public __NCBase {
public:
    // An empty text with a 10-unit buffer holding only the terminator.
    NCString();
    NCString(const NCString&) = delete;
    NCString& operator=(const NCString&) = delete;

    const char* TypeName() const override;
    ~NCString() override = default;

    std::uint32_t Length() const { return length_; }
    std::uint32_t Capacity() const { return capacity_; }
    // The units followed by a 0 unit; null only after AssignText8(nullptr). Valid until the
    // next change of the string.
    const char16_t* Units() const { return units_.get(); }

    // Room for length units plus the terminator; asks one unit more than it needs, and grows to
    // the next multiple of 10 above length. Keeps the current text (not its terminator).
    void ReserveUnits(std::uint32_t length);
    // A null text drops the buffer altogether.
    void AssignText8(const char* text);
    void AssignString(const NCString& other);
    // A null buffer assigns the empty text.
    void AssignUnits(const char16_t* buffer);
    void AppendString(const NCString& other);
    void AppendUnit(char16_t unit);
    void AppendText8(const char* text);

    // An 8-bit copy, owned by the string, valid until the next Text8() or the string's end.
    const char* Text8();

private:
    // Writes the terminator after the text.
    void Terminate() { units_[length_] = 0; }

    std::uint32_t length_ = 0;
    std::uint32_t capacity_ = 0;
    std::unique_ptr<char16_t[]> units_;
    std::unique_ptr<char[]> text8_;
};
