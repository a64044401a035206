// The one translation unit that holds stb_image's code: only the formats it decodes for us.
#include <stdlib.h>
#include <string.h>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

// Every block stb_image allocates starts zeroed. Its inflater takes the invalid distance
// codes 30 and 31 of a corrupt PNG stream as distance 0 and copies bytes it has not written
// yet; they then read as zeros instead of memory nobody wrote.
//
// On Linux a large block (a photo's component planes: 36 MB for 12 megapixels) is mapped
// in huge pages where the system allows them: faulting it in 4 KB pages took about a third
// of a whole conversion. Each block carries a header that tells how it was made.
typedef struct {
    size_t size;
    size_t mapped;  // 16 bytes in all keep the block after it aligned as malloc's are
} BlockHeader;

enum { kMappedBlock = 1 << 21 };

static void* AllocateZeroed(size_t size)
{
    BlockHeader* header = NULL;
    if (size > (size_t)-1 - sizeof(BlockHeader))
        return NULL;
#ifdef __linux__
    if (size >= kMappedBlock) {
        void* mapped =
            mmap(NULL, sizeof(BlockHeader) + size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            return NULL;
        madvise(mapped, sizeof(BlockHeader) + size, MADV_HUGEPAGE);  // a hint: refused, it stays in small pages
        header = (BlockHeader*)mapped;
        header->mapped = 1;
    }
#endif
    if (!header) {
        header = (BlockHeader*)calloc(1, sizeof(BlockHeader) + size);
        if (!header)
            return NULL;
    }
    header->size = size;
    return header + 1;
}

static void FreeBlock(void* block)
{
    BlockHeader* header;
    if (!block)
        return;
    header = (BlockHeader*)block - 1;
#ifdef __linux__
    if (header->mapped) {
        munmap(header, sizeof(BlockHeader) + header->size);
        return;
    }
#endif
    free(header);
}

static void* ZeroedRealloc(void* block, size_t new_size)
{
    void* grown;
    if (!block)
        return AllocateZeroed(new_size);
    grown = AllocateZeroed(new_size);
    if (grown) {
        const size_t old_size = ((BlockHeader*)block - 1)->size;
        memcpy(grown, block, old_size < new_size ? old_size : new_size);
        FreeBlock(block);
    }
    return grown;
}
#define STBI_MALLOC(size) AllocateZeroed(size)
#define STBI_REALLOC_SIZED(block, old_size, new_size) ZeroedRealloc(block, new_size)
#define STBI_FREE(block) FreeBlock(block)

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

#include "stb_jpeg_rows.h"

// A JPEG's rows one at a time, upsampled and colour-converted only when asked for, exactly
// as load_jpeg_image does with four output channels, so that no whole-picture output buffer
// is ever made. A file of one sequential scan is decoded as the rows need it, one stripe
// (a row of MCUs) at a time, into a ring of a few stripes; any other file's planes are
// decoded whole first.
enum { kRingStripes = 3 };  // the stripe being read, the one before it and the one after

struct StbJpegRows {
    stbi__context context;
    stbi__jpeg jpeg;
    stbi__resample resample[4];
    int line0[4], line1[4];  // plane lines the resampler reads next
    int components;          // planes resampled per row
    int is_rgb;              // three planes that hold red, green and blue as they are
    int next_row;
    stbi_uc* rgba;       // one output row before its alpha is dropped
    size_t released[4];  // bytes at the start of each plane given back to the system
    // Streamed files only (stripes > 0).
    int stripes;
    int stripe_lines[4];   // plane lines per stripe
    int units_per_stripe;  // MCUs, or blocks of a lone component
    int blocks_per_unit;
    int transformed;  // stripes turned into plane lines so far
    int scan_ended;   // no restart marker where one belonged: nothing more is coded
};

static stbi_uc* PlaneLine(const StbJpegRows* rows, int k, int line)
{
    const stbi__jpeg* z = &rows->jpeg;
    const size_t stride = (size_t)z->img_comp[k].w2;
    int lines;
    if (!rows->stripes)
        return z->img_comp[k].data + (size_t)line * stride;
    lines = rows->stripe_lines[k];
    return z->img_comp[k].data + ((size_t)(line / lines % kRingStripes) * lines + line % lines) * stride;
}

// Plane rows above the ones the resampler still uses are never read again: their memory
// goes back to the system as the rows are read, in steps of at least this much, so that
// the planes and what the caller builds from the rows are not held in full at once.
enum { kReleaseStep = 1 << 18 };

static void ReleaseReadPlaneRows(StbJpegRows* rows, int k)
{
#ifdef __linux__
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    stbi_uc* plane = rows->jpeg.img_comp[k].data;
    const size_t begin = ((uintptr_t)plane + rows->released[k] + page - 1) / page * page;
    const size_t end = (uintptr_t)PlaneLine(rows, k, rows->line0[k]) / page * page;
    if (end >= begin + kReleaseStep && madvise((void*)begin, end - begin, MADV_DONTNEED) == 0)
        rows->released[k] = end - (uintptr_t)plane;
#else
    (void)rows;
    (void)k;
#endif
}

// Reads the file up to its scan's data as the whole decode does. Gives 0 for a file that
// is not one sequential scan of every component, or that the whole decode must judge.
static int OpenStream(StbJpegRows* rows)
{
    stbi__jpeg* z = &rows->jpeg;
    int m, k;
    for (m = 0; m < 4; ++m) {
        z->img_comp[m].raw_data = NULL;
        z->img_comp[m].raw_coeff = NULL;
    }
    z->restart_interval = 0;
    if (!stbi__decode_jpeg_header(z, STBI__SCAN_load) || z->progressive)
        return 0;
    for (m = stbi__get_marker(z); !stbi__SOS(m); m = stbi__get_marker(z))
        if (stbi__EOI(m) || stbi__DNL(m) || !stbi__process_marker(z, m))
            return 0;
    if (!stbi__process_scan_header(z) || z->scan_n != z->s->img_n)
        return 0;
    // The planes become rings of stripes; like the planes they start zeroed.
    rows->blocks_per_unit = 0;
    for (k = 0; k < z->s->img_n; ++k) {
        const int lone = z->s->img_n == 1;
        rows->stripe_lines[k] = lone ? 8 : z->img_comp[k].v * 8;
        rows->blocks_per_unit += lone ? 1 : z->img_comp[k].h * z->img_comp[k].v;
        STBI_FREE(z->img_comp[k].raw_data);
        z->img_comp[k].data = NULL;
        z->img_comp[k].raw_data = stbi__malloc_mad3(z->img_comp[k].w2, rows->stripe_lines[k], kRingStripes, 15);
        if (!z->img_comp[k].raw_data)
            return 0;
        z->img_comp[k].data = (stbi_uc*)(((size_t)z->img_comp[k].raw_data + 15) & ~(size_t)15);
    }
    // A lone component is coded block by block over its own size, not by MCUs.
    rows->stripes = z->s->img_n == 1 ? (z->img_comp[0].y + 7) >> 3 : z->img_mcu_y;
    rows->units_per_stripe = z->s->img_n == 1 ? (z->img_comp[0].x + 7) >> 3 : z->img_mcu_x;
    stbi__jpeg_reset(z);
    return 1;
}

void stb_jpeg_rows_close(StbJpegRows* rows)
{
    if (!rows)
        return;
    stbi__cleanup_jpeg(&rows->jpeg);
    STBI_FREE(rows->rgba);
    STBI_FREE(rows);
}

static void StartReading(StbJpegRows* rows, const unsigned char* bytes, int length)
{
    stbi__start_mem(&rows->context, bytes, length);
    rows->jpeg.s = &rows->context;
    stbi__setup_jpeg(&rows->jpeg);
    rows->jpeg.s->img_n = 0;  // makes cleanup safe before the frame is read
}

StbJpegRows* stb_jpeg_rows_open(const unsigned char* bytes, int length, int may_stream, int* width, int* height)
{
    StbJpegRows* rows = (StbJpegRows*)STBI_MALLOC(sizeof(StbJpegRows));
    stbi__jpeg* z;
    int k;
    if (!rows)
        return NULL;
    z = &rows->jpeg;
    StartReading(rows, bytes, length);
    if (!may_stream || !OpenStream(rows)) {
        // From the start again, so that the whole decode judges the file as it always has.
        stbi__cleanup_jpeg(z);
        memset(rows, 0, sizeof(*rows));
        StartReading(rows, bytes, length);
        if (!stbi__decode_jpeg_image(z)) {
            stb_jpeg_rows_close(rows);
            return NULL;
        }
    }
    rows->components = z->s->img_n;
    rows->is_rgb = z->s->img_n == 3 && (z->rgb == 3 || (z->app14_color_transform == 0 && !z->jfif));
    for (k = 0; k < rows->components; ++k) {
        stbi__resample* r = &rows->resample[k];
        // big enough for upsampling off the edges with a factor of 4
        z->img_comp[k].linebuf = (stbi_uc*)stbi__malloc(z->s->img_x + 3);
        if (!z->img_comp[k].linebuf) {
            stb_jpeg_rows_close(rows);
            return NULL;
        }
        r->hs = z->img_h_max / z->img_comp[k].h;
        r->vs = z->img_v_max / z->img_comp[k].v;
        r->ystep = r->vs >> 1;
        r->w_lores = (z->s->img_x + r->hs - 1) / r->hs;
        r->ypos = 0;
        rows->line0[k] = rows->line1[k] = 0;
        if (r->hs == 1 && r->vs == 1)
            r->resample = resample_row_1;
        else if (r->hs == 1 && r->vs == 2)
            r->resample = stbi__resample_row_v_2;
        else if (r->hs == 2 && r->vs == 1)
            r->resample = stbi__resample_row_h_2;
        else if (r->hs == 2 && r->vs == 2)
            r->resample = z->resample_row_hv_2_kernel;
        else
            r->resample = stbi__resample_row_generic;
    }
    rows->rgba = (stbi_uc*)stbi__malloc_mad2(z->s->img_x, 4, 0);
    if (!rows->rgba) {
        stb_jpeg_rows_close(rows);
        return NULL;
    }
    rows->next_row = 0;
    *width = (int)z->s->img_x;
    *height = (int)z->s->img_y;
    return rows;
}

int stb_jpeg_rows_stripes(const StbJpegRows* rows)
{
    return rows->stripes;
}

size_t stb_jpeg_rows_stripe_blocks(const StbJpegRows* rows)
{
    return (size_t)rows->units_per_stripe * (size_t)rows->blocks_per_unit;
}

// The inner loops of stb's sequential scan, one stripe's units at a time; the blocks are
// kept in the order they are coded.
int stb_jpeg_rows_decode_stripe(StbJpegRows* rows, short* blocks)
{
    stbi__jpeg* z = &rows->jpeg;
    const int lone = z->scan_n == 1;
    int units = 0;
    while (units < rows->units_per_stripe && !rows->scan_ended) {
        int k, x, y;
        for (k = 0; k < z->scan_n; ++k) {
            const int n = z->order[k];
            const int ha = z->img_comp[n].ha;
            for (y = 0; y < (lone ? 1 : z->img_comp[n].v); ++y)
                for (x = 0; x < (lone ? 1 : z->img_comp[n].h); ++x, blocks += 64)
                    if (!stbi__jpeg_decode_block(z, blocks, z->huff_dc + z->img_comp[n].hd, z->huff_ac + ha,
                                                 z->fast_ac[ha], n, z->dequant[z->img_comp[n].tq]))
                        return -1;
        }
        ++units;
        if (--z->todo <= 0) {
            if (z->code_bits < 24)
                stbi__grow_buffer_unsafe(z);
            // No restart marker where one belongs: the whole decode stops the scan there and
            // keeps what it has.
            if (!STBI__RESTART(z->marker))
                rows->scan_ended = 1;
            else
                stbi__jpeg_reset(z);
        }
    }
    return units;
}

// What the whole decode reads after its scan, which must end the file without another.
int stb_jpeg_rows_finish(StbJpegRows* rows)
{
    stbi__jpeg* j = &rows->jpeg;
    int m;
    if (j->marker == STBI__MARKER_none) {
        while (!stbi__at_eof(j->s)) {
            int x = stbi__get8(j->s);
            if (x == 255) {
                j->marker = stbi__get8(j->s);
                break;
            }
        }
    }
    for (m = stbi__get_marker(j); !stbi__EOI(m); m = stbi__get_marker(j)) {
        if (stbi__SOS(m))
            return 0;
        if (stbi__DNL(m)) {
            int Ld = stbi__get16be(j->s);
            stbi__uint32 NL = stbi__get16be(j->s);
            if (Ld != 4 || NL != j->s->img_y)
                return 0;
        } else if (!stbi__process_marker(j, m)) {
            return 0;
        }
    }
    return 1;
}

void stb_jpeg_rows_transform_stripe(StbJpegRows* rows, short* blocks, int units)
{
    stbi__jpeg* z = &rows->jpeg;
    const int lone = z->scan_n == 1;
    const int stripe = rows->transformed++;
    stbi_uc* slot[4];
    int i, k, x, y;
    for (k = 0; k < z->s->img_n; ++k) {
        const size_t bytes = (size_t)rows->stripe_lines[k] * (size_t)z->img_comp[k].w2;
        slot[k] = z->img_comp[k].data + (size_t)(stripe % kRingStripes) * bytes;
        // What the scan did not code stays as the whole decode's fresh planes hold it.
        if (units < rows->units_per_stripe)
            memset(slot[k], 0, bytes);
    }
    for (i = 0; i < units; ++i) {
        for (k = 0; k < z->scan_n; ++k) {
            const int n = z->order[k];
            const int across = lone ? 1 : z->img_comp[n].h;
            const size_t stride = (size_t)z->img_comp[n].w2;
            for (y = 0; y < (lone ? 1 : z->img_comp[n].v); ++y)
                for (x = 0; x < across; ++x, blocks += 64)
                    z->idct_block_kernel(slot[n] + (size_t)y * 8 * stride + (size_t)(i * across + x) * 8, (int)stride,
                                         blocks);
        }
    }
}

int stb_jpeg_rows_stripes_needed(const StbJpegRows* rows)
{
    int needed = 0, k;
    if (!rows->stripes)
        return 0;
    for (k = 0; k < rows->components; ++k) {
        const int stripe = rows->line1[k] / rows->stripe_lines[k] + 1;
        needed = stripe > needed ? stripe : needed;
    }
    return needed;
}

int stb_jpeg_rows_read(StbJpegRows* rows, unsigned char* rgb, int channels)
{
    stbi__jpeg* z = &rows->jpeg;
    const unsigned int width = z->s->img_x;
    stbi_uc* coutput[4] = {NULL, NULL, NULL, NULL};
    stbi_uc* const rgba = channels == 4 ? rgb : rows->rgba;
    stbi_uc* out = rgba;
    unsigned int i;
    int k;
    if (rows->next_row >= (int)z->s->img_y)
        return 0;
    ++rows->next_row;
    for (k = 0; k < rows->components; ++k) {
        stbi__resample* r = &rows->resample[k];
        const int y_bot = r->ystep >= (r->vs >> 1);
        stbi_uc* in0 = PlaneLine(rows, k, rows->line0[k]);
        stbi_uc* in1 = PlaneLine(rows, k, rows->line1[k]);
        coutput[k] = r->resample(z->img_comp[k].linebuf, y_bot ? in1 : in0, y_bot ? in0 : in1, r->w_lores, r->hs);
        if (++r->ystep >= r->vs) {
            r->ystep = 0;
            rows->line0[k] = rows->line1[k];
            if (++r->ypos < z->img_comp[k].y)
                ++rows->line1[k];
            if (!rows->stripes)
                ReleaseReadPlaneRows(rows, k);
        }
    }
    if (rows->components == 3 && !rows->is_rgb) {
        z->YCbCr_to_RGB_kernel(out, coutput[0], coutput[1], coutput[2], (int)width, 4);
    } else if (rows->components == 3) {
        for (i = 0; i < width; ++i, out += 4) {
            out[0] = coutput[0][i];
            out[1] = coutput[1][i];
            out[2] = coutput[2][i];
            out[3] = 255;
        }
    } else if (rows->components == 4 && z->app14_color_transform == 0) {  // CMYK
        for (i = 0; i < width; ++i, out += 4) {
            stbi_uc m = coutput[3][i];
            out[0] = stbi__blinn_8x8(coutput[0][i], m);
            out[1] = stbi__blinn_8x8(coutput[1][i], m);
            out[2] = stbi__blinn_8x8(coutput[2][i], m);
            out[3] = 255;
        }
    } else if (rows->components == 4 && z->app14_color_transform == 2) {  // YCCK
        z->YCbCr_to_RGB_kernel(out, coutput[0], coutput[1], coutput[2], (int)width, 4);
        for (i = 0; i < width; ++i, out += 4) {
            stbi_uc m = coutput[3][i];
            out[0] = stbi__blinn_8x8(255 - out[0], m);
            out[1] = stbi__blinn_8x8(255 - out[1], m);
            out[2] = stbi__blinn_8x8(255 - out[2], m);
        }
    } else if (rows->components == 4) {  // YCbCr and a fourth plane, which is ignored
        z->YCbCr_to_RGB_kernel(out, coutput[0], coutput[1], coutput[2], (int)width, 4);
    } else {  // grey
        for (i = 0; i < width; ++i, out += 4) {
            out[0] = out[1] = out[2] = coutput[0][i];
            out[3] = 255;
        }
    }
    // Every JPEG pixel is opaque: dropping alpha is what compositing over white gives.
    if (channels == 3)
        for (i = 0; i < width; ++i) {
            rgb[i * 3] = rgba[i * 4];
            rgb[i * 3 + 1] = rgba[i * 4 + 1];
            rgb[i * 3 + 2] = rgba[i * 4 + 2];
        }
    return 1;
}
