#include "exact_kernel.h"

#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLYPHMILL_X86 1
#endif

namespace {

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

#ifdef GLYPHMILL_X86

__attribute__((target("avx2"))) inline __m256i Load8(const int32_t* values)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values));
}

__attribute__((target("avx2"))) inline void Store8(int32_t* values, __m256i vector)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(values), vector);
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
        // One store each: stored through a loop over the sums, GCC kept them in memory.
        int32_t* out = distances.data() + first;
        Store8(out, s0);
        Store8(out + 8, s1);
        Store8(out + 16, s2);
        Store8(out + 24, s3);
        Store8(out + 32, s4);
        Store8(out + 40, s5);
        Store8(out + 48, s6);
        Store8(out + 56, s7);
    }
    return FirstNearestAvx2(distances.data());
}

#endif

}  // namespace

bool Avx2Available()
{
#ifdef GLYPHMILL_X86
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

void ExactGlyphTable::Set(int32_t position, const uint32_t* colours)
{
    for (int32_t p = 0; p < GlyphPixelCount; ++p) {
        auto value = static_cast<int32_t>(colours[p]);
        byGlyph_[static_cast<size_t>(position * GlyphPixelCount + p)] = value;
        byPixel_[static_cast<size_t>(p * GlyphCount + position)] = value;
    }
}

GlyphMatch ExactGlyphTable::Nearest(const uint32_t* cell, KernelPath path) const
{
#ifdef GLYPHMILL_X86
    if (path == KernelPath::Avx2)
        return NearestAvx2(byPixel_.data(), cell);
#endif
    (void)path;
    return NearestPlain(byGlyph_.data(), cell);
}

GlyphMatch ExactGlyphTable::Nearest(const uint32_t* cell) const
{
    static const KernelPath chosen = Avx2Available() ? KernelPath::Avx2 : KernelPath::Plain;
    return Nearest(cell, chosen);
}
