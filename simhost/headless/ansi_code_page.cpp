#include "simhost/headless/ansi_code_page.h"

#include <array>

namespace simhost::headless {
namespace {

// Code page 1252 in 0x80..0x9F; the five bytes it leaves undefined map to the C1 controls.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char UnitToAnsi(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

char16_t AnsiToUnit(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

std::u16string AnsiToWide(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (const char c : text) wide.push_back(AnsiToUnit(static_cast<unsigned char>(c)));
    return wide;
}

std::string WideToAnsi(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (const char16_t unit : text) narrow.push_back(UnitToAnsi(unit));
    return narrow;
}

}  // namespace simhost::headless
