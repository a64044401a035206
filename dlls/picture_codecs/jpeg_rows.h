#pragma once
// A JPEG file read row by row, top to bottom, in the orientation it is stored in: the same
// pixels as its whole decode (before turning it upright) without holding the whole picture.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "picture.h"

struct StbJpegRows;

namespace picture_codecs {

class JpegRows {
public:
    // Empty for anything that is not a complete, well-formed JPEG within the size limits.
    // The bytes need not outlive the reader.
    static std::optional<JpegRows> Open(std::span<const std::uint8_t> bytes);

    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }
    // The EXIF orientation (1 to 8) that turns the stored picture upright.
    int Orientation() const { return orientation_; }
    // Rows handed out so far.
    std::uint32_t RowsRead() const { return rowsRead_; }
    // Writes the next row as Width() RGB triples; the caller reads at most Height() rows,
    // and the decoded file is let go with the last.
    void ReadRow(std::uint8_t* rgb);
    // The rows not read yet, as a picture of their own.
    Picture ReadRest();

private:
    struct Close {
        void operator()(StbJpegRows* rows) const;
    };

    std::unique_ptr<StbJpegRows, Close> rows_;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    int orientation_ = 1;
    std::uint32_t rowsRead_ = 0;
};

}  // namespace picture_codecs
