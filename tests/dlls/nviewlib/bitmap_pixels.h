#pragma once
// Reading a GDI bitmap's pixels back, as the program does with GetDIBits.

#include <windows.h>

#include <optional>

#include "picture.h"

namespace bitmap_pixels {

std::optional<picture_codecs::Picture> Read(HBITMAP bitmap);

}  // namespace bitmap_pixels
