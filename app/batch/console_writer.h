#pragma once
// Writing the program's Windows-1252 texts to a standard handle.

#include <windows.h>

#include <cstddef>

// A console shows bytes in its own code page (the OEM one, 850 in Germany), which garbles
// every umlaut: it gets the characters instead, through the console's wide interface. A
// file or a pipe gets the bytes unchanged, as they are the file format. False when not
// everything was written.
bool WriteWindows1252(HANDLE handle, const char* bytes, size_t count);
