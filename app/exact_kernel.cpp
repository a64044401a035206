#include "exact_kernel.h"

#include <cstdlib>
#include <span>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLYPHMILL_X86 1
#endif
// The AVX-512 path keeps twelve sums and its lookups in registers: 32-bit code has only 8.
#ifdef __x86_64__
#define GLYPHMILL_AVX512 1
#endif

namespace {

constexpr int32_t White = 0xFFFFFF;

GlyphMatch FirstNearest(const int32_t* distances)
{
    GlyphMatch best{0, ExactGlyphTable::FarAway};
    for (int32_t i = 0; i < GlyphCount; ++i)
        if (distances[i] < best.distance)
            best = {i, distances[i]};
    return best;
}

GlyphMatch NearestPlain(const int32_t* byGlyph, const uint32_t* cell)
{
    std::array<int32_t, GlyphCount> distances;
    for (int32_t i = 0; i < GlyphCount; ++i) {
        const int32_t* glyph = byGlyph + static_cast<size_t>(i) * GlyphPixelCount;
        int32_t distance = 0;
        for (int32_t p = 0; p < GlyphPixelCount; ++p)
            distance += std::abs(glyph[p] - static_cast<int32_t>(cell[p]));
        distances[static_cast<size_t>(i)] = distance;
    }
    return FirstNearest(distances.data());
}

// A black and white glyph's distance: with c a cell value (-1 <= c <= White), a black pixel
// costs |c| and a white one White - c, that is |c| plus gain = White - c - |c|, which lies
// in [-White, White]. So a glyph costs what an all-black one costs, the sum of |c|, plus the
// gains of its white pixels. Each sum on the way, a subset's gains added to that, is the
// distance of some black and white glyph: 0 to 120 * (White + 1) = 2013265920 < 2^31, so
// 32 bits add it exactly (and a lookup's sum of at most five gains is far inside them).

#ifdef GLYPHMILL_X86

__attribute__((target("avx2"))) inline __m256i Load8(const int32_t* values)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values));
}

__attribute__((target("avx2"))) inline void Store8(int32_t* values, __m256i vector)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(values), vector);
}

// A pass's 64 distances, one store each: stored through a loop over the sums, GCC kept them
// in memory.
__attribute__((target("avx2"))) inline void StorePass(int32_t* out, __m256i s0, __m256i s1, __m256i s2, __m256i s3,
                                                      __m256i s4, __m256i s5, __m256i s6, __m256i s7)
{
    Store8(out, s0);
    Store8(out + 8, s1);
    Store8(out + 16, s2);
    Store8(out + 24, s3);
    Store8(out + 32, s4);
    Store8(out + 40, s5);
    Store8(out + 48, s6);
    Store8(out + 56, s7);
}

__attribute__((target("avx2"))) inline int32_t LeastOf(__m256i values)
{
    __m128i half = _mm_min_epi32(_mm256_castsi256_si128(values), _mm256_extracti128_si256(values, 1));
    half = _mm_min_epi32(half, _mm_shuffle_epi32(half, 0x4E));
    half = _mm_min_epi32(half, _mm_shuffle_epi32(half, 0xB1));
    return _mm_cvtsi128_si32(half);
}

// FirstNearest's answer without a branch per glyph: the least distance, then the first
// glyph at it.
__attribute__((target("avx2"))) GlyphMatch FirstNearestAvx2(const int32_t* distances)
{
    __m256i least = Load8(distances);
    for (int32_t first = 8; first < GlyphCount; first += 8)
        least = _mm256_min_epi32(least, Load8(distances + first));
    const int32_t distance = LeastOf(least);
    if (distance >= ExactGlyphTable::FarAway)
        return {0, ExactGlyphTable::FarAway};
    const __m256i target = _mm256_set1_epi32(distance);
    for (int32_t first = 0;; first += 8) {
        __m256i equal = _mm256_cmpeq_epi32(Load8(distances + first), target);
        auto at = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(equal)));
        if (at != 0)
            return {first + __builtin_ctz(at), distance};
    }
}

__attribute__((target("avx2"))) inline __m256i AddDistance(__m256i sum, const int32_t* glyphs, __m256i pixel)
{
    return _mm256_add_epi32(sum, _mm256_abs_epi32(_mm256_sub_epi32(Load8(glyphs), pixel)));
}

