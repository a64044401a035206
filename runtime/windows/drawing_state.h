#pragma once
// The main window's device contexts and where drawing goes. Made on the main window's
// WM_CREATE and released on its WM_DESTROY; the drawing operations switch the targets.

#include <windows.h>

#include <mutex>

extern HDC WindowDC;           // the main window's own device context (class style CS_OWNDC)
extern HDC BackingDC;          // memory DC holding BackingBitmap
extern HBITMAP BackingBitmap;  // screen-sized copy of the client area, painted on WM_PAINT
extern HDC DrawTarget;         // where drawing operations draw
extern HDC MirrorTarget;       // where drawing on WindowDC is repeated (normally BackingDC)

// WindowDC and BackingDC serve both threads: the GUI thread paints from them, the program
// thread draws on them, and a device context serves one thread at a time (a second thread's
// call on it fails). Each holds this while it uses them, and never across anything that waits
// for the other thread (a message sent to one of its windows, a DLL call, which the GUI thread
// makes) or may end the thread (an error report): a lock its thread never gives back would
// stop every later paint.
std::unique_lock<std::recursive_mutex> LockWindowSurfaces();
