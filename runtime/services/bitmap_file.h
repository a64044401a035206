#pragma once
// Saving a rectangle of the drawing target as a 24-bit .bmp file. Program thread only.
// Its three steps serve any device context (the tools save pictures with them too).

#include <windows.h>

#include <cstdint>
#include <vector>

#include "services/owned_handles.h"
#include "values/script_string.h"

// Error 237 without a drawing target; warning 229 when the file cannot be written or the
// rectangle is empty. An existing file is replaced.
void SaveBitmapArea(const ScriptString& name, int32_t x, int32_t y, int32_t width, int32_t height);

// The rectangle of `dc` copied into a bitmap of its own, selected into no device context.
GdiObject<HBITMAP> CopyOfArea(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height);
// `bitmap` (selected into no device context) as a 24-bit .bmp file's info header and rows;
// empty when it cannot be read or would not fit one file.
std::vector<char> PackAs24Bit(HBITMAP bitmap, int32_t width, int32_t height);
// Writes `packed` (from PackAs24Bit) behind its file header, replacing an existing file;
// false when the file cannot be written.
bool WritePackedBitmap(const char* path, const std::vector<char>& packed);
