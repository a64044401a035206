#pragma once
// Standard output and standard error of a program built for the window subsystem: the
// handles it inherited when redirected, else the console of the program that started it.

#include <cstddef>
#include <string>

// False when nothing could take the bytes or not all of them were written.
bool WriteStandardOutput(const char* bytes, size_t count);
void WriteStandardError(const std::string& text);
// On a console, switches on its virtual-terminal processing, so that colour sequences are
// shown as colours; a file or pipe takes them as they are.
void EnableConsoleColour();
