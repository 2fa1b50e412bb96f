// Text conversion between the 8-bit and the UTF-16 sides of USER32, as a Western Windows does
// it: the ANSI code page is 1252. It agrees with ISO 8859-1 except in 0x80..0x9F, where it
// carries typographic marks; characters it lacks become '?'.
#pragma once

#include <string>
#include <string_view>

namespace simhost::headless {

char16_t AnsiToUnit(unsigned char byte);
std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);

}  // namespace simhost::headless
