// The one translation unit that holds stb_image's code: only the formats it decodes for us.
#include <stdlib.h>
#include <string.h>

// Every block stb_image allocates starts zeroed. Its inflater takes the invalid distance
// codes 30 and 31 of a corrupt PNG stream as distance 0 and copies bytes it has not written
// yet; they then read as zeros instead of memory nobody wrote.
static void* ZeroedRealloc(void* block, size_t old_size, size_t new_size)
{
    unsigned char* grown = realloc(block, new_size);
    if (grown && new_size > old_size)
        memset(grown + old_size, 0, new_size - old_size);
    return grown;
}
#define STBI_MALLOC(size) calloc(1, size)
#define STBI_REALLOC_SIZED(block, old_size, new_size) ZeroedRealloc(block, old_size, new_size)
#define STBI_FREE(block) free(block)

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>
