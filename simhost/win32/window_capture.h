// A window's picture at its real size, frame included, read from its window DC once it has
// painted itself, and written as a 24-bit bottom-up BMP file. The window must be on top.
#pragma once

#include <cstdint>
#include <string>
#include <windows.h>

namespace simhost::win32 {

struct CaptureResult {
    bool written = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::string error;
};

CaptureResult CaptureWindow(HWND window, const std::wstring& bmpPath);

}  // namespace simhost::win32