// 64 glyphs per pass, eight in each of eight sums, so that the sums stay in registers.
__attribute__((target("avx2"))) GlyphMatch NearestAvx2(const int32_t* byPixel, const uint32_t* cell)
{
    constexpr int32_t GlyphsPerPass = 64;
    static_assert(GlyphCount % GlyphsPerPass == 0);
    std::array<int32_t, GlyphCount> distances;
    for (int32_t first = 0; first < GlyphCount; first += GlyphsPerPass) {
        __m256i s0 = _mm256_setzero_si256(), s1 = s0, s2 = s0, s3 = s0, s4 = s0, s5 = s0, s6 = s0, s7 = s0;
        for (int32_t p = 0; p < GlyphPixelCount; ++p) {
            __m256i pixel = _mm256_set1_epi32(static_cast<int32_t>(cell[p]));
            const int32_t* glyphs = byPixel + static_cast<size_t>(p) * GlyphCount + first;
            s0 = AddDistance(s0, glyphs, pixel);
            s1 = AddDistance(s1, glyphs + 8, pixel);
            s2 = AddDistance(s2, glyphs + 16, pixel);
            s3 = AddDistance(s3, glyphs + 24, pixel);
            s4 = AddDistance(s4, glyphs + 32, pixel);
            s5 = AddDistance(s5, glyphs + 40, pixel);
            s6 = AddDistance(s6, glyphs + 48, pixel);
            s7 = AddDistance(s7, glyphs + 56, pixel);
        }
        StorePass(distances.data() + first, s0, s1, s2, s3, s4, s5, s6, s7);
    }
    return FirstNearestAvx2(distances.data());
}

// Every pixel's gain (see above); returns the all-black cost.
__attribute__((target("avx2"))) inline int32_t WhiteGains(const uint32_t* cell, int32_t* gains)
{
    static_assert(GlyphPixelCount % 8 == 0);
    const __m256i white = _mm256_set1_epi32(White);
    __m256i black = _mm256_setzero_si256();
    for (int32_t p = 0; p < GlyphPixelCount; p += 8) {
        __m256i c = Load8(reinterpret_cast<const int32_t*>(cell + p));
        __m256i magnitude = _mm256_abs_epi32(c);
        black = _mm256_add_epi32(black, magnitude);
        Store8(gains + p, _mm256_sub_epi32(_mm256_sub_epi32(white, c), magnitude));
    }
    __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(black), _mm256_extracti128_si256(black, 1));
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0x4E));
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0xB1));
    return _mm_cvtsi128_si32(sum);
}

__attribute__((target("avx2"))) inline __m256i AddPicked(__m256i sum, const int32_t* whites, __m256i subsetGains)
{
    return _mm256_add_epi32(sum, _mm256_permutevar8x32_epi32(subsetGains, Load8(whites)));
}

// Three pixels at a time: the gains of each of their eight subsets in one vector, from which
// every glyph's white ones in them, as an index, pick what it adds. 64 glyphs per pass.
__attribute__((target("avx2"))) GlyphMatch NearestMonochromeAvx2(const int32_t* whiteIn3, const uint32_t* cell)
{
    constexpr int32_t GlyphsPerPass = 64;
    constexpr int32_t Groups = GlyphPixelCount / ExactGlyphTable::Avx2Group;
    static_assert(GlyphCount % GlyphsPerPass == 0 && ExactGlyphTable::Avx2Group == 3 && GlyphPixelCount % 3 == 0);
    std::array<int32_t, GlyphPixelCount> gains;
    const __m256i black = _mm256_set1_epi32(WhiteGains(cell, gains.data()));
    __m256i subsetGains[Groups];
    const __m256i has0 = _mm256_setr_epi32(0, -1, 0, -1, 0, -1, 0, -1);
    const __m256i has1 = _mm256_setr_epi32(0, 0, -1, -1, 0, 0, -1, -1);
    const __m256i has2 = _mm256_setr_epi32(0, 0, 0, 0, -1, -1, -1, -1);
    for (int32_t g = 0; g < Groups; ++g) {
        const int32_t* gain = gains.data() + ExactGlyphTable::Avx2Group * g;
        __m256i sum = _mm256_and_si256(_mm256_set1_epi32(gain[0]), has0);
        sum = _mm256_add_epi32(sum, _mm256_and_si256(_mm256_set1_epi32(gain[1]), has1));
        subsetGains[g] = _mm256_add_epi32(sum, _mm256_and_si256(_mm256_set1_epi32(gain[2]), has2));
    }
    std::array<int32_t, GlyphCount> distances;
    for (int32_t first = 0; first < GlyphCount; first += GlyphsPerPass) {
        __m256i s0 = black, s1 = s0, s2 = s0, s3 = s0, s4 = s0, s5 = s0, s6 = s0, s7 = s0;
        for (int32_t g = 0; g < Groups; ++g) {
            const __m256i subsets = subsetGains[g];
            const int32_t* whites = whiteIn3 + static_cast<size_t>(g) * GlyphCount + first;
            s0 = AddPicked(s0, whites, subsets);
            s1 = AddPicked(s1, whites + 8, subsets);
            s2 = AddPicked(s2, whites + 16, subsets);
            s3 = AddPicked(s3, whites + 24, subsets);
            s4 = AddPicked(s4, whites + 32, subsets);
            s5 = AddPicked(s5, whites + 40, subsets);
            s6 = AddPicked(s6, whites + 48, subsets);
            s7 = AddPicked(s7, whites + 56, subsets);
        }
        StorePass(distances.data() + first, s0, s1, s2, s3, s4, s5, s6, s7);
    }
    return FirstNearestAvx2(distances.data());
}

