#include "kernel_host.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "app_globals.h"

KernelHost::KernelHost(const PixelImage& picture, const std::string& glyphFolder, int32_t slider, bool halfHeight)
    : picture_(picture), slider_(slider), halfHeight_(halfHeight)
{
    ScriptString charset = GlyphCharset();
    for (uint32_t i = 0; i < charset.Length(); ++i)
        glyphs_[charset[i]] = LoadGlyph(glyphFolder, charset[i]);
}

void KernelHost::ReadPictureSize()
{
    PictureWidth = picture_.width;
    PictureHeight = picture_.height;
}

bool KernelHost::DrawPictureStretched(int32_t width, int32_t height)
{
    auto key = std::make_pair(width, height);
    auto found = stretched_.find(key);
    if (found == stretched_.end())
        found = stretched_.emplace(key, StretchedOntoWhite(picture_, width, height)).first;
    drawn_ = &found->second;
    return true;
}

bool KernelHost::DrawPictureNatural()
{
    drawn_ = &picture_;
    return true;
}

void KernelHost::DrawGlyph(int32_t code)
{
    drawn_ = &glyphs_.at(code);
}

void KernelHost::ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours)
{
    for (int32_t dy = 0; dy < height; ++dy)
        for (int32_t dx = 0; dx < width; ++dx)
            *colours++ = drawn_->At(x + dx, y + dy);
}

std::string RunKernel(void (*method)(ConversionHost&), ConversionHost& host)
{
    CRLF = "\r\n";
    PictureFile = "C:\\bench.bmp";
    PictureExt = "bmp";
    ResetConversionState();
    host.ReadPictureSize();  // as loading the picture did
    method(host);
    return std::string(TextBuffer.Text(), TextBuffer.Length());
}

namespace {

double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

KernelTimes TimeExactKernel(const PixelImage& picture, const std::string& glyphFolder, int runs)
{
    ExactGlyphTable table;
    ScriptString charset = GlyphCharset();
    for (int32_t i = 0; i < GlyphCount; ++i)
        table.Set(i, LoadGlyph(glyphFolder, charset[static_cast<uint32_t>(i)]).colours.data());
    std::vector<uint32_t> cells;
    for (int y = 0; y + GlyphHeight <= picture.height; y += GlyphHeight)
        for (int x = 0; x + GlyphWidth <= picture.width; x += GlyphWidth)
            for (int p = 0; p < GlyphPixelCount; ++p)
                cells.push_back(picture.At(x + p % GlyphWidth, y + p / GlyphWidth));
    KernelTimes times;
    times.cells = static_cast<int>(cells.size() / GlyphPixelCount);
    std::vector<GlyphMatch> plain(static_cast<size_t>(times.cells)), avx2 = plain;
    auto timePath = [&](KernelPath path, std::vector<GlyphMatch>& chosen) {
        std::vector<double> ms;
        for (int run = 0; run < std::max(1, runs); ++run) {
            auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < times.cells; ++i)
                chosen[static_cast<size_t>(i)] =
                    table.Nearest(cells.data() + static_cast<size_t>(i) * GlyphPixelCount, path);
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        return MedianOf(ms);
    };
    times.plainMs = timePath(KernelPath::Plain, plain);
    times.avx2Ms = NAN;
    if (Avx2Available()) {
        times.avx2Ms = timePath(KernelPath::Avx2, avx2);
        for (size_t i = 0; i < plain.size(); ++i)
            times.same = times.same && plain[i].position == avx2[i].position && plain[i].distance == avx2[i].distance;
    }
    return times;
}
