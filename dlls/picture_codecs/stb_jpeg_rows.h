#ifndef STB_JPEG_ROWS_H
#define STB_JPEG_ROWS_H
/* A JPEG decoded through stb_image row by row, top to bottom: the same bytes its
   whole-picture decode to four channels gives, without holding that picture. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct StbJpegRows StbJpegRows;

/* NULL when the file cannot be decoded; otherwise its size. With may_stream set, a file of
   one sequential scan of every component is left to be decoded stripe by stripe (a stripe
   is a row of MCUs); any other file is decoded whole here. */
StbJpegRows* stb_jpeg_rows_open(const unsigned char* bytes, int length, int may_stream, int* width, int* height);
void stb_jpeg_rows_close(StbJpegRows* rows);

/* The stripes of a streamed file, 0 for one decoded whole, and the 64-coefficient blocks
   one stripe holds. */
int stb_jpeg_rows_stripes(const StbJpegRows* rows);
size_t stb_jpeg_rows_stripe_blocks(const StbJpegRows* rows);

/* The scan's entropy decoding, which may run on a thread of its own: the next stripe's
   blocks into `blocks` (16-byte aligned); gives how many of the stripe's units the scan
   coded (fewer once it ended early), or -1 for corrupt data. After the last stripe,
   stb_jpeg_rows_finish reads the rest of the file: 0 when it is corrupt. */
int stb_jpeg_rows_decode_stripe(StbJpegRows* rows, short* blocks);
int stb_jpeg_rows_finish(StbJpegRows* rows);

/* The rest, on the reading thread: the next stripe's decoded blocks into pixels, and how
   many stripes must have been turned so before the next row can be read. */
void stb_jpeg_rows_transform_stripe(StbJpegRows* rows, short* blocks, int units);
int stb_jpeg_rows_stripes_needed(const StbJpegRows* rows);

/* Writes the next row: width × channels bytes, 3 for RGB, 4 for RGB and an opaque alpha;
   0 once every row was read. */
int stb_jpeg_rows_read(StbJpegRows* rows, unsigned char* rgb, int channels);

#ifdef __cplusplus
}
#endif

#endif
