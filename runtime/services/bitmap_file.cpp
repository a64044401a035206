#include "bitmap_file.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "owned_handles.h"
#include "values/error_report.h"
#include "windows/drawing_state.h"

namespace {

constexpr DWORD FileHeaderSize = 14;
constexpr DWORD InfoHeaderSize = 40;

// The pixel rows of a 24-bit bitmap, each padded to a multiple of 4 bytes; 0 when they
// would not fit one file.
uint64_t RowBytes(int32_t width, int32_t height)
{
    uint64_t size = (24ull * static_cast<uint64_t>(width) + 31) / 32 * 4 * static_cast<uint64_t>(height);
    return size > 0x7FFFFFFFull - FileHeaderSize - InfoHeaderSize ? 0 : size;
}

// The info header exactly as stored: the sizes of the rectangle at 24 bits per pixel, no
// resolution, no size image, no colour table.
BITMAPINFOHEADER InfoHeader(int32_t width, int32_t height)
{
    BITMAPINFOHEADER info = {};
    info.biSize = InfoHeaderSize;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    return info;
}

BITMAPFILEHEADER FileHeader(const std::vector<char>& packed)
{
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(FileHeaderSize + packed.size());
    fileHeader.bfOffBits = FileHeaderSize + InfoHeaderSize;
    return fileHeader;
}

bool WriteAll(HANDLE file, const void* bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

}  // namespace

static_assert(sizeof(BITMAPFILEHEADER) == FileHeaderSize);
static_assert(sizeof(BITMAPINFOHEADER) == InfoHeaderSize);

GdiObject<HBITMAP> CopyOfArea(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height)
{
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    MemoryDc memory = CompatibleDc(dc);
    Selection selected(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, dc, x, y, SRCCOPY);
    return bitmap;
}

std::vector<char> PackAs24Bit(HBITMAP bitmap, int32_t width, int32_t height)
{
    uint64_t rowBytes = RowBytes(width, height);
    if (rowBytes == 0)
        return {};
    const BITMAPINFOHEADER info = InfoHeader(width, height);
    std::vector<char> packed(InfoHeaderSize + rowBytes);
    std::memcpy(packed.data(), &info, InfoHeaderSize);
    WindowDc screen(nullptr);
    int rows = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), packed.data() + InfoHeaderSize,
                         reinterpret_cast<BITMAPINFO*>(packed.data()), DIB_RGB_COLORS);
    if (rows == 0)
        return {};
    // GetDIBits fills in fields of its own; the file keeps the header as made.
    std::memcpy(packed.data(), &info, InfoHeaderSize);
    return packed;
}

bool WritePackedBitmap(const char* path, const std::vector<char>& packed)
{
    const BITMAPFILEHEADER fileHeader = FileHeader(packed);
    KernelHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_FLAG_RANDOM_ACCESS | FILE_ATTRIBUTE_NORMAL, nullptr));
    bool written = file && WriteAll(file.Get(), &fileHeader, FileHeaderSize) &&
                   WriteAll(file.Get(), packed.data(), static_cast<DWORD>(packed.size()));
    file.Close();
    return written;
}

void SaveBitmapArea(const ScriptString& name, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!DrawTarget) {
        RaiseError(ErrorNeedsAWindow);
        return;
    }
    // An empty rectangle has no 24-bit file (the platform would hand back a 1 x 1
    // monochrome bitmap instead).
    if (width <= 0 || height <= 0) {
        RaiseWarning(ErrorBitmapNotSaved, name.Text());
        return;
    }
    // Selected out of its context before GetDIBits reads it.
    GdiObject<HBITMAP> bitmap;
    {
        auto surfaces = LockWindowSurfaces();
        bitmap = CopyOfArea(DrawTarget, x, y, width, height);
    }
    std::vector<char> packed = bitmap ? PackAs24Bit(bitmap.Get(), width, height) : std::vector<char>();
    if (packed.empty())
        return;
    if (!WritePackedBitmap(name.Text(), packed))
        RaiseWarning(ErrorBitmapNotSaved, name.Text());
}
