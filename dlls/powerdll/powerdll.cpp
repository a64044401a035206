// POWERDLL.DLL: converts a JPEG file (or any other picture the decoders know) into a 24-bit
// bottom-up BMP file, turned upright by its EXIF orientation.

#include <windows.h>

#include <cstring>

#include "atomic_file.h"
#include "bmp_writer.h"
#include "decode_picture.h"

namespace {

bool UsablePath(const char* path)
{
    return path != nullptr && path[0] != 0 && strnlen(path, MAX_PATH) < MAX_PATH;
}

}  // namespace

extern "C" {

// The library keeps no state; loading and unloading only have to succeed.
int WINAPI DLL_LoadPowerDLL(int /*key*/)
{
    return 1;
}
int WINAPI DLL_UnLoadPowerDLL()
{
    return 1;
}

// 1 when the target holds the picture; 0, with the target as it was, when the source cannot
// be read or decoded or the target cannot be written.
int WINAPI Convert_JPEGToBmp(const char* source, const char* target)
{
    if (!UsablePath(source) || !UsablePath(target))
        return 0;
    try {
        const auto picture = picture_codecs::DecodePictureFile(source);
        if (!picture)
            return 0;
        return powerdll::WriteFileAtomically(target, picture_codecs::EncodeBmp24(*picture)) ? 1 : 0;
    } catch (...) {  // nothing may escape into the caller, which expects only a result
        return 0;
    }
}

}  // extern "C"
