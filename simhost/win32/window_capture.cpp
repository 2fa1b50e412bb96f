#include "simhost/win32/window_capture.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace simhost::win32 {

namespace {

constexpr WORD kBmpMagic = 0x4D42;  // "BM"

struct DeleteDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteBitmap {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

CaptureResult CaptureWindow(HWND window, const std::wstring& bmpPath) {
    CaptureResult result;
    RECT rect{};
    if (window == nullptr || !GetWindowRect(window, &rect)) {
        result.error = "no window to capture";
        return result;
    }
    result.width = rect.right - rect.left;
    result.height = rect.bottom - rect.top;
    if (result.width <= 0 || result.height <= 0) {
        result.error = "the window has no area";
        return result;
    }
    // Rows of 24-bit pixels are padded to four bytes.
    const std::int32_t stride = (result.width * 3 + 3) & ~3;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = result.width;
    info.bmiHeader.biHeight = result.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * result.height);

    // The window paints itself, frame and children, before its pixels are read back.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    const HDC source = GetWindowDC(window);
    std::unique_ptr<HDC__, DeleteDc> memory(CreateCompatibleDC(source));
    void* bits = nullptr;
    std::unique_ptr<HBITMAP__, DeleteBitmap> bitmap(
        CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || bits == nullptr) {
        ReleaseDC(window, source);
        result.error = "cannot make a bitmap of the window's size";
        return result;
    }
    const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const BOOL copied =
        BitBlt(memory.get(), 0, 0, result.width, result.height, source, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(memory.get(), previous);
    ReleaseDC(window, source);
    if (!copied) {
        result.error = "cannot read the window's pixels";
        return result;
    }

    BITMAPFILEHEADER file{};
    file.bfType = kBmpMagic;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + info.bmiHeader.biSizeImage;
    std::unique_ptr<std::FILE, CloseFile> out(_wfopen(bmpPath.c_str(), L"wb"));
    if (!out) {
        result.error = "cannot write the picture";
        return result;
    }
    const bool ok = std::fwrite(&file, sizeof file, 1, out.get()) == 1 &&
                    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out.get()) == 1 &&
                    std::fwrite(bits, info.bmiHeader.biSizeImage, 1, out.get()) == 1;
    if (!ok) {
        result.error = "cannot write the picture";
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace simhost::win32
