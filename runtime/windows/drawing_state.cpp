#include "drawing_state.h"

HDC WindowDC = nullptr;
HDC BackingDC = nullptr;
HBITMAP BackingBitmap = nullptr;
HDC DrawTarget = nullptr;
HDC MirrorTarget = nullptr;
