#pragma once
// A JPEG file read row by row, top to bottom, in the orientation it is stored in: the same
// pixels as its whole decode (before turning it upright) without holding the whole picture.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "picture.h"

struct StbJpegRows;

namespace picture_codecs {

class JpegScanThread;

class JpegRows {
public:
    // Empty for anything that is not a complete, well-formed JPEG within the size limits.
    // The reader keeps its own copy of the bytes, or takes them.
    static std::optional<JpegRows> Open(std::span<const std::uint8_t> bytes);
    static std::optional<JpegRows> Open(std::vector<std::uint8_t> bytes);
    JpegRows(JpegRows&&) noexcept;
    JpegRows& operator=(JpegRows&&) noexcept;
    ~JpegRows();

    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }
    // The EXIF orientation (1 to 8) that turns the stored picture upright.
    int Orientation() const { return orientation_; }
    // Rows handed out so far.
    std::uint32_t RowsRead() const { return rowsRead_; }
    // Write the next row as Width() RGB triples, or as Width() colour values (red in the
    // low byte, nothing above blue). A file's scan is decoded as its rows are read, so a
    // corrupt one may show only now: false then, and for every row after. The caller reads
    // at most Height() rows; the last is true only when the whole file was sound, and the
    // decoded file is let go with it.
    [[nodiscard]] bool ReadRow(std::uint8_t* rgb);
    [[nodiscard]] bool ReadColours(std::uint32_t* colours);
    // The rows not read yet, as a picture of their own; empty for a corrupt file.
    std::optional<Picture> ReadRest();

private:
    JpegRows() = default;
    bool Read(std::uint8_t* out, int channels);

    struct Close {
        void operator()(StbJpegRows* rows) const;
    };

    std::vector<std::uint8_t> bytes_;  // what a streamed scan reads from, so first made, last gone
    std::unique_ptr<StbJpegRows, Close> rows_;
    std::unique_ptr<JpegScanThread> scan_;  // stops before the rows it decodes into go
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    int orientation_ = 1;
    std::uint32_t rowsRead_ = 0;
    bool corrupt_ = false;
};

}  // namespace picture_codecs
