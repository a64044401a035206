#pragma once
// Decoding of picture files whose format is told by their content, never by their name.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "picture.h"

namespace picture_codecs {

enum class PictureFormat { Unknown, Bmp, Gif, Jpeg, Png, Pcx, Tga };

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes);

// Empty for anything that is not a complete, well-formed picture within the size limits.
std::optional<Picture> DecodePicture(std::span<const std::uint8_t> bytes);

// The whole file, read in pieces (a pipe has no size to ask for); empty when it cannot be
// read or holds more than `maxBytes`.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes);

// Empty when the file cannot be read (or is larger than kMaxFileBytes) or decoded.
std::optional<Picture> DecodePictureFile(const std::string& path);

}  // namespace picture_codecs
