#pragma once
// Bitmap files and resources drawn with a raster mode, and lines, on DrawTarget and,
// when that is the main window, on its backing bitmap too. Nothing is cached: every command
// loads, draws and frees. Program thread only.

#include <windows.h>

#include <cstdint>

#include "values/script_string.h"

// Size of the last bitmap loaded by a drawing command.
extern int32_t BitmapWidth;
extern int32_t BitmapHeight;

// Raster modes: 0 (and unlisted) copy, 1 AND, 2 OR, 3 XOR, 4 invert the destination,
// -1 transparent (the bitmap's bottom-left pixel colour is left out).
constexpr int32_t TransparentMode = -1;
DWORD RasterOperation(int32_t mode);

// Error 237 without a drawing target; warning 228 when the file cannot be loaded.
void DrawBitmapFile(const ScriptString& name, int32_t x, int32_t y, int32_t mode);
// Stretched with COLORONCOLOR; mode -1 copies.
void StretchBitmapFile(const ScriptString& name, int32_t x, int32_t y, int32_t width, int32_t height, int32_t mode);
// A name of decimal digits only is the resource number modulo 65536, else the name.
void DrawBitmapResource(HMODULE module, const ScriptString& name, int32_t x, int32_t y, int32_t mode);
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
