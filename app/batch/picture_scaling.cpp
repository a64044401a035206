#include "batch/picture_scaling.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

constexpr int32_t FourPixelMargin = 8;  // the scan leaves out this many pixels of the width
constexpr int32_t FourPixelColumnWidth = 2;
constexpr int32_t GlyphColumnWidth = 8;
constexpr int ChannelCount = 3;
constexpr uint32_t ChannelMax = 0xFF;

// For each target pixel along one axis, the source pixels it covers and how much of each,
// in one flat table. Lengths are measured so that a source pixel is `targetLength / g`
// long and a target pixel `sourceLength / g` (g their greatest common divisor: every
// border lies on a multiple of it), so that the weights stay as small as they can be.
struct AxisShares {
    std::vector<int32_t> first;     // per target pixel, the first source pixel it covers
    std::vector<uint32_t> begin;    // per target pixel and one past the last: its weights' start
    std::vector<uint32_t> weights;  // of consecutive source pixels from `first`
    uint32_t total = 0;             // what the weights of every target pixel sum to
    int32_t boxRatio = 0;  // k when each target pixel covers exactly k whole source pixels, else 0
};

AxisShares SharesAlong(int32_t sourceLength, int32_t targetLength)
{
    int64_t common = std::gcd(sourceLength, targetLength);
    int64_t sourcePixel = targetLength / common;
    int64_t targetPixel = sourceLength / common;
    AxisShares shares;
    shares.total = static_cast<uint32_t>(targetPixel);
    shares.boxRatio = sourcePixel == 1 ? static_cast<int32_t>(targetPixel) : 0;
    shares.first.reserve(static_cast<size_t>(targetLength));
    shares.begin.reserve(static_cast<size_t>(targetLength) + 1);
    shares.weights.reserve(static_cast<size_t>(sourceLength) + static_cast<size_t>(targetLength));
    for (int64_t t = 0; t < targetLength; ++t) {
        int64_t begin = t * targetPixel;
        int64_t end = begin + targetPixel;
        shares.first.push_back(static_cast<int32_t>(begin / sourcePixel));
        shares.begin.push_back(static_cast<uint32_t>(shares.weights.size()));
        for (int64_t s = begin / sourcePixel; s * sourcePixel < end; ++s)
            shares.weights.push_back(
                static_cast<uint32_t>(std::min(end, (s + 1) * sourcePixel) - std::max(begin, s * sourcePixel)));
    }
    shares.begin.push_back(static_cast<uint32_t>(shares.weights.size()));
    return shares;
}

// floor((sum + divisor / 2) / divisor) for sums up to 255 × divisor, where that plus half
// the divisor fits in 32 bits. A power of two shifts. Any other divisor d ≥ 3 multiplies
// by m = ceil(2^64 / d) and keeps the high 64 bits: m·n / 2^64 = n/d + e·n / 2^64 with
// 0 ≤ e < 1, and for n < 2^32 that excess stays below 2^-32 < 1/d, less than the gap
// from n/d to the next integer, so the floor is exact.
class RoundingDivider {
public:
    explicit RoundingDivider(uint32_t divisor) : half_(divisor / 2), byShift_((divisor & (divisor - 1)) == 0)
    {
        if (byShift_) {
            while ((uint32_t{1} << shift_) < divisor)
                ++shift_;
            return;
        }
        uint64_t magic = std::numeric_limits<uint64_t>::max() / divisor + 1;
        magicHigh_ = magic >> 32;
        magicLow_ = magic & 0xFFFFFFFF;
    }

    uint32_t operator()(uint32_t sum) const
    {
        uint64_t n = sum + half_;
        if (byShift_)
            return static_cast<uint32_t>(n >> shift_);
        // The high half of the 96-bit product, from two products that fit 64 bits.
        return static_cast<uint32_t>((n * magicHigh_ + ((n * magicLow_) >> 32)) >> 32);
    }

private:
    uint32_t half_;
    bool byShift_;
    uint32_t shift_ = 0;
    uint64_t magicHigh_ = 0;
    uint64_t magicLow_ = 0;
};

// Sums that exceed 32 bits (only a picture of more than 16.8 million pixels against a
// coprime target size) divide plainly.
class WideDivider {
public:
    explicit WideDivider(uint64_t divisor) : divisor_(divisor) {}
    uint64_t operator()(uint64_t sum) const { return (sum + divisor_ / 2) / divisor_; }

private:
    uint64_t divisor_;
};

