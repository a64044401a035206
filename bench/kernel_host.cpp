#include "kernel_host.h"

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

std::string RunKernel(void (*method)(ConversionHost&), KernelHost& host)
{
    CRLF = "\r\n";
    PictureFile = "C:\\bench.bmp";
    PictureExt = "bmp";
    ResetConversionState();
    host.ReadPictureSize();  // as loading the picture did
    method(host);
    return std::string(TextBuffer.Text(), TextBuffer.Length());
}
