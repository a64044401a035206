#include "bitmap_file.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "values/error_report.h"
#include "windows/drawing_state.h"

namespace {

constexpr int32_t NeedsAWindow = 237;
constexpr int32_t BitmapNotSaved = 229;
constexpr DWORD FileHeaderSize = 14;
constexpr DWORD InfoHeaderSize = 40;

// The pixel rows of a 24-bit bitmap, each padded to a multiple of 4 bytes; 0 when they
// would not fit one file.
uint64_t RowBytes(int32_t width, int32_t height)
{
    uint64_t size = (24ull * static_cast<uint64_t>(width) + 31) / 32 * 4 * static_cast<uint64_t>(height);
    return size > 0x7FFFFFFFull - FileHeaderSize - InfoHeaderSize ? 0 : size;
}

// The bitmap as an info header followed by its rows at 24 bits per pixel; empty on failure.
std::vector<char> PackAs24Bit(HBITMAP bitmap, int32_t width, int32_t height)
{
    uint64_t rowBytes = RowBytes(width, height);
    if (rowBytes == 0)
        return {};
    BITMAPINFOHEADER header = {};
    header.biSize = InfoHeaderSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;

    std::vector<char> packed(InfoHeaderSize + rowBytes);
    std::memcpy(packed.data(), &header, InfoHeaderSize);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), packed.data() + InfoHeaderSize,
                         reinterpret_cast<BITMAPINFO*>(packed.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows == 0)
        return {};
    return packed;
}

// The file header and the info header exactly as stored: the sizes of the rectangle, no
// resolution, no size image, no colour table.
void StoredHeaders(std::vector<char>& packed, int32_t width, int32_t height, BITMAPFILEHEADER& fileHeader)
{
    BITMAPINFOHEADER info = {};
    info.biSize = InfoHeaderSize;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::memcpy(packed.data(), &info, InfoHeaderSize);

    fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(FileHeaderSize + packed.size());
    fileHeader.bfOffBits = FileHeaderSize + InfoHeaderSize;
}

bool WriteAll(HANDLE file, const void* bytes, DWORD count)
{
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

}  // namespace

static_assert(sizeof(BITMAPFILEHEADER) == FileHeaderSize);
static_assert(sizeof(BITMAPINFOHEADER) == InfoHeaderSize);

void SaveBitmapArea(const ScriptString& name, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!DrawTarget) {
        RaiseError(NeedsAWindow);
        return;
    }
    // An empty rectangle has no 24-bit file (the platform would hand back a 1 x 1
    // monochrome bitmap instead).
    if (width <= 0 || height <= 0) {
        RaiseWarning(BitmapNotSaved, name.Text());
        return;
    }
    std::vector<char> packed;
    {
        auto surfaces = LockWindowSurfaces();
        HDC memory = CreateCompatibleDC(DrawTarget);
        HBITMAP bitmap = CreateCompatibleBitmap(DrawTarget, width, height);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, DrawTarget, x, y, SRCCOPY);
        SelectObject(memory, previous);
        if (bitmap)
            packed = PackAs24Bit(bitmap, width, height);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    if (packed.empty())
        return;

    BITMAPFILEHEADER fileHeader;
    StoredHeaders(packed, width, height, fileHeader);
    HANDLE file = CreateFileA(name.Text(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_FLAG_RANDOM_ACCESS | FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = false;
    if (file != INVALID_HANDLE_VALUE) {
        written = WriteAll(file, &fileHeader, FileHeaderSize) &&
                  WriteAll(file, packed.data(), static_cast<DWORD>(packed.size()));
        CloseHandle(file);
    }
    if (!written)
        RaiseWarning(BitmapNotSaved, name.Text());
}
