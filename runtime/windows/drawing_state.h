#pragma once
// The main window's device contexts and where drawing goes. Made on the main window's
// WM_CREATE and released on its WM_DESTROY; the drawing operations switch the targets.

#include <windows.h>

extern HDC WindowDC;           // the main window's own device context (class style CS_OWNDC)
extern HDC BackingDC;          // memory DC holding BackingBitmap
extern HBITMAP BackingBitmap;  // screen-sized copy of the client area, painted on WM_PAINT
extern HDC DrawTarget;         // where drawing operations draw
extern HDC MirrorTarget;       // where drawing on WindowDC is repeated (normally BackingDC)
