#include "batch/picture_scaling.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numeric>
#include <type_traits>

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
    uint32_t wholeWeight = 0;       // the weight of a source pixel wholly inside a target pixel
    int32_t boxRatio = 0;           // k when each target pixel covers exactly k whole source pixels, else 0
};

AxisShares SharesAlong(int32_t sourceLength, int32_t targetLength)
{
    int64_t common = std::gcd(sourceLength, targetLength);
    int64_t sourcePixel = targetLength / common;
    int64_t targetPixel = sourceLength / common;
    AxisShares shares;
    shares.total = static_cast<uint32_t>(targetPixel);
    shares.wholeWeight = static_cast<uint32_t>(sourcePixel);
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

// Four 32-bit lanes: SSE2 registers on x86, plain code where a target has none (there they
// pass by reference only: by value they would change the calling convention).
using Lanes = uint32_t __attribute__((vector_size(16)));
constexpr size_t LaneCount = 4;

void Load(Lanes& lanes, const uint32_t* from)
{
    std::memcpy(&lanes, from, sizeof lanes);
}

void Store(uint32_t* to, const Lanes& lanes)
{
    std::memcpy(to, &lanes, sizeof lanes);
}

// floor((sum + divisor / 2) / divisor) for sums up to 255 × divisor, where that plus half
// the divisor fits in 32 bits. A power of two shifts. Any other divisor d ≥ 3 multiplies
// by m = ceil(2^64 / d) and takes floor(m·n / 2^64): m·n / 2^64 = n/d + e·n / 2^64 with
// 0 ≤ e < 1, and for n < 2^32 that excess stays below 2^-32 < 1/d, less than the gap
// from n/d to the next integer, so the floor is that of n/d.
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
        // m·n / 2^64 of the 96-bit product, from two products that fit 64 bits.
        return static_cast<uint32_t>((n * magicHigh_ + ((n * magicLow_) >> 32)) >> 32);
    }

    void DivideEach(Lanes& sums) const
    {
        if (byShift_)
            sums = (sums + half_) >> shift_;
        else
            sums = Lanes{(*this)(sums[0]), (*this)(sums[1]), (*this)(sums[2]), (*this)(sums[3])};
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

// Red and blue of up to SplitSumMax pixels, added in two 16-bit halves, and green.
constexpr uint32_t SplitSumMax = 0xFFFF / ChannelMax;
constexpr uint32_t RedBlueMask = 0x00FF00FF;

struct SplitSums {
    uint32_t redBlue = 0;
    uint32_t green = 0;

    void Add(uint32_t colour)
    {
        redBlue += colour & RedBlueMask;
        green += (colour >> 8) & ChannelMax;
    }
    uint32_t Red() const { return redBlue & 0xFFFF; }
    uint32_t Blue() const { return redBlue >> 16; }
};

// A source row scaled along x: per target pixel, its three channels' weighted sums. Only
// the first and the last source pixel of a target pixel can lie partly inside it; those
// between weigh in whole and are added first, in split sums of up to SplitSumMax pixels.
template <typename Sum>
void ScaleRowAlongX(const AxisShares& shares, const uint32_t* pixels, Sum* sums)
{
    size_t width = shares.first.size();
    Sum whole = shares.wholeWeight;
    for (size_t x = 0; x < width; ++x, sums += ChannelCount) {
        const uint32_t* pixel = pixels + shares.first[x];
        uint32_t begin = shares.begin[x];
        uint32_t count = shares.begin[x + 1] - begin;
        Sum weight = shares.weights[begin];
        Sum red = (*pixel & ChannelMax) * weight;
        Sum green = ((*pixel >> 8) & ChannelMax) * weight;
        Sum blue = ((*pixel >> 16) & ChannelMax) * weight;
        if (count > 1) {
            const uint32_t* last = pixel + count - 1;
            weight = shares.weights[begin + count - 1];
            red += (*last & ChannelMax) * weight;
            green += ((*last >> 8) & ChannelMax) * weight;
            blue += ((*last >> 16) & ChannelMax) * weight;
            for (++pixel; pixel < last;) {
                SplitSums between;
                for (const uint32_t* end = pixel + std::min<std::ptrdiff_t>(last - pixel, SplitSumMax); pixel < end;
                     ++pixel)
                    between.Add(*pixel);
                red += between.Red() * whole;
                green += between.green * whole;
                blue += between.Blue() * whole;
            }
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

// Whole ratios across and down, whose boxes of at most SplitSumMax pixels add in split sums
// without weights, each source row straight into the target row's sums: red and blue in
// one row, green in another, so that four boxes add at a time.
struct BoxSums {
    std::vector<uint32_t> redBlue;
    std::vector<uint32_t> green;
};

// From box `from` on; `pixels` is the whole source row.
void AddBoxes(const uint32_t* pixels, size_t across, size_t from, BoxSums& sums)
{
    pixels += from * across;
    for (size_t x = from; x < sums.green.size(); ++x) {
        SplitSums box{sums.redBlue[x], sums.green[x]};
        for (size_t i = 0; i < across; ++i)
            box.Add(*pixels++);
        sums.redBlue[x] = box.redBlue;
        sums.green[x] = box.green;
    }
}

// Two source pixels a box across: the even and the odd ones of eight pixels add to four.
void AddPairs(const uint32_t* pixels, BoxSums& sums)
{
    size_t width = sums.green.size();
    size_t x = 0;
    for (; x + LaneCount <= width; x += LaneCount) {
        Lanes first, second, redBlue, green;
        Load(first, pixels + 2 * x);
        Load(second, pixels + 2 * x + LaneCount);
        Load(redBlue, &sums.redBlue[x]);
        Load(green, &sums.green[x]);
        Lanes even = __builtin_shuffle(first, second, Lanes{0, 2, 4, 6});
        Lanes odd = __builtin_shuffle(first, second, Lanes{1, 3, 5, 7});
        Store(&sums.redBlue[x], redBlue + (even & RedBlueMask) + (odd & RedBlueMask));
        Store(&sums.green[x], green + ((even >> 8) & ChannelMax) + ((odd >> 8) & ChannelMax));
    }
    AddBoxes(pixels, 2, x, sums);
}

void ScaleByBoxes(int32_t sourceWidth, const SourceRowReader& readRow, const AxisShares& across, const AxisShares& down,
                  PictureSize size, const TargetRowWriter& writeRow)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(sourceWidth));
    auto width = static_cast<size_t>(size.width);
    BoxSums sums{std::vector<uint32_t>(width), std::vector<uint32_t>(width)};
    std::vector<uint32_t> row(width);
    RoundingDivider divide(across.total * down.total);
    int32_t source = 0;
    for (int32_t y = 0; y < size.height; ++y) {
        std::fill(sums.redBlue.begin(), sums.redBlue.end(), 0);
        std::fill(sums.green.begin(), sums.green.end(), 0);
        for (int32_t i = 0; i < down.boxRatio; ++i) {
            readRow(source++, pixels.data());
            if (across.boxRatio == 2)
                AddPairs(pixels.data(), sums);
            else
                AddBoxes(pixels.data(), static_cast<size_t>(across.boxRatio), 0, sums);
        }
        uint32_t* out = row.data();
        size_t x = 0;
        for (; x + LaneCount <= width; x += LaneCount) {
            Lanes redBlue, green;
            Load(redBlue, &sums.redBlue[x]);
            Load(green, &sums.green[x]);
            Lanes red = redBlue & 0xFFFF;
            Lanes blue = redBlue >> 16;
            divide.DivideEach(red);
            divide.DivideEach(green);
            divide.DivideEach(blue);
            Store(out + x, red | green << 8 | blue << 16);
        }
        for (; x < width; ++x) {
            SplitSums box{sums.redBlue[x], sums.green[x]};
            out[x] = divide(box.Red()) | divide(box.green) << 8 | divide(box.Blue()) << 16;
        }
        writeRow(row.data());
    }
}

// Adds a row of sums along x, weighed, to the sums of a target row (or starts them).
template <typename Sum>
void Weigh(const Sum* row, Sum weight, bool first, std::vector<Sum>& sums)
{
    size_t i = 0;
    if constexpr (std::is_same_v<Sum, uint32_t>)
        for (; i + LaneCount <= sums.size(); i += LaneCount) {
            Lanes weighed, sum;
            Load(weighed, row + i);
            weighed *= weight;
            Load(sum, &sums[i]);
            Store(&sums[i], first ? weighed : sum + weighed);
        }
    for (; i < sums.size(); ++i)
        sums[i] = first ? row[i] * weight : sums[i] + row[i] * weight;
}

template <typename Sum, typename Divider>
void Scale(int32_t sourceWidth, const SourceRowReader& readRow, const AxisShares& across, const AxisShares& down,
           const Divider& divide, PictureSize size, const TargetRowWriter& writeRow)
{
    ScaledRows<Sum> rows(sourceWidth, readRow, across);
    size_t values = static_cast<size_t>(size.width) * ChannelCount;
    std::vector<Sum> sums(values);
    std::vector<uint32_t> row(static_cast<size_t>(size.width));
    for (size_t y = 0; y < static_cast<size_t>(size.height); ++y) {
        auto source = static_cast<int32_t>(down.first[y]);
        for (uint32_t j = down.begin[y]; j < down.begin[y + 1]; ++j, ++source) {
            Weigh<Sum>(rows.Row(source), down.weights[j], j == down.begin[y], sums);
        }
        uint32_t* out = row.data();
        for (size_t i = 0; i < values; i += ChannelCount)
            *out++ = static_cast<uint32_t>(divide(sums[i])) | static_cast<uint32_t>(divide(sums[i + 1])) << 8 |
                     static_cast<uint32_t>(divide(sums[i + 2])) << 16;
        writeRow(row.data());
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
    target.colours.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    ScaleByArea(sourceWidth, sourceHeight, readRow, {width, height},
                [&](const uint32_t* row) { target.colours.insert(target.colours.end(), row, row + width); });
    return target;
}

void ScaleByArea(int32_t sourceWidth, int32_t sourceHeight, const SourceRowReader& readRow, PictureSize size,
                 const TargetRowWriter& writeRow)
{
    if (sourceWidth <= 0 || sourceHeight <= 0 || size.width <= 0 || size.height <= 0)
        return;
    AxisShares across = SharesAlong(sourceWidth, size.width);
    AxisShares down = SharesAlong(sourceHeight, size.height);
    if (across.boxRatio > 0 && down.boxRatio > 0 && across.total * down.total <= SplitSumMax) {
        ScaleByBoxes(sourceWidth, readRow, across, down, size, writeRow);
        return;
    }
    // A target pixel's weights sum to across.total × down.total, and each channel is at most
    // 255: its sum, and every partial sum on the way, is at most 255 × area.
    uint64_t area = uint64_t{across.total} * down.total;
    if (area * ChannelMax + area / 2 <= std::numeric_limits<uint32_t>::max())
        Scale<uint32_t>(sourceWidth, readRow, across, down, RoundingDivider(static_cast<uint32_t>(area)), size,
                        writeRow);
    else
        Scale<uint64_t>(sourceWidth, readRow, across, down, WideDivider(area), size, writeRow);
}

PictureSize SizeForColumns(BatchMethod method, int32_t columns, int32_t width, int32_t height)
{
    int32_t targetWidth = method == BatchMethod::FourPixel ? columns * FourPixelColumnWidth + FourPixelMargin
                                                           : columns * GlyphColumnWidth;
    int64_t targetHeight = (int64_t{height} * targetWidth + width / 2) / std::max(width, 1);
    return {targetWidth, static_cast<int32_t>(std::clamp<int64_t>(targetHeight, 1, INT32_MAX))};
}
