// Times the area-averaging scaler alone, through its row reader, on the sizes the native
// command scales to at 250 columns and a few others; prints one line per case and round:
// the processor time in milliseconds (its own thread's, so that the other work on a shared
// machine counts less) and a checksum of the result, so that two builds can be compared
// for speed and for sameness. Built and run by bench/scaling only.
//
// Usage: scaling_bench [ROUNDS]

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "batch/picture_scaling.h"

namespace {

double ThreadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Case {
    const char* name;
    int32_t sourceWidth, sourceHeight, width, height;
};

const Case Cases[] = {
    {"4000x3000->2000x1500", 4000, 3000, 2000, 1500},  // exakt, graustufen at 250 columns
    {"4000x3000->508x381", 4000, 3000, 508, 381},      // 4pixel at 250 columns
    {"1920x1080->1000x562", 1920, 1080, 1000, 562},
    {"1920x1080->2000x1125", 1920, 1080, 2000, 1125},  // enlarged
};

// A smooth picture with some noise, as a photo has.
PixelGrid Picture(int32_t width, int32_t height)
{
    PixelGrid picture{width, height, {}};
    picture.colours.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    uint32_t noise = 12345;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            uint32_t red = static_cast<uint32_t>(x * 255 / width) ^ (noise >> 28);
            uint32_t green = static_cast<uint32_t>(y * 255 / height) ^ (noise >> 24 & 0xF);
            uint32_t blue = (noise >> 16) & 0xFF;
            picture.colours[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                red | green << 8 | blue << 16;
        }
    return picture;
}

uint64_t Checksum(const PixelGrid& grid)
{
    uint64_t hash = 1469598103934665603ULL;
    for (uint32_t colour : grid.colours)
        hash = (hash ^ colour) * 1099511628211ULL;
    return hash;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    for (const Case& c : Cases) {
        PixelGrid source = Picture(c.sourceWidth, c.sourceHeight);
        SourceRowReader readRow = [&](int32_t y, uint32_t* colours) {
            const uint32_t* row = source.colours.data() + static_cast<size_t>(y) * static_cast<size_t>(source.width);
            std::copy(row, row + source.width, colours);
        };
        for (int round = 0; round < rounds; ++round) {
            double start = ThreadMilliseconds();
            PixelGrid scaled = ScaleByArea(c.sourceWidth, c.sourceHeight, readRow, c.width, c.height);
            double milliseconds = ThreadMilliseconds() - start;
            std::printf("%-22s %8.2f ms  %016llx\n", c.name, milliseconds,
                        static_cast<unsigned long long>(Checksum(scaled)));
        }
    }
    return 0;
}
