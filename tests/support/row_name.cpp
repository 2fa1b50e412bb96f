#include "tests/support/row_name.h"

#include <cstdio>

namespace quortest {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsKept(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c); }

}  // namespace

std::string TestName(std::string_view text) {
    std::string name;
    bool gap = false;
    const auto append = [&](std::string_view word) {
        if (gap && !name.empty()) {
            name += '_';
        }
        gap = false;
        name += word;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool startsNumber = i == 0 || !IsKept(text[i - 1]);
        if (c == '-' && startsNumber && i + 1 < text.size() && IsDigit(text[i + 1])) {
            append("minus");
            gap = true;
        } else if (IsKept(c)) {
            append(std::string_view(&text[i], 1));
        } else {
            gap = true;
        }
    }
    return name.empty() ? std::string("unnamed") : name;
}

std::string Hex(std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace quortest
