#include "drawing_state.h"

HDC WindowDC = nullptr;
HDC BackingDC = nullptr;
HBITMAP BackingBitmap = nullptr;
HDC DrawTarget = nullptr;
HDC MirrorTarget = nullptr;

std::unique_lock<std::recursive_mutex> LockWindowSurfaces()
{
    static std::recursive_mutex surfaces;
    return std::unique_lock(surfaces);
}
