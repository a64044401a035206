#include "batch/scaled_picture.h"

#include <windows.h>

#include "app_globals.h"
#include "bmp_writer.h"
#include "conversion.h"
#include "window_conversion/draw_buffer_size.h"
#include "image_import.h"
#include "batch/picture_scaling.h"

namespace {

picture_codecs::Picture ToPicture(const PixelGrid& grid)
{
    picture_codecs::Picture picture(static_cast<uint32_t>(grid.width), static_cast<uint32_t>(grid.height));
    for (size_t i = 0; i < grid.colours.size(); ++i) {
        uint32_t colour = grid.colours[i];
        uint8_t* pixel = picture.rgb.data() + i * 3;
        pixel[0] = static_cast<uint8_t>(colour);
        pixel[1] = static_cast<uint8_t>(colour >> 8);
        pixel[2] = static_cast<uint8_t>(colour >> 16);
    }
    return picture;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool complete = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return CloseHandle(file) && complete;
}

}  // namespace

bool UseScaledPicture(DrawBufferConversionHost& host, BatchMethod method, int32_t columns, const std::string& folder,
                      std::string& copy)
{
    PictureSize size = SizeForColumns(method, columns, PictureWidth, PictureHeight);
    if (size.width == PictureWidth && size.height == PictureHeight)
        return true;
    // Both the picture and its scaled copy pass through the draw buffer.
    if (!EnsureDrawBuffer({size.width, size.height, ConversionMargin, ConversionTask}) || !host.DrawPictureNatural())
        return false;
    PixelGrid source{PictureWidth, PictureHeight, {}};
    source.colours.resize(static_cast<size_t>(PictureWidth) * static_cast<size_t>(PictureHeight));
    host.ReadPixels(0, 0, PictureWidth, PictureHeight, source.colours.data());
    PixelGrid scaled = ScaleByArea(source, size.width, size.height);
    copy = folder + "\\" + BaseNameOf(PictureFile).Text() + ".bmp";
    if (!WriteWholeFile(copy, picture_codecs::EncodeBmp24(ToPicture(scaled))))
        return false;
    TakePicture(copy.c_str());
    return true;
}
