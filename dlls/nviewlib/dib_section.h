#pragma once
// A GDI bitmap holding a decoded picture.

#include <windows.h>

#include "picture.h"

namespace nviewlib {

// A 24-bit DIB section of the picture's size; NULL when GDI cannot make one.
HBITMAP CreatePictureBitmap(const picture_codecs::Picture& picture);

}  // namespace nviewlib
