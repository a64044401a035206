#include "kernel_host.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

#include "app_globals.h"
#include "decode_picture.h"

MemoryKernel::MemoryKernel(const std::string& bitmapPath, bool halfHeight)
{
    options.halfHeight = halfHeight;
    std::optional<picture_codecs::Picture> decoded = picture_codecs::DecodePictureFile(bitmapPath);
    if (!decoded)
        return;
    picture.headerWidth = static_cast<int32_t>(decoded->width);
    picture.headerHeight = static_cast<int32_t>(decoded->height);
    picture.pixels = std::make_shared<const picture_codecs::Picture>(std::move(*decoded));
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
    std::vector<GlyphMatch> plain(static_cast<size_t>(times.cells)), avx2 = plain, fastest = plain;
    // Without a path, the fastest this processor runs for this table.
    auto timePath = [&](std::optional<KernelPath> path, std::vector<GlyphMatch>& chosen) {
        std::vector<double> ms;
        for (int run = 0; run < std::max(1, runs); ++run) {
            auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < times.cells; ++i) {
                const uint32_t* cell = cells.data() + static_cast<size_t>(i) * GlyphPixelCount;
                chosen[static_cast<size_t>(i)] = path ? table.Nearest(cell, *path) : table.Nearest(cell);
            }
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        return MedianOf(ms);
    };
    auto same = [&](const std::vector<GlyphMatch>& other) {
        for (size_t i = 0; i < plain.size(); ++i)
            times.same = times.same && plain[i].position == other[i].position && plain[i].distance == other[i].distance;
    };
    times.plainMs = timePath(KernelPath::Plain, plain);
    times.avx2Ms = NAN;
    if (Avx2Available()) {
        times.avx2Ms = timePath(KernelPath::Avx2, avx2);
        same(avx2);
    }
    times.fastestMs = timePath(std::nullopt, fastest);
    same(fastest);
    return times;
}
