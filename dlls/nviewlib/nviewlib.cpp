// NViewLib.DLL: decodes a picture file of any supported format into a bitmap that the caller
// owns, selects into a device context and deletes.

#include <windows.h>

#include <cstring>

#include "decode_picture.h"
#include "dib_section.h"

extern "C" {

// The caller always asks for "german"; there is nothing to translate, since failures are
// reported only as a missing bitmap.
BOOL WINAPI NViewLibSetLanguage(const char* /*language*/)
{
    return TRUE;
}

// NULL when the path is missing, too long or names no decodable picture.
HBITMAP WINAPI NViewLibLoad(const char* path, int /*flags*/)
{
    if (path == nullptr || strnlen(path, MAX_PATH) >= MAX_PATH)
        return nullptr;
    try {
        const auto picture = picture_codecs::DecodePictureFile(path);
        return picture ? nviewlib::CreatePictureBitmap(*picture) : nullptr;
    } catch (...) {  // nothing may escape into the caller, which expects only a result
        return nullptr;
    }
}

}  // extern "C"
