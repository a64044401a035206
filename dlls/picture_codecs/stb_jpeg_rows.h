#ifndef STB_JPEG_ROWS_H
#define STB_JPEG_ROWS_H
/* A JPEG decoded through stb_image row by row, top to bottom, as 8-bit RGB: the same bytes
   its whole-picture decode to four channels gives, without holding that picture. */

#ifdef __cplusplus
extern "C" {
#endif

typedef struct StbJpegRows StbJpegRows;

/* NULL when the file cannot be decoded; otherwise its size. */
StbJpegRows* stb_jpeg_rows_open(const unsigned char* bytes, int length, int* width, int* height);
/* Writes the next row (width × 3 bytes); 0 once every row was read. */
int stb_jpeg_rows_read(StbJpegRows* rows, unsigned char* rgb);
void stb_jpeg_rows_close(StbJpegRows* rows);

#ifdef __cplusplus
}
#endif

#endif
