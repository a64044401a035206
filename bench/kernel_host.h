#pragma once
// The conversion methods over pixels already in memory: the same picture and glyph images
// the program reads, no window, no messages. What is left of a conversion when nothing
// but the choosing of characters costs time.

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "conversion.h"
#include "exact_kernel.h"
#include "picture_model.h"

class KernelHost : public UnwatchedConversionHost {
public:
    // `picture` is what the program draws (the BMP file, or the BMP a JPEG became).
    KernelHost(const PixelImage& picture, const std::string& glyphFolder, int32_t slider, bool halfHeight);

    int32_t SliderPosition() override { return slider_; }
    bool HalfHeightChecked() override { return halfHeight_; }
    bool OriginalHeightChecked() override { return !halfHeight_; }
    void ReadPictureSize() override;
    bool DrawPictureStretched(int32_t width, int32_t height) override;
    bool DrawPictureNatural() override;
    void DrawGlyph(int32_t code) override;
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override;

private:
    const PixelImage& picture_;
    int32_t slider_;
    bool halfHeight_;
    std::map<int32_t, PixelImage> glyphs_;                         // loaded before any timing
    std::map<std::pair<int32_t, int32_t>, PixelImage> stretched_;  // made on the first run
    const PixelImage* drawn_ = nullptr;
};

// Runs `method` on `host` as the program runs it, after loading a BMP; the text it produced.
std::string RunKernel(void (*method)(ConversionHost&), ConversionHost& host);

// "Exakt"'s choice of glyph for every 8 × 15 cell of `picture`, on each path: medians of
// `runs` rounds, and whether both paths chose alike everywhere (AVX2 NAN without it).
struct KernelTimes {
    int cells = 0;
    double plainMs = 0;
    double avx2Ms = 0;
    bool same = true;
};
KernelTimes TimeExactKernel(const PixelImage& picture, const std::string& glyphFolder, int runs);
