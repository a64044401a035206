#pragma once
// The EXIF orientation tag (1 to 8) and turning a picture upright by it.

#include <cstdint>
#include <span>

#include "picture.h"

namespace picture_codecs {

// The payload of a JPEG APP1 segment; 1 (upright) when it holds no valid orientation.
int ReadExifOrientation(std::span<const std::uint8_t> app1);

Picture ApplyOrientation(const Picture& stored, int orientation);

}  // namespace picture_codecs
