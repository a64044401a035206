#include "console_output.h"

#include <windows.h>

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
    handle = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    if (!Usable(handle))
        return nullptr;
    SetStdHandle(which, handle);
    return handle;
}

bool WriteAll(HANDLE handle, const char* bytes, size_t count)
{
    while (count > 0) {
        DWORD chunk = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}

}  // namespace

bool WriteStandardOutput(const char* bytes, size_t count)
{
    HANDLE handle = StandardHandle(STD_OUTPUT_HANDLE);
    return Usable(handle) && WriteAll(handle, bytes, count);
}

void WriteStandardError(const std::string& text)
{
    HANDLE handle = StandardHandle(STD_ERROR_HANDLE);
    if (Usable(handle))
        WriteAll(handle, text.data(), text.size());
}

void EnableConsoleColour()
{
    HANDLE handle = StandardHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (Usable(handle) && GetConsoleMode(handle, &mode))
        SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
