#include "decode_picture.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "format_decoders.h"

namespace picture_codecs {

namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> magic)
{
    if (bytes.size() < magic.size())
        return false;
    std::size_t i = 0;
    for (std::uint8_t m : magic)
        if (bytes[i++] != m)
            return false;
    return true;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes)
{
    if (StartsWith(bytes, {'B', 'M'}))
        return PictureFormat::Bmp;
    if (StartsWith(bytes, {'G', 'I', 'F', '8'}))
        return PictureFormat::Gif;
    if (StartsWith(bytes, {0xFF, 0xD8, 0xFF}))
        return PictureFormat::Jpeg;
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return PictureFormat::Png;
    if (bytes.size() >= 128 && bytes[0] == 0x0A && bytes[1] <= 5 && bytes[2] <= 1)
        return PictureFormat::Pcx;
    if (LooksLikeTga(bytes))
        return PictureFormat::Tga;
    return PictureFormat::Unknown;
}

std::optional<Picture> DecodePicture(std::span<const std::uint8_t> bytes)
{
    switch (DetectPictureFormat(bytes)) {
    case PictureFormat::Bmp:
        return DecodeBmp(bytes);
    case PictureFormat::Gif:
        return DecodeGif(bytes);
    case PictureFormat::Jpeg:
        return DecodeJpeg(bytes);
    case PictureFormat::Png:
        return DecodePng(bytes);
    case PictureFormat::Pcx:
        return DecodePcx(bytes);
    case PictureFormat::Tga:
        return DecodeTga(bytes);
    case PictureFormat::Unknown:
        break;
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (bytes.size() + got > maxBytes)
            return std::nullopt;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}

std::optional<Picture> DecodePictureFile(const std::string& path)
{
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    return DecodePicture(*bytes);
}

}  // namespace picture_codecs
