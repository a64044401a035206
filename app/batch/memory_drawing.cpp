#include "batch/memory_drawing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "app_globals.h"
#include "batch/glyph_table.h"
#include "cell_colours.h"
#include "window_conversion/draw_buffer_size.h"

namespace {

constexpr uint32_t OutsideTheBuffer = 0xFFFFFFFF;  // CLR_INVALID
constexpr uint32_t White = 0x00FFFFFF;

uint32_t ColourAt(const picture_codecs::Picture& picture, int32_t x, int32_t y)
{
    const uint8_t* pixel = picture.Pixel(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
    return pixel[0] | static_cast<uint32_t>(pixel[1]) << 8 | static_cast<uint32_t>(pixel[2]) << 16;
}

// The colour values of `count` consecutive pixels. Each but the last is read as four bytes
// at once, the fourth (the next pixel's first) masked off, so nothing past the run is read.
void ColoursOf(const uint8_t* pixels, int32_t count, uint32_t* colours)
{
    int32_t column = 0;
    if constexpr (std::endian::native == std::endian::little)
        for (; column + 1 < count; ++column, pixels += 3) {
            uint32_t colour;
            std::memcpy(&colour, pixels, sizeof colour);
            colours[column] = colour & 0x00FFFFFF;
        }
    for (; column < count; ++column, pixels += 3)
        colours[column] = pixels[0] | static_cast<uint32_t>(pixels[1]) << 8 | static_cast<uint32_t>(pixels[2]) << 16;
}

bool Covers(const picture_codecs::Picture& picture, int32_t width, int32_t height)
{
    return static_cast<int64_t>(picture.width) >= width && static_cast<int64_t>(picture.height) >= height;
}

// Which source pixel each target pixel along one axis takes. Measured against the
// graphics system on every pair of lengths up to 130: enlarging takes the source pixel
// under the target pixel's centre (a centre on a border takes the left one); shrinking
// takes, across, the pixel nearest to the end of the target pixel's share and, down, the
// one nearest to its start; one target column alone takes the last but one source column.
std::vector<uint32_t> SourceIndices(int64_t source, int64_t target, bool across)
{
    std::vector<uint32_t> indices(static_cast<size_t>(target));
    for (int64_t i = 0; i < target; ++i) {
        int64_t index = 0;
        if (target >= source)
            index = ((2 * i + 1) * source + 2 * target - 1) / (2 * target) - 1;
        else if (!across)
            index = (2 * i * source + target) / (2 * target);
        else if (target == 1)
            index = source - 2;
        else
            index = ((i + 1) * 2 * source + target) / (2 * target) - 1;
        indices[static_cast<size_t>(i)] = static_cast<uint32_t>(std::clamp<int64_t>(index, 0, source - 1));
    }
    return indices;
}

SharedPicture GlyphPicture(int32_t code)
{
    static std::array<SharedPicture, 256> made;
    SharedPicture& glyph = made[static_cast<uint8_t>(code)];
    const GlyphColours* colours = GlyphImageOf(code);
    if (!glyph && colours) {
        auto picture = std::make_shared<picture_codecs::Picture>(GlyphWidth, GlyphHeight);
        for (size_t i = 0; i < colours->size(); ++i) {
            uint32_t colour = (*colours)[i];
            for (size_t channel = 0; channel < 3; ++channel)
                picture->rgb[i * 3 + channel] = static_cast<uint8_t>(colour >> (8 * channel));
        }
        glyph = picture;
    }
    return glyph;
}

std::string TooLargeMessage(int32_t margin, const char* task)
{
    return "Das Bild ist zu groß für Glyphmill.\r\nEs können Bilder bis " + std::to_string(DrawBufferMaxSide - margin) +
           " Bildpunkte Breite und Höhe und bis 25 Millionen Bildpunkte " + task + " werden.";
}

}  // namespace

picture_codecs::Picture StretchLikeBlit(const picture_codecs::Picture& picture, int32_t width, int32_t height)
{
    picture_codecs::Picture stretched(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    std::vector<uint32_t> columns = SourceIndices(picture.width, width, true);
    std::vector<uint32_t> rows = SourceIndices(picture.height, height, false);
    uint8_t* target = stretched.rgb.data();
    for (uint32_t row : rows) {
        const uint8_t* line = picture.Pixel(0, row);
        for (uint32_t column : columns) {
            const uint8_t* pixel = line + size_t{column} * 3;
            *target++ = pixel[0];
            *target++ = pixel[1];
            *target++ = pixel[2];
        }
    }
    return stretched;
}

MemoryDrawBuffer::MemoryDrawBuffer() : width_(DrawBufferStartSide), height_(DrawBufferStartSide)
{
}

void MemoryDrawBuffer::Ensure(int32_t width, int32_t height, int32_t margin, const char* task, int failureCode)
{
    int32_t needWidth = width + margin;
    int32_t needHeight = height + margin;
    if (needWidth > DrawBufferMaxSide || needHeight > DrawBufferMaxSide ||
        int64_t{width} * height > DrawBufferMaxPixels)
        throw BatchFailure{failureCode, TooLargeMessage(margin, task)};
    if (needWidth <= width_ && needHeight <= height_)
        return;
    int32_t newWidth = std::max(needWidth, width_);
    int32_t newHeight = std::max(needHeight, height_);
    if (int64_t{newWidth} * newHeight > DrawBufferMaxPixels) {
        newWidth = needWidth;
        newHeight = needHeight;
    }
    width_ = newWidth;
    height_ = newHeight;
    layers_.clear();  // a new buffer is white
}

void MemoryDrawBuffer::Draw(SharedPicture picture)
{
    std::erase_if(layers_, [&](const SharedPicture& below) {
        return Covers(*picture, static_cast<int32_t>(below->width), static_cast<int32_t>(below->height));
    });
    layers_.push_back(std::move(picture));
}

uint32_t MemoryDrawBuffer::At(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return OutsideTheBuffer;
    for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer)
        if (static_cast<uint32_t>(x) < (*layer)->width && static_cast<uint32_t>(y) < (*layer)->height)
            return ColourAt(**layer, x, y);
    return White;
}

void MemoryDrawBuffer::Read(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) const
{
    // Most blocks lie wholly inside the picture drawn last.
    if (!layers_.empty() && x >= 0 && y >= 0 && Covers(*layers_.back(), x + width, y + height)) {
        const picture_codecs::Picture& top = *layers_.back();
        for (int32_t row = y; row < y + height; ++row, colours += width)
            ColoursOf(top.Pixel(static_cast<uint32_t>(x), static_cast<uint32_t>(row)), width, colours);
        return;
    }
    for (int32_t row = y; row < y + height; ++row)
        for (int32_t column = x; column < x + width; ++column)
            *colours++ = At(column, row);
}

MemoryConversionHost::MemoryConversionHost(const CommandOptions& options, MemoryDrawBuffer& buffer,
                                           const LoadedPicture& picture, int failureCode)
    : options_(options), buffer_(buffer), picture_(picture), failureCode_(failureCode)
{
}

void MemoryConversionHost::ReadPictureSize()
{
    PictureWidth = picture_.headerWidth;
    PictureHeight = picture_.headerHeight;
}

bool MemoryConversionHost::DrawPictureStretched(int32_t width, int32_t height)
{
    buffer_.Ensure(width, height, ConversionMargin, ConversionTask, failureCode_);
    // A stretch to no or a mirrored size leaves nothing inside the buffer.
    if (width > 0 && height > 0)
        buffer_.Draw(std::make_shared<picture_codecs::Picture>(StretchLikeBlit(*picture_.pixels, width, height)));
    pictureDrawn_ = true;
    return true;
}

bool MemoryConversionHost::DrawPictureNatural()
{
    buffer_.Ensure(PictureWidth, PictureHeight, ConversionMargin, ConversionTask, failureCode_);
    buffer_.Draw(picture_.pixels);
    pictureDrawn_ = true;
    return true;
}

void MemoryConversionHost::DrawGlyph(int32_t code)
{
    pictureDrawn_ = false;
    if (SharedPicture glyph = GlyphPicture(code))
        buffer_.Draw(glyph);
}

void MemoryConversionHost::ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours)
{
    buffer_.Read(x, y, width, height, colours);
    if (pictureDrawn_)
        TextColours.push_back(MeanColour(colours, static_cast<size_t>(width) * static_cast<size_t>(height)));
}
