#pragma once
// Scaling a picture to the size whose conversion gives a chosen number of columns, with an
// area-averaging filter: every target pixel is the mean of the source area it covers, each
// source pixel weighted by how much of it lies inside. Enlarging uses the same rule, which
// there becomes pixel mixing: a target pixel inside one source pixel takes its colour, one
// on a border blends the two by their shares. Needs no window.

#include <cstdint>
#include <functional>
#include <vector>

#include "batch/command_options.h"

struct PixelGrid {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> colours;  // 0x00BBGGRR (red in bits 0-7), row by row from the top
};

struct PictureSize {
    int32_t width;
    int32_t height;
};

// Each channel of every target pixel is the exact area-weighted mean, rounded to nearest.
PixelGrid ScaleByArea(const PixelGrid& source, int32_t width, int32_t height);
// The same with the source read row by row (in rising order): `readRow(y, colours)` fills
// the colours of source row y, so that the whole source is never held twice.
using SourceRowReader = std::function<void(int32_t y, uint32_t* colours)>;
PixelGrid ScaleByArea(int32_t sourceWidth, int32_t sourceHeight, const SourceRowReader& readRow, int32_t width,
                      int32_t height);
// The same with each target row handed to `writeRow` as it is made, top to bottom, so that
// the target need not be held as colour values.
using TargetRowWriter = std::function<void(const uint32_t* colours)>;
void ScaleByArea(int32_t sourceWidth, int32_t sourceHeight, const SourceRowReader& readRow, PictureSize size,
                 const TargetRowWriter& writeRow);

// The size, keeping the aspect ratio of width × height, whose conversion by `method` gives
// `columns` columns: 8 pixels a column for the glyph methods; for "4-Pixel (empfohlen)",
// whose scan is 8 pixels narrower than the picture, 2 pixels a column.
PictureSize SizeForColumns(BatchMethod method, int32_t columns, int32_t width, int32_t height);

// The most columns "4-Pixel (empfohlen)" can give: it scans at most 500 pixels wide.
constexpr int32_t FourPixelMaxColumns = 250;
