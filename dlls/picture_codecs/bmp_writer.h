#pragma once
// Encoding a picture as the plain 24-bit bottom-up BMP that every Windows loader reads.

#include <cstdint>
#include <vector>

#include "picture.h"

namespace picture_codecs {

std::vector<std::uint8_t> EncodeBmp24(const Picture& picture);

}  // namespace picture_codecs
