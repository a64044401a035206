#include "batch/memory_batch.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <new>
#include <optional>

#include "app_globals.h"
#include "batch/console_output.h"
#include "batch/glyph_table.h"
#include "batch/memory_drawing.h"
#include "batch/output_file.h"
#include "batch/picture_scaling.h"
#include "cell_colours.h"
#include "conversion.h"
#include "decode_picture.h"
#include "exif_orientation.h"
#include "export_layout.h"
#include "jpeg_rows.h"
#include "picture_extension.h"
#include "picture_path.h"
#include "values/number_text.h"
#include "values/string_functions.h"
#include "window_conversion/draw_buffer_size.h"

namespace {

using picture_codecs::JpegRows;
using picture_codecs::Picture;

// The name the window gives a JPEG's converted copy; a JPEG's page keeps it as its title.
constexpr char JpegCopyName[] = "_temp.bmp";
constexpr char BitmapTask[] = "als Grafik gespeichert";
constexpr uint32_t BmpHeadersSize = 14 + 40;

bool IsPictureExtension(const ScriptString& extension)
{
    for (const char* known : {"bmp", "dib", "gif", "pcx", "tga"})
        if (StrEqual(extension, known))
            return true;
    return IsJpegExtension(extension);
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What the window says of a JPEG it cannot read; a streamed one may show that only as its
// rows are read.
BatchFailure UnreadableJpeg(const std::string& given)
{
    return BatchFailure{ExitPictureUnreadable, "Das JPEG-Bild kann nicht gelesen werden: " + given};
}

// The size as the window's size reader of the format finds it in the header: 16-bit
// words, a bitmap's height as its magnitude; bytes past the file's end read as zero.
void ReadHeaderSize(const ScriptString& extension, const std::vector<uint8_t>& bytes, LoadedPicture& picture)
{
    auto word = [&](size_t offset) {
        auto byte = [&](size_t at) { return at < bytes.size() ? bytes[at] : uint8_t{0}; };
        return static_cast<int32_t>(byte(offset) | byte(offset + 1) << 8);
    };
    if (StrEqual(extension, "gif")) {
        picture.headerWidth = word(6);
        picture.headerHeight = word(8);
    } else if (StrEqual(extension, "bmp") || StrEqual(extension, "dib")) {
        picture.headerWidth = word(18);
        int32_t height = static_cast<int32_t>(static_cast<uint32_t>(word(22)) | static_cast<uint32_t>(word(24)) << 16);
        int32_t magnitude = height == INT32_MIN ? INT32_MAX : std::abs(height);
        picture.headerHeight = magnitude & 0xFFFF;
    } else if (StrEqual(extension, "pcx")) {
        picture.headerWidth = word(8) + 1;
        picture.headerHeight = word(10) + 1;
    } else if (StrEqual(extension, "tga")) {
        picture.headerWidth = word(12);
        picture.headerHeight = word(14);
    }
}

// A bitmap file (as the window's converted copies are) holding `pixels`: its size reader
// finds the 16-bit width and the height.
void TakeDecoded(Picture pixels, LoadedPicture& picture)
{
    picture.headerWidth = static_cast<int32_t>(pixels.width & 0xFFFF);
    picture.headerHeight = static_cast<int32_t>(pixels.height & 0xFFFF);
    picture.pixels = std::make_shared<const Picture>(std::move(pixels));
}

// An upright JPEG's pixels stay unread in `unread`, so that scaling can take its rows
// without the whole picture; any other picture is decoded whole.
LoadedPicture LoadPicture(const std::string& given, std::optional<JpegRows>& unread)
{
    PictureProblem problem = CheckPictureFile(given);
    if (problem != PictureProblem::None)
        throw BatchFailure{ExitPictureUnreadable, PictureProblemText(problem, given)};
    std::string full = FullPath(given);
    ScriptString extension = StrLower(StrRight(full.c_str(), 3));
    if (!IsPictureExtension(extension))
        throw BatchFailure{ExitPictureUnreadable,
                           "Das Bildformat von " + given + " wird nicht unterstützt (BMP, DIB, GIF, JPEG, PCX, TGA)."};
    std::optional<std::vector<uint8_t>> read = picture_codecs::ReadFileBytes(full, UINT64_MAX);
    if (!read)
        throw BatchFailure{ExitPictureUnreadable, PictureProblemText(PictureProblem::Unreadable, given)};
    const std::vector<uint8_t>& bytes = *read;
    LoadedPicture picture;
    // The title of a page is the base name of the file converted: the JPEG's copy, or the
    // picture itself.
    PictureFile = FileNameOf(full).c_str();
    if (IsJpegExtension(extension)) {
        PictureFile = JpegCopyName;
        // The content tells the format, whatever the name says.
        if (picture_codecs::DetectPictureFormat(bytes) == picture_codecs::PictureFormat::Jpeg) {
            // The rows take the file's bytes: nothing below reads them for a JPEG.
            std::optional<JpegRows> rows = JpegRows::Open(std::move(*read));
            if (!rows)
                throw UnreadableJpeg(given);
            picture.headerWidth = static_cast<int32_t>(rows->Width());
            picture.headerHeight = static_cast<int32_t>(rows->Height());
            if (rows->Orientation() == 1) {
                unread = std::move(rows);
            } else {
                std::optional<Picture> stored = rows->ReadRest();
                if (!stored)
                    throw UnreadableJpeg(given);
                TakeDecoded(picture_codecs::ApplyOrientation(*stored, rows->Orientation()), picture);
            }
        } else {
            std::optional<Picture> decoded = picture_codecs::DecodePicture(bytes);
            if (!decoded)
                throw UnreadableJpeg(given);
            TakeDecoded(std::move(*decoded), picture);
        }
    } else {
        ReadHeaderSize(extension, bytes, picture);
    }
    if (picture.headerWidth <= 0 || picture.headerHeight <= 0)
        throw BatchFailure{ExitPictureUnreadable, "Das Bild hat keine lesbare Größe: " + given};
    if (!picture.pixels && !unread) {
        std::optional<Picture> decoded = picture_codecs::DecodePicture(bytes);
        // What the decoder refuses (a cut-off file, say) would be drawn with made-up pixels
        // or not at all.
        if (!decoded)
            throw BatchFailure{ExitPictureUnreadable, "Das Bild kann nicht entschlüsselt werden: " + given};
        picture.pixels = std::make_shared<const Picture>(std::move(*decoded));
    }
    PictureWidth = picture.headerWidth;
    PictureHeight = picture.headerHeight;
    return picture;
}

void AppendRgb(const uint32_t* colours, uint32_t count, std::vector<uint8_t>& rgb)
{
    const size_t at = rgb.size();
    rgb.resize(at + size_t{count} * 3);
    for (uint32_t x = 0; x < count; ++x)
        for (size_t channel = 0; channel < 3; ++channel)
            rgb[at + x * 3 + channel] = static_cast<uint8_t>(colours[x] >> (8 * channel));
}

// Scales an upright JPEG straight from its rows. Drawn into the fresh draw buffer (which
// it fits, or Ensure refuses it as before), the picture would be the top layer over every
// row read, so the rows are exactly what the buffer would give. Of the drawn picture the
// conversion can later see only what lies below or beside the scaled picture, never more
// than its margin past the scaled size: just that top-left corner is kept, and drawn as
// the picture would have been.
void ScaleJpegRows(JpegRows& rows, MemoryDrawBuffer& buffer, PictureSize size, const std::string& given,
                   const TargetRowWriter& writeRow)
{
    buffer.Ensure(PictureWidth, PictureHeight, ConversionMargin, ConversionTask, ExitPictureUnreadable);
    const uint32_t keptWidth = std::min(rows.Width(), static_cast<uint32_t>(size.width + ConversionMargin));
    const uint32_t keptHeight = std::min(rows.Height(), static_cast<uint32_t>(size.height + ConversionMargin));
    // Filled as the rows come, so that its memory grows as the planes' memory is let go.
    Picture kept;
    kept.width = keptWidth;
    kept.height = keptHeight;
    kept.rgb.reserve(size_t{keptWidth} * keptHeight * 3);
    auto readNext = [&](uint32_t* colours) {
        const uint32_t y = rows.RowsRead();
        if (!rows.ReadColours(colours))
            throw UnreadableJpeg(given);
        if (y < keptHeight)
            AppendRgb(colours, keptWidth, kept.rgb);
    };
    // The scaler asks for rows in rising order: the one read last is the one asked for.
    SourceRowReader readRow = [&](int32_t y, uint32_t* colours) {
        while (rows.RowsRead() <= static_cast<uint32_t>(y))
            readNext(colours);
    };
    ScaleByArea(PictureWidth, PictureHeight, readRow, size, writeRow);
    // Every row is read, for the corner and for the verdict on the file's end.
    std::vector<uint32_t> rest(rows.Width());
    while (rows.RowsRead() < rows.Height())
        readNext(rest.data());
    buffer.Draw(std::make_shared<const Picture>(std::move(kept)));
}

// The picture as the draw buffer holds it after drawing, scaled for the columns asked for.
void ScaleForColumns(const CommandOptions& options, MemoryDrawBuffer& buffer, LoadedPicture& picture,
                     std::optional<JpegRows>& unread)
{
    PictureSize size = SizeForColumns(options.method, options.columns, PictureWidth, PictureHeight);
    if (size.width == PictureWidth && size.height == PictureHeight)
        return;
    // Both the picture and its scaled copy pass through the draw buffer.
    buffer.Ensure(size.width, size.height, ConversionMargin, ConversionTask, ExitPictureUnreadable);
    // The scaled rows go straight into the picture that takes the place of the loaded one.
    Picture scaled;
    scaled.width = static_cast<uint32_t>(size.width);
    scaled.rgb.reserve(size_t{scaled.width} * static_cast<uint32_t>(size.height) * 3);
    TargetRowWriter writeRow = [&](const uint32_t* colours) {
        AppendRgb(colours, scaled.width, scaled.rgb);
        ++scaled.height;
    };
    if (unread) {
        ScaleJpegRows(*unread, buffer, size, options.picture, writeRow);
        unread.reset();
    } else {
        MemoryConversionHost host(options, buffer, picture, ExitPictureUnreadable);
        host.DrawPictureNatural();
        SourceRowReader readRow = [&](int32_t y, uint32_t* colours) { buffer.Read(0, y, PictureWidth, 1, colours); };
        ScaleByArea(PictureWidth, PictureHeight, readRow, size, writeRow);
    }
    TakeDecoded(std::move(scaled), picture);
    PictureWidth = picture.headerWidth;
    PictureHeight = picture.headerHeight;
}

void Convert(const CommandOptions& options, MemoryDrawBuffer& buffer, const LoadedPicture& picture)
{
    ResetConversionState();
    MemoryConversionHost host(options, buffer, picture, ExitPictureUnreadable);
    switch (options.method) {
    case BatchMethod::FourPixel:
        ConvertFourPixel(host);
        break;
    case BatchMethod::Exact:
        ConvertExact(host);
        break;
    case BatchMethod::Greyscale:
        ConvertGreyscale(host);
        break;
    }
}

void AppendLittleEndian(std::string& bytes, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>(value >> (8 * i));
}

// The glyphs of the result laid out as the window's bitmap export draws them, each in its
// cell's colour on white when coloured, as a 24-bit bottom-up bitmap file.
std::string BitmapBytes(const CommandOptions& options, MemoryDrawBuffer& buffer)
{
    BitmapArea area = LayGlyphs(TextBuffer, [](GlyphPlacement) {});
    int32_t neededWidth = 0;
    LayGlyphs(TextBuffer, [&](GlyphPlacement glyph) { neededWidth = std::max(neededWidth, glyph.x + CellWidth); });
    buffer.Ensure(neededWidth, area.height, 0, BitmapTask, ExitOutputUnwritable);
    // Before any conversion there is nothing to save, and no empty file is written.
    if (area.width <= 0 || area.height <= 0)
        return {};
    std::vector<uint32_t> pixels(static_cast<size_t>(area.width) * static_cast<size_t>(area.height), 0x00FFFFFF);
    size_t cell = 0;
    LayGlyphs(TextBuffer, [&](GlyphPlacement glyph) {
        const GlyphColours* colours = GlyphImageOf(glyph.code);
        uint32_t tint = !options.colour ? 0 : cell < TextColours.size() ? TextColours[cell] : 0;
        ++cell;
        if (!colours)
            return;
        for (int32_t y = 0; y < CellHeight; ++y)
            for (int32_t x = 0; x < CellWidth && glyph.x + x < area.width; ++x)
                pixels[static_cast<size_t>(glyph.y + y) * static_cast<size_t>(area.width) +
                       static_cast<size_t>(glyph.x + x)] = (*colours)[static_cast<size_t>(y * CellWidth + x)] | tint;
    });
    uint32_t rowBytes = (static_cast<uint32_t>(area.width) * 3 + 3) & ~3u;
    uint32_t imageBytes = rowBytes * static_cast<uint32_t>(area.height);
    std::string bytes = "BM";
    AppendLittleEndian(bytes, BmpHeadersSize + imageBytes, 4);
    AppendLittleEndian(bytes, 0, 4);
    AppendLittleEndian(bytes, BmpHeadersSize, 4);
    for (uint32_t value : {40u, static_cast<uint32_t>(area.width), static_cast<uint32_t>(area.height)})
        AppendLittleEndian(bytes, value, 4);
    AppendLittleEndian(bytes, 1, 2);
    AppendLittleEndian(bytes, 24, 2);
    for (int field = 0; field < 6; ++field)  // no compression, size, resolution or colour table
        AppendLittleEndian(bytes, 0, 4);
    bytes.reserve(bytes.size() + imageBytes);
    for (int32_t row = area.height - 1; row >= 0; --row) {
        const uint32_t* line = pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(area.width);
        for (int32_t x = 0; x < area.width; ++x) {
            bytes += static_cast<char>(line[x] >> 16);
            bytes += static_cast<char>(line[x] >> 8);
            bytes += static_cast<char>(line[x]);
        }
        bytes.append(rowBytes - static_cast<uint32_t>(area.width) * 3, '\0');
    }
    return bytes;
}

std::string ResultBytes(const CommandOptions& options, MemoryDrawBuffer& buffer)
{
    std::string text(TextBuffer.Text(), TextBuffer.Length());
    ScriptString fontSize = IntToStr(options.fontSize);
    switch (options.form) {
    case OutputForm::Text:
        return text;
    case OutputForm::Html:
        if (options.colour)
            return std::string(HtmlHeader(HtmlEscaped(PictureBaseName.Text()).c_str(), fontSize).View()) +
                   ColouredHtmlLines(TextBuffer, TextColours) + std::string(HtmlFooter().View());
        return std::string(HtmlHeader(PictureBaseName, fontSize).View()) + text + std::string(HtmlFooter().View());
    case OutputForm::Bitmap:
        return BitmapBytes(options, buffer);
    case OutputForm::Console:
        break;
    }
    return {};
}

// The file appears under its name only when complete; a file of that name stays as it was
// when writing fails.
void WriteResult(const CommandOptions& options, MemoryDrawBuffer& buffer)
{
    if (options.form == OutputForm::Console) {
        bool written = false;
        if (options.colour) {
            EnableConsoleColour();
            std::string coloured = AnsiColouredLines(TextBuffer, TextColours);
            written = WriteStandardOutput(coloured.data(), coloured.size());
        } else {
            written = WriteStandardOutput(TextBuffer.Text(), TextBuffer.Length());
        }
        if (!written)
            throw BatchFailure{ExitOutputUnwritable, "Die Standardausgabe kann nicht geschrieben werden."};
        return;
    }
    const std::string notWritten = "Die Datei kann nicht geschrieben werden: " + options.output;
    std::string target = FullPath(options.output);
    // Renaming may replace a write-protected file, which writing it never would.
    if (IsFolderOrWriteProtected(target))
        throw BatchFailure{ExitOutputUnwritable,
                           "Die Datei kann nicht geschrieben werden (Ordner oder schreibgeschützt): " + options.output};
    std::string bytes = ResultBytes(options, buffer);
    if (bytes.empty() && options.form == OutputForm::Bitmap)
        throw BatchFailure{ExitOutputUnwritable, notWritten};
    std::string partial = target + ".~glyphmill";
    bool complete = false;
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        complete = file && file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && file.flush();
    }
    if (!complete || !MoveIntoPlace(partial, target)) {
        std::remove(partial.c_str());
        throw BatchFailure{ExitOutputUnwritable, notWritten};
    }
}

}  // namespace

int ConvertInMemory(const CommandOptions& options)
{
    CRLF = "\r\n";
    try {
        MemoryDrawBuffer buffer;
        std::optional<JpegRows> unread;
        LoadedPicture picture = LoadPicture(options.picture, unread);
        if (options.columns > 0)
            ScaleForColumns(options, buffer, picture, unread);
        if (unread) {  // converted at its own size
            std::optional<Picture> whole = unread->ReadRest();
            if (!whole)
                throw UnreadableJpeg(options.picture);
            picture.pixels = std::make_shared<const Picture>(std::move(*whole));
            unread.reset();
        }
        Convert(options, buffer, picture);
        WriteResult(options, buffer);
        return ExitSuccess;
    } catch (const BatchFailure& failure) {
        WriteStandardError(failure.message + "\r\n");
        return failure.exitCode;
    } catch (const std::bad_alloc&) {
        WriteStandardError("Für das Bild reicht der Speicher nicht: " + options.picture + "\r\n");
        return ExitPictureUnreadable;
    }
}
