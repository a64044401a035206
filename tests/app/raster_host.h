#pragma once
// A conversion host over an in-memory draw buffer: the picture and the glyph images are
// rasters of colour values, drawn at (0, 0) like the program draws them.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "conversion.h"

struct Raster {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // row by row

    Raster() = default;
    Raster(int32_t w, int32_t h, uint32_t colour) : width(w), height(h), pixels(static_cast<size_t>(w) * h, colour) {}
    uint32_t& At(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class RasterHost : public ConversionHost {
public:
    static constexpr int32_t BufferSize = 2000;

    Raster picture;
    std::map<int32_t, Raster> glyphs;  // by character code
    int32_t slider = 128;
    bool halfHeight = true;
    int32_t pictureWidth = 0;  // what the size reader finds
    int32_t pictureHeight = 0;
    int32_t cancelAfterCells = -1;  // "Abbrechen" once this many cells are done
    bool pictureTooLarge = false;   // the draw buffer refuses the picture

    std::vector<int32_t> progress;
    std::vector<std::string> texts;
    std::vector<std::pair<int32_t, int32_t>> stretches;
    int unlocks = 0;
    std::vector<std::pair<size_t, int>> completions;  // texts shown and unlocks done by then
    int cells = 0;

    RasterHost() : buffer_(BufferSize, BufferSize, 0xFFFFFF) {}

    int32_t SliderPosition() override { return slider; }
    bool HalfHeightChecked() override { return halfHeight; }
    bool OriginalHeightChecked() override { return !halfHeight; }
    void ReadPictureSize() override;
    bool DrawPictureStretched(int32_t width, int32_t height) override;
    bool DrawPictureNatural() override;
    void DrawGlyph(int32_t code) override { Draw(glyphs.at(code)); }
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override;
    void ShowProgress(int32_t position) override { progress.push_back(position); }
    void ShowText(const char* text) override { texts.emplace_back(text); }
    void CompleteText() override { completions.emplace_back(texts.size(), unlocks); }
    bool CancelRequested() override { return ++cells == cancelAfterCells; }
    void UnlockControls() override { ++unlocks; }

    // Every glyph a plain block whose red level and colour are given per code.
    void UseGlyphs(uint32_t (*colourOf)(int32_t code));

private:
    void Draw(const Raster& image);
    Raster buffer_;
};