// A source row scaled along x: per target pixel, its three channels' weighted sums.
template <typename Sum>
void ScaleRowAlongX(const AxisShares& shares, const uint32_t* pixels, Sum* sums)
{
    size_t width = shares.first.size();
    // Whole source pixels of weight one: red and blue add in two 16-bit halves, which hold
    // 257 × 255 at most.
    constexpr int32_t SplitBoxMax = 257;
    if (shares.boxRatio > 0 && shares.boxRatio <= SplitBoxMax) {
        auto ratio = static_cast<size_t>(shares.boxRatio);
        for (size_t x = 0; x < width; ++x, pixels += ratio, sums += ChannelCount) {
            uint32_t redBlue = 0;
            uint32_t green = 0;
            for (size_t i = 0; i < ratio; ++i) {
                redBlue += pixels[i] & 0x00FF00FF;
                green += (pixels[i] >> 8) & ChannelMax;
            }
            sums[0] = redBlue & 0xFFFF;
            sums[1] = green;
            sums[2] = redBlue >> 16;
        }
        return;
    }
    for (size_t x = 0; x < width; ++x, sums += ChannelCount) {
        const uint32_t* pixel = pixels + shares.first[x];
        Sum red = 0, green = 0, blue = 0;
        for (uint32_t j = shares.begin[x]; j < shares.begin[x + 1]; ++j, ++pixel) {
            Sum weight = shares.weights[j];
            red += (*pixel & ChannelMax) * weight;
            green += ((*pixel >> 8) & ChannelMax) * weight;
            blue += ((*pixel >> 16) & ChannelMax) * weight;
        }
        sums[0] = red;
        sums[1] = green;
        sums[2] = blue;
    }
}

// Rows scaled along x, each source row read and scaled once: rows are asked for in rising
// order, and a row that two target rows share is the last one the first of them asks for.
template <typename Sum>
class ScaledRows {
public:
    ScaledRows(int32_t sourceWidth, const SourceRowReader& readRow, const AxisShares& shares)
        : readRow_(readRow),
          shares_(shares),
          pixels_(static_cast<size_t>(sourceWidth)),
          sums_(shares.first.size() * ChannelCount)
    {
    }

    const Sum* Row(int32_t y)
    {
        if (y != row_) {
            row_ = y;
            readRow_(y, pixels_.data());
            ScaleRowAlongX(shares_, pixels_.data(), sums_.data());
        }
        return sums_.data();
    }

private:
    const SourceRowReader& readRow_;
    const AxisShares& shares_;
    std::vector<uint32_t> pixels_;  // the source row being scaled
    std::vector<Sum> sums_;
    int32_t row_ = -1;
};

template <typename Sum, typename Divider>
void Scale(int32_t sourceWidth, const SourceRowReader& readRow, const AxisShares& across, const AxisShares& down,
           const Divider& divide, PixelGrid& target)
{
    ScaledRows<Sum> rows(sourceWidth, readRow, across);
    size_t values = static_cast<size_t>(target.width) * ChannelCount;
    std::vector<Sum> sums(values);
    uint32_t* out = target.colours.data();
    for (size_t y = 0; y < static_cast<size_t>(target.height); ++y) {
        auto source = static_cast<int32_t>(down.first[y]);
        for (uint32_t j = down.begin[y]; j < down.begin[y + 1]; ++j, ++source) {
            const Sum* row = rows.Row(source);
            Sum weight = down.weights[j];
            if (j == down.begin[y])
                for (size_t i = 0; i < values; ++i)
                    sums[i] = row[i] * weight;
            else
                for (size_t i = 0; i < values; ++i)
                    sums[i] += row[i] * weight;
        }
        for (size_t i = 0; i < values; i += ChannelCount)
            *out++ = static_cast<uint32_t>(divide(sums[i])) | static_cast<uint32_t>(divide(sums[i + 1])) << 8 |
                     static_cast<uint32_t>(divide(sums[i + 2])) << 16;
    }
}

}  // namespace

PixelGrid ScaleByArea(const PixelGrid& source, int32_t width, int32_t height)
{
    SourceRowReader readRow = [&](int32_t y, uint32_t* colours) {
        const uint32_t* row = source.colours.data() + static_cast<size_t>(y) * static_cast<size_t>(source.width);
        std::copy(row, row + source.width, colours);
    };
    return ScaleByArea(source.width, source.height, readRow, width, height);
}

PixelGrid ScaleByArea(int32_t sourceWidth, int32_t sourceHeight, const SourceRowReader& readRow, int32_t width,
                      int32_t height)
{
    PixelGrid target;
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0)
        return target;
    target.width = width;
    target.height = height;
    target.colours.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    AxisShares across = SharesAlong(sourceWidth, width);
    AxisShares down = SharesAlong(sourceHeight, height);
    // A target pixel's weights sum to across.total × down.total, and each channel is at most
    // 255: its sum, and every partial sum on the way, is at most 255 × area.
    uint64_t area = uint64_t{across.total} * down.total;
    if (area * ChannelMax + area / 2 <= std::numeric_limits<uint32_t>::max())
        Scale<uint32_t>(sourceWidth, readRow, across, down, RoundingDivider(static_cast<uint32_t>(area)), target);
    else
        Scale<uint64_t>(sourceWidth, readRow, across, down, WideDivider(area), target);
    return target;
}

PictureSize SizeForColumns(BatchMethod method, int32_t columns, int32_t width, int32_t height)
{
    int32_t targetWidth = method == BatchMethod::FourPixel ? columns * FourPixelColumnWidth + FourPixelMargin
                                                           : columns * GlyphColumnWidth;
    int64_t targetHeight = (int64_t{height} * targetWidth + width / 2) / std::max(width, 1);
    return {targetWidth, static_cast<int32_t>(std::clamp<int64_t>(targetHeight, 1, INT32_MAX))};
}
