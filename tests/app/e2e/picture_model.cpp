#include "picture_model.h"

#include <cstdlib>
#include <fstream>
#include <map>

#include "services/pixel_format.h"
#include "windows/color_value.h"

namespace {

PixelImage FromBitmap(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    PixelImage image;
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    BITMAPINFO header = Format32Bit(image.width, image.height);
    std::vector<uint32_t> bgra(static_cast<size_t>(image.width) * image.height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, image.height, bgra.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    image.colours.reserve(bgra.size());
    for (uint32_t pixel : bgra)
        image.colours.push_back(SwapRedBlue(pixel));
    return image;
}

HBITMAP ToBitmap(const PixelImage& image)
{
    const BITMAPINFO header = Format32Bit(image.width, image.height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* out = static_cast<uint32_t*>(bits);
    for (uint32_t colour : image.colours)
        *out++ = SwapRedBlue(colour);
    return bitmap;
}

int Red(uint32_t colour)
{
    return static_cast<int>(colour & 0xFF);
}

// Candidate characters in the order in which ties are decided.
std::vector<int> Candidates()
{
    std::vector<int> codes{0x92};
    for (int c = 0xFF; c >= 0xE6; --c)
        codes.push_back(c);
    codes.push_back(0xD1);
    codes.push_back(0x20);
    for (int c = 0xE5; c >= 0xD2; --c)
        codes.push_back(c);
    for (int c = 0xD0; c >= 0xA1; --c)
        codes.push_back(c);
    codes.push_back(0x91);
    for (int c = 0x7E; c >= 0x28; --c)
        codes.push_back(c);
    for (int c = 0x26; c >= 0x23; --c)
        codes.push_back(c);
    codes.push_back(0x21);
    codes.push_back(0x27);
    codes.push_back(0x22);
    return codes;
}

template <typename ChooseCell>
std::string GlyphCells(const PixelImage& picture, ChooseCell choose)
{
    std::string text;
    for (int y = 0; y < picture.height; y += 15) {
        for (int x = 0; x < picture.width; x += 8)
            text.push_back(static_cast<char>(choose(x, y)));
        text += "\r\n";
    }
    return text;
}

}  // namespace

uint32_t PixelImage::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0xFFFFFF;
    return colours[static_cast<size_t>(y) * width + x];
}

PixelImage LoadBitmapFile(const std::string& path)
{
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap)
        return {};
    PixelImage image = FromBitmap(bitmap);
    DeleteObject(bitmap);
    return image;
}

PixelImage StretchedOntoWhite(const PixelImage& picture, int width, int height)
{
    PixelImage area;
    area.width = width;
    area.height = height;
    area.colours.assign(static_cast<size_t>(width) * height, 0xFFFFFF);
    HBITMAP target = ToBitmap(area);
    HBITMAP source = ToBitmap(picture);
    HDC targetDc = CreateCompatibleDC(nullptr);
    HDC sourceDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldTarget = SelectObject(targetDc, target);
    HGDIOBJ oldSource = SelectObject(sourceDc, source);
    SetStretchBltMode(targetDc, COLORONCOLOR);
    StretchBlt(targetDc, 0, 0, width, height, sourceDc, 0, 0, picture.width, picture.height, SRCCOPY);
    SelectObject(targetDc, oldTarget);
    SelectObject(sourceDc, oldSource);
    DeleteDC(targetDc);
    DeleteDC(sourceDc);
    PixelImage result = FromBitmap(target);
    DeleteObject(target);
    DeleteObject(source);
    return result;
}