#endif

#ifdef GLYPHMILL_AVX512

// GCC 12 warns that the plain forms of several AVX-512 operations use an undefined source;
// their masked forms with every lane set are the same instructions.
constexpr __mmask16 EveryLane = 0xFFFF;

__attribute__((target("avx512f"))) GlyphMatch FirstNearestAvx512(const int32_t* distances)
{
    __m512i least = _mm512_loadu_si512(distances);
    for (int32_t first = 16; first < GlyphCount; first += 16)
        least = _mm512_maskz_min_epi32(EveryLane, least, _mm512_loadu_si512(distances + first));
    // Rotated by 8, 4, 2 and 1 lanes, every lane gets the least of all.
    least = _mm512_maskz_min_epi32(EveryLane, least, _mm512_maskz_alignr_epi32(EveryLane, least, least, 8));
    least = _mm512_maskz_min_epi32(EveryLane, least, _mm512_maskz_alignr_epi32(EveryLane, least, least, 4));
    least = _mm512_maskz_min_epi32(EveryLane, least, _mm512_maskz_alignr_epi32(EveryLane, least, least, 2));
    least = _mm512_maskz_min_epi32(EveryLane, least, _mm512_maskz_alignr_epi32(EveryLane, least, least, 1));
    if (_mm512_cmpge_epi32_mask(least, _mm512_set1_epi32(ExactGlyphTable::FarAway)) != 0)
        return {0, ExactGlyphTable::FarAway};
    for (int32_t first = 0;; first += 16) {
        auto at = static_cast<uint32_t>(_mm512_cmpeq_epi32_mask(_mm512_loadu_si512(distances + first), least));
        if (at != 0) {
            int32_t position = first + __builtin_ctz(at);
            return {position, distances[position]};
        }
    }
}

__attribute__((target("avx512f"))) inline __m512i AddPicked(__m512i sum, const int32_t* whites, __m512i lowSubsets,
                                                            __m512i highSubsets)
{
    __m512i index = _mm512_loadu_si512(whites);
    return _mm512_add_epi32(sum, _mm512_maskz_permutex2var_epi32(EveryLane, lowSubsets, index, highSubsets));
}

// All 192 glyphs in one pass, sixteen in each of twelve sums. Five pixels at a time: the
// gains of each of their 32 subsets in two vectors, from which every glyph's white ones in
// them, as an index, pick what it adds.
__attribute__((target("avx512f"))) GlyphMatch NearestMonochromeAvx512(const int32_t* whiteIn5, const uint32_t* cell)
{
    constexpr int32_t Groups = GlyphPixelCount / ExactGlyphTable::Avx512Group;
    static_assert(GlyphCount == 12 * 16 && ExactGlyphTable::Avx512Group == 5 && GlyphPixelCount % 5 == 0);
    std::array<int32_t, GlyphPixelCount> gains;
    __m512i s0 = _mm512_set1_epi32(WhiteGains(cell, gains.data()));
    __m512i s1 = s0, s2 = s0, s3 = s0, s4 = s0, s5 = s0, s6 = s0, s7 = s0, s8 = s0, s9 = s0, s10 = s0, s11 = s0;
    for (int32_t g = 0; g < Groups; ++g) {
        const int32_t* gain = gains.data() + ExactGlyphTable::Avx512Group * g;
        // Lane k: the summed gains of the pixels i with bit i set in k; in `high` with pixel 4.
        __m512i low = _mm512_maskz_set1_epi32(0xAAAA, gain[0]);
        low = _mm512_mask_add_epi32(low, 0xCCCC, low, _mm512_set1_epi32(gain[1]));
        low = _mm512_mask_add_epi32(low, 0xF0F0, low, _mm512_set1_epi32(gain[2]));
        low = _mm512_mask_add_epi32(low, 0xFF00, low, _mm512_set1_epi32(gain[3]));
        const __m512i high = _mm512_add_epi32(low, _mm512_set1_epi32(gain[4]));
        const int32_t* whites = whiteIn5 + static_cast<size_t>(g) * GlyphCount;
        s0 = AddPicked(s0, whites, low, high);
        s1 = AddPicked(s1, whites + 16, low, high);
        s2 = AddPicked(s2, whites + 32, low, high);
        s3 = AddPicked(s3, whites + 48, low, high);
        s4 = AddPicked(s4, whites + 64, low, high);
        s5 = AddPicked(s5, whites + 80, low, high);
        s6 = AddPicked(s6, whites + 96, low, high);
        s7 = AddPicked(s7, whites + 112, low, high);
        s8 = AddPicked(s8, whites + 128, low, high);
        s9 = AddPicked(s9, whites + 144, low, high);
        s10 = AddPicked(s10, whites + 160, low, high);
        s11 = AddPicked(s11, whites + 176, low, high);
    }
    std::array<int32_t, GlyphCount> distances;
    int32_t* out = distances.data();
    _mm512_storeu_si512(out, s0);
    _mm512_storeu_si512(out + 16, s1);
    _mm512_storeu_si512(out + 32, s2);
    _mm512_storeu_si512(out + 48, s3);
    _mm512_storeu_si512(out + 64, s4);
    _mm512_storeu_si512(out + 80, s5);
    _mm512_storeu_si512(out + 96, s6);
    _mm512_storeu_si512(out + 112, s7);
    _mm512_storeu_si512(out + 128, s8);
    _mm512_storeu_si512(out + 144, s9);
    _mm512_storeu_si512(out + 160, s10);
    _mm512_storeu_si512(out + 176, s11);
    return FirstNearestAvx512(distances.data());
}

