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
    BlockHeader* header = (BlockHeader*)block - 1;
    if (!block)
        return;
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

// A JPEG's rows one at a time: the component planes are decoded whole, but each output row
// is upsampled and colour-converted only when asked for, exactly as load_jpeg_image does
// with four output channels, so that no whole-picture output buffer is ever made.
struct StbJpegRows {
    stbi__context context;
    stbi__jpeg jpeg;
    stbi__resample resample[4];
    int components;  // planes resampled per row
    int is_rgb;      // three planes that hold red, green and blue as they are
    int next_row;
    stbi_uc* rgba;       // one output row before its alpha is dropped
    size_t released[4];  // bytes at the start of each plane given back to the system
};

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
    const size_t end = (uintptr_t)rows->resample[k].line0 / page * page;
    if (end >= begin + kReleaseStep && madvise((void*)begin, end - begin, MADV_DONTNEED) == 0)
        rows->released[k] = end - (uintptr_t)plane;
#else
    (void)rows;
    (void)k;
#endif
}

void stb_jpeg_rows_close(StbJpegRows* rows)
{
    if (!rows)
        return;
    stbi__cleanup_jpeg(&rows->jpeg);
    STBI_FREE(rows->rgba);
    STBI_FREE(rows);
}

StbJpegRows* stb_jpeg_rows_open(const unsigned char* bytes, int length, int* width, int* height)
{
    StbJpegRows* rows = (StbJpegRows*)STBI_MALLOC(sizeof(StbJpegRows));
    stbi__jpeg* z;
    int k;
    if (!rows)
        return NULL;
    stbi__start_mem(&rows->context, bytes, length);
    z = &rows->jpeg;
    z->s = &rows->context;
    stbi__setup_jpeg(z);
    z->s->img_n = 0;  // makes cleanup safe before the frame is read
    if (!stbi__decode_jpeg_image(z)) {
        stb_jpeg_rows_close(rows);
        return NULL;
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
        r->line0 = r->line1 = z->img_comp[k].data;
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

int stb_jpeg_rows_read(StbJpegRows* rows, unsigned char* rgb)
{
    stbi__jpeg* z = &rows->jpeg;
    const unsigned int width = z->s->img_x;
    stbi_uc* coutput[4] = {NULL, NULL, NULL, NULL};
    stbi_uc* out = rows->rgba;
    unsigned int i;
    int k;
    if (rows->next_row >= (int)z->s->img_y)
        return 0;
    ++rows->next_row;
    for (k = 0; k < rows->components; ++k) {
        stbi__resample* r = &rows->resample[k];
        int y_bot = r->ystep >= (r->vs >> 1);
        coutput[k] = r->resample(z->img_comp[k].linebuf, y_bot ? r->line1 : r->line0, y_bot ? r->line0 : r->line1,
                                 r->w_lores, r->hs);
        if (++r->ystep >= r->vs) {
            r->ystep = 0;
            r->line0 = r->line1;
            if (++r->ypos < z->img_comp[k].y)
                r->line1 += z->img_comp[k].w2;
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
        }
    } else if (rows->components == 4 && z->app14_color_transform == 0) {  // CMYK
        for (i = 0; i < width; ++i, out += 4) {
            stbi_uc m = coutput[3][i];
            out[0] = stbi__blinn_8x8(coutput[0][i], m);
            out[1] = stbi__blinn_8x8(coutput[1][i], m);
            out[2] = stbi__blinn_8x8(coutput[2][i], m);
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
        for (i = 0; i < width; ++i, out += 4)
            out[0] = out[1] = out[2] = coutput[0][i];
    }
    // Every JPEG pixel is opaque: dropping alpha is what compositing over white gives.
    for (i = 0; i < width; ++i) {
        rgb[i * 3] = rows->rgba[i * 4];
        rgb[i * 3 + 1] = rows->rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rows->rgba[i * 4 + 2];
    }
    return 1;
}
