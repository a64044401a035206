#pragma once
// One decoder per format; DecodePicture chooses among them.

#include <cstdint>
#include <optional>
#include <span>

#include "picture.h"

namespace picture_codecs {

std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> bytes);
std::optional<Picture> DecodeGif(std::span<const std::uint8_t> bytes);
std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes);
std::optional<Picture> DecodePng(std::span<const std::uint8_t> bytes);
std::optional<Picture> DecodePcx(std::span<const std::uint8_t> bytes);
std::optional<Picture> DecodeTga(std::span<const std::uint8_t> bytes);

// The TGA header has no signature; this tells whether its fields make sense.
bool LooksLikeTga(std::span<const std::uint8_t> bytes);

}  // namespace picture_codecs