#endif

bool Avx512Available()
{
#ifdef GLYPHMILL_AVX512
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0;
    }();
    return available;
#else
    return false;
#endif
}

// Per glyph and group of `groupSize` pixels, an index with bit k set where the group's
// pixel k is white.
void SetWhite(std::span<int32_t> indices, int32_t groupSize, int32_t position, int32_t pixel, bool white)
{
    int32_t& index = indices[static_cast<size_t>(pixel / groupSize * GlyphCount + position)];
    const int32_t bit = 1 << (pixel % groupSize);
    index = white ? index | bit : index & ~bit;
}

KernelPath FastestPath(bool monochrome)
{
    if (monochrome && Avx512Available())
        return KernelPath::MonochromeAvx512;
    if (monochrome && Avx2Available())
        return KernelPath::MonochromeAvx2;
    return Avx2Available() ? KernelPath::Avx2 : KernelPath::Plain;
}

}  // namespace

bool Avx2Available()
{
#ifdef GLYPHMILL_X86
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
#else
    return false;
#endif
}

ExactGlyphTable::ExactGlyphTable() : fastest_(FastestPath(true))
{
}

void ExactGlyphTable::Set(int32_t position, const uint32_t* colours)
{
    bool coloured = false;
    for (int32_t p = 0; p < GlyphPixelCount; ++p) {
        auto value = static_cast<int32_t>(colours[p]);
        bool white = value == White;
        coloured = coloured || (value != 0 && !white);
        byGlyph_[static_cast<size_t>(position * GlyphPixelCount + p)] = value;
        byPixel_[static_cast<size_t>(p * GlyphCount + position)] = value;
        SetWhite(whiteIn3_, Avx2Group, position, p, white);
        SetWhite(whiteIn5_, Avx512Group, position, p, white);
    }
    coloured_[static_cast<size_t>(position)] = coloured;
    fastest_ = FastestPath(coloured_.none());
}

bool ExactGlyphTable::Runs(KernelPath path) const
{
    switch (path) {
    case KernelPath::Plain:
        return true;
    case KernelPath::Avx2:
        return Avx2Available();
    case KernelPath::MonochromeAvx2:
        return Avx2Available() && coloured_.none();
    case KernelPath::MonochromeAvx512:
        return Avx512Available() && coloured_.none();
    }
    return false;
}

GlyphMatch ExactGlyphTable::NearestOn(KernelPath path, const uint32_t* cell) const
{
    switch (path) {
#ifdef GLYPHMILL_X86
    case KernelPath::Avx2:
        return NearestAvx2(byPixel_.data(), cell);
    case KernelPath::MonochromeAvx2:
        return NearestMonochromeAvx2(whiteIn3_.data(), cell);
#endif
#ifdef GLYPHMILL_AVX512
    case KernelPath::MonochromeAvx512:
        return NearestMonochromeAvx512(whiteIn5_.data(), cell);
#endif
    default:
        return NearestPlain(byGlyph_.data(), cell);
    }
}

GlyphMatch ExactGlyphTable::Nearest(const uint32_t* cell, KernelPath path) const
{
    return NearestOn(Runs(path) ? path : KernelPath::Plain, cell);
}

GlyphMatch ExactGlyphTable::Nearest(const uint32_t* cell) const
{
    return NearestOn(fastest_, cell);
}
