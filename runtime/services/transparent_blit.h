#pragma once
// The transparent copy of the drawing commands, also used by the tools that show the
// program's pictures.

#include <windows.h>

#include <cstdint>

// Copies with the colour of the source rectangle's bottom-left pixel transparent.
void BlitTransparent(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sourceX,
                     int32_t sourceY);
