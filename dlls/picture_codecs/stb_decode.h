#pragma once
// Decoding through stb_image into RGBA; the callers check the file's structure first.

#include <cstdint>
#include <optional>
#include <span>

#include "picture.h"

namespace picture_codecs {

// RGBA composited over white.
std::optional<Picture> DecodeWithStb(std::span<const std::uint8_t> bytes);

}  // namespace picture_codecs
