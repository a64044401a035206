#pragma once
// Saving a rectangle of the drawing target as a 24-bit .bmp file. Program thread only.

#include <cstdint>

#include "values/script_string.h"

// Error 237 without a drawing target; warning 229 when the file cannot be written or the
// rectangle is empty. An existing file is replaced.
void SaveBitmapArea(const ScriptString& name, int32_t x, int32_t y, int32_t width, int32_t height);
