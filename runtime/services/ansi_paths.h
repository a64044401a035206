#pragma once
// Paths that come in as UTF-16 (the file dialogs, the wide command line, dropped files)
// for a program that works with the ANSI code page. A name the code page cannot hold is
// reached through the file's short (8.3) name; a name that cannot be reached at all gets
// a German message rather than the "?" the ANSI functions would put in its place.

#include <windows.h>

#include <string>

enum class PathPurpose { Open, Save };

struct AnsiPath {
    std::wstring original;
    std::string path;  // for the ANSI functions; the lossy form of `original` when unusable
    bool usable = true;
};

// The path itself when the code page holds it; else, to open, the file's short name; to
// save, the folder's short name with the file's own name when the code page holds that.
// A save never goes through the file's short name: writing it anew would give the file
// that name. `maxBytes` bounds the result, 0 for no bound.
AnsiPath ToAnsiPath(const std::wstring& path, PathPurpose purpose, size_t maxBytes = 0);

// Why `path` cannot be used, in German, naming it as it came.
std::wstring UnusablePathText(const AnsiPath& path, PathPurpose purpose);
// The same in the ANSI code page, for standard error.
std::string UnusablePathAnsiText(const AnsiPath& path, PathPurpose purpose);
void ShowUnusablePath(HWND owner, const AnsiPath& path, PathPurpose purpose);

// Text of the ANSI code page as UTF-16, for the wide functions.
std::wstring WideFromAnsi(const std::string& text);
