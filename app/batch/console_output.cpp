#include "batch/console_output.h"

#include <windows.h>

#include "batch/console_writer.h"

namespace {

bool Usable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// A program of the window subsystem started from a console window gets no standard
// handles on Windows; it borrows its parent's console once.
HANDLE StandardHandle(DWORD which)
{
    HANDLE handle = GetStdHandle(which);
    if (Usable(handle))
        return handle;
    static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (!attached)
        return nullptr;
    handle = GetStdHandle(which);
    if (Usable(handle))
        return handle;
    // Read access too: without it the handle cannot be recognised as a console.
    handle = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    if (!Usable(handle))
        return nullptr;
    SetStdHandle(which, handle);
    return handle;
}

}  // namespace

bool WriteStandardOutput(const char* bytes, size_t count)
{
    HANDLE handle = StandardHandle(STD_OUTPUT_HANDLE);
    return Usable(handle) && WriteWindows1252(handle, bytes, count);
}

void WriteStandardError(const std::string& text)
{
    HANDLE handle = StandardHandle(STD_ERROR_HANDLE);
    if (Usable(handle))
        WriteWindows1252(handle, text.data(), text.size());
}

void EnableConsoleColour()
{
    HANDLE handle = StandardHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (Usable(handle) && GetConsoleMode(handle, &mode))
        SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
