#include "batch/picture_scaling.h"

#include <algorithm>
#include <array>

namespace {

constexpr int32_t FourPixelMargin = 8;  // the scan leaves out this many pixels of the width
constexpr int32_t FourPixelColumnWidth = 2;
constexpr int32_t GlyphColumnWidth = 8;

struct Share {
    int32_t source;
    int64_t weight;
};

// For each target pixel along one axis, the source pixels it covers and how much of each.
// Lengths are measured so that a source pixel is `targetLength` long and a target pixel
// `sourceLength`; the weights of one target pixel sum to `sourceLength`.
std::vector<std::vector<Share>> SharesAlong(int32_t sourceLength, int32_t targetLength)
{
    std::vector<std::vector<Share>> shares(static_cast<size_t>(targetLength));
    for (int32_t t = 0; t < targetLength; ++t) {
        int64_t begin = int64_t{t} * sourceLength;
        int64_t end = begin + sourceLength;
        for (int64_t s = begin / targetLength; s * targetLength < end; ++s) {
            int64_t weight = std::min(end, (s + 1) * targetLength) - std::max(begin, s * targetLength);
            shares[static_cast<size_t>(t)].push_back({static_cast<int32_t>(s), weight});
        }
    }
    return shares;
}

using ChannelSums = std::array<uint64_t, 3>;

uint32_t Channel(uint32_t colour, int channel)
{
    return (colour >> (8 * channel)) & 0xFF;
}

// One source row scaled along x: per target pixel, the channels' weighted sums.
class ScaledRows {
public:
    ScaledRows(int32_t sourceWidth, const SourceRowReader& readRow, int32_t width)
        : readRow_(readRow),
          shares_(SharesAlong(sourceWidth, width)),
          width_(width),
          pixels_(static_cast<size_t>(sourceWidth))
    {
    }

    // Rows are asked for in rising order, each at most a few times, so two kept rows serve.
    const std::vector<ChannelSums>& Row(int32_t y)
    {
        for (Kept& kept : kept_)
            if (kept.row == y)
                return kept.sums;
        Kept& slot = kept_[next_];
        next_ = 1 - next_;
        slot.row = y;
        slot.sums.assign(static_cast<size_t>(width_), ChannelSums{});
        readRow_(y, pixels_.data());
        const uint32_t* pixels = pixels_.data();
        for (int32_t x = 0; x < width_; ++x) {
            ChannelSums& sums = slot.sums[static_cast<size_t>(x)];
            for (const Share& share : shares_[static_cast<size_t>(x)])
                for (int channel = 0; channel < 3; ++channel)
                    sums[static_cast<size_t>(channel)] +=
                        Channel(pixels[share.source], channel) * static_cast<uint64_t>(share.weight);
        }
        return slot.sums;
    }

private:
    struct Kept {
        int32_t row = -1;
        std::vector<ChannelSums> sums;
    };
    const SourceRowReader& readRow_;
    std::vector<std::vector<Share>> shares_;
    int32_t width_;
    std::vector<uint32_t> pixels_;  // the source row being scaled
    std::array<Kept, 2> kept_;
    int next_ = 0;
};

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
    ScaledRows rows(sourceWidth, readRow, width);
    std::vector<std::vector<Share>> rowShares = SharesAlong(sourceHeight, height);
    uint64_t area = static_cast<uint64_t>(sourceWidth) * static_cast<uint64_t>(sourceHeight);
    std::vector<ChannelSums> sums(static_cast<size_t>(width));
    for (int32_t y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), ChannelSums{});
        for (const Share& share : rowShares[static_cast<size_t>(y)]) {
            const std::vector<ChannelSums>& row = rows.Row(share.source);
            for (size_t x = 0; x < sums.size(); ++x)
                for (size_t channel = 0; channel < 3; ++channel)
                    sums[x][channel] += row[x][channel] * static_cast<uint64_t>(share.weight);
        }
        uint32_t* out = target.colours.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (size_t x = 0; x < sums.size(); ++x) {
            uint32_t colour = 0;
            for (size_t channel = 0; channel < 3; ++channel)
                colour |= static_cast<uint32_t>((sums[x][channel] + area / 2) / area) << (8 * channel);
            out[x] = colour;
        }
    }
    return target;
}

PictureSize SizeForColumns(BatchMethod method, int32_t columns, int32_t width, int32_t height)
{
    int32_t targetWidth = method == BatchMethod::FourPixel ? columns * FourPixelColumnWidth + FourPixelMargin
                                                           : columns * GlyphColumnWidth;
    int64_t targetHeight = (int64_t{height} * targetWidth + width / 2) / std::max(width, 1);
    return {targetWidth, static_cast<int32_t>(std::clamp<int64_t>(targetHeight, 1, INT32_MAX))};
}