PixelImage LoadGlyph(const std::string& folder, int code)
{
    static std::map<int, PixelImage> cache;
    if (auto found = cache.find(code); found != cache.end())
        return found->second;
    static HMODULE library = LoadLibraryExA((folder + "\\res.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::string name = "fixedsys" + std::to_string(code);
    auto bitmap = static_cast<HBITMAP>(LoadImageA(library, name.c_str(), IMAGE_BITMAP, 0, 0, 0));
    PixelImage glyph = bitmap ? FromBitmap(bitmap) : PixelImage{};
    if (bitmap)
        DeleteObject(bitmap);
    cache[code] = glyph;
    return glyph;
}

std::string FourPixelText(const PixelImage& picture, int slider, bool halfHeight)
{
    static const char Characters[] = " `\xB4\".)/F,\\(4_LJN";
    int width = picture.width - 8;
    int height = halfHeight ? picture.height / 2 : picture.height;
    if (width > 500) {
        double scale = width * 0.002;
        width = static_cast<int>(width / scale);
        height = static_cast<int>(height / scale);
    }
    PixelImage scanned = StretchedOntoWhite(picture, width, height);
    int threshold = 256 - slider;
    std::string text;
    for (int y = 0; y < height; y += 2) {
        for (int x = 0; x < width; x += 2) {
            int pattern = 0;
            if (Red(scanned.At(x, y)) < threshold)
                pattern |= 1;
            if (Red(scanned.At(x + 1, y)) < threshold)
                pattern |= 2;
            if (Red(scanned.At(x, y + 1)) < threshold)
                pattern |= 4;
            if (Red(scanned.At(x + 1, y + 1)) < threshold)
                pattern |= 8;
            text.push_back(Characters[pattern]);
        }
        text += "\r\n";
    }
    return text;
}

std::string ExactText(const PixelImage& picture, const std::string& glyphFolder)
{
    std::vector<int> codes = Candidates();
    return GlyphCells(picture, [&](int x, int y) {
        long long best = -1;
        int bestCode = codes[0];
        for (int code : codes) {
            PixelImage glyph = LoadGlyph(glyphFolder, code);
            long long distance = 0;
            for (int dy = 0; dy < 15; ++dy)
                for (int dx = 0; dx < 8; ++dx)
                    distance += std::llabs(static_cast<long long>(glyph.At(dx, dy)) - picture.At(x + dx, y + dy));
            if (best < 0 || distance < best) {
                best = distance;
                bestCode = code;
            }
        }
        return bestCode;
    });
}

std::string GreyscaleText(const PixelImage& picture, const std::string& glyphFolder, int slider)
{
    std::vector<int> codes = Candidates();
    std::map<int, int> levels;
    for (int code : codes) {
        PixelImage glyph = LoadGlyph(glyphFolder, code);
        int sum = 0;
        for (int dy = 0; dy < 15; ++dy)
            for (int dx = 0; dx < 8; ++dx)
                sum += Red(glyph.At(dx, dy));
        levels[code] = sum / 120;
    }
    return GlyphCells(picture, [&](int x, int y) {
        int sum = 0;
        for (int dy = 0; dy < 15; ++dy)
            for (int dx = 0; dx < 8; ++dx)
                sum += Red(picture.At(x + dx, y + dy)) + slider - 128;
        int level = sum / 120;
        int best = -1;
        int bestCode = codes[0];
        for (int code : codes) {
            int distance = std::abs(level - levels[code]);
            if (best < 0 || distance < best) {
                best = distance;
                bestCode = code;
            }
        }
        return bestCode;
    });
}

std::vector<unsigned char> RenderedBitmapFile(const std::string& text, const std::string& glyphFolder)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    int width = lines.empty() ? 0 : static_cast<int>(lines.back().size()) * 8;
    int height = static_cast<int>(lines.size()) * 15;
    int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> file(54 + static_cast<size_t>(rowBytes) * height, 0);
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y) {
        const std::string& line = lines[static_cast<size_t>(y / 15)];
        size_t row = 54 + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            size_t column = static_cast<size_t>(x / 8);
            uint32_t colour = column < line.size()
                                  ? LoadGlyph(glyphFolder, static_cast<unsigned char>(line[column])).At(x % 8, y % 15)
                                  : 0xFFFFFF;
            file[row + 3 * x] = static_cast<unsigned char>(colour >> 16);
            file[row + 3 * x + 1] = static_cast<unsigned char>(colour >> 8);
            file[row + 3 * x + 2] = static_cast<unsigned char>(colour);
        }
    }
    return file;
}

PixelImage LoadPortablePixmap(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    PixelImage image;
    file >> magic >> image.width >> image.height >> maximum;
    file.get();
    if (magic != "P6" || maximum != 255)
        return {};
    image.colours.resize(static_cast<size_t>(image.width) * image.height);
    for (uint32_t& colour : image.colours) {
        unsigned char rgb[3] = {};
        file.read(reinterpret_cast<char*>(rgb), 3);
        colour = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
    }
    return image;
}
