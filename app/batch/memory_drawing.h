#pragma once
// The conversion without a window in memory: the program's off-screen draw buffer as a
// model of what was drawn into it, so that every pixel a method reads is the one the
// buffer of the window holds after the same drawing, with no device context, no bitmap
// file and no round trip through the graphics system. Needs no window.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "batch/command_options.h"
#include "conversion.h"
#include "picture.h"

using SharedPicture = std::shared_ptr<const picture_codecs::Picture>;

// `picture` stretched to width × height as the graphics system's StretchBlt does it with
// COLORONCOLOR: each target pixel takes one source pixel, none are blended. Width and
// height are positive.
picture_codecs::Picture StretchLikeBlit(const picture_codecs::Picture& picture, int32_t width, int32_t height);

// A refusal that ends the run: its exit code and German message.
struct BatchFailure {
    int exitCode;
    std::string message;
};

// The draw buffer: white at first, 2000 × 2000 pixels, growing (and white again) as the
// window's does; pictures are drawn at (0, 0), each over what was there.
class MemoryDrawBuffer {
public:
    MemoryDrawBuffer();

    // Makes room for width × height plus the margin; a picture beyond the limits is refused
    // with the window's message and `failureCode`.
    void Ensure(int32_t width, int32_t height, int32_t margin, const char* task, int failureCode);
    void Draw(SharedPicture picture);
    // Colour values (red in bits 0-7) of a block, row by row; outside the buffer CLR_INVALID.
    void Read(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) const;

private:
    uint32_t At(int32_t x, int32_t y) const;

    int32_t width_;
    int32_t height_;
    std::vector<SharedPicture> layers_;  // from the bottom; none covers a later one wholly
};

// The picture being converted, as the size reader and the drawing see it.
struct LoadedPicture {
    SharedPicture pixels;
    int32_t headerWidth = 0;  // what the size reader of its format finds
    int32_t headerHeight = 0;
};

// The conversion's surroundings without a window: the command line's options stand in for
// the controls, the draw buffer model for the window's.
class MemoryConversionHost : public UnwatchedConversionHost {
public:
    MemoryConversionHost(const CommandOptions& options, MemoryDrawBuffer& buffer, const LoadedPicture& picture,
                         int failureCode);

    int32_t SliderPosition() override { return options_.brightness; }
    bool HalfHeightChecked() override { return options_.halfHeight; }
    bool OriginalHeightChecked() override { return !options_.halfHeight; }
    void ReadPictureSize() override;
    bool DrawPictureStretched(int32_t width, int32_t height) override;
    bool DrawPictureNatural() override;
    void DrawGlyph(int32_t code) override;
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override;

private:
    const CommandOptions& options_;
    MemoryDrawBuffer& buffer_;
    const LoadedPicture& picture_;
    int failureCode_;
    bool pictureDrawn_ = false;
};
