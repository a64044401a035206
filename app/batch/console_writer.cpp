#include "batch/console_writer.h"

#include <vector>

namespace {

constexpr UINT Windows1252 = 1252;
// Small pieces: older consoles refuse a WriteConsoleW beyond about 64 KB.
constexpr size_t ConsoleChunk = 8192;
constexpr size_t FileChunk = 0x10000000;

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

bool WriteBytes(HANDLE handle, const char* bytes, size_t count)
{
    while (count > 0) {
        DWORD chunk = static_cast<DWORD>(count > FileChunk ? FileChunk : count);
        DWORD written = 0;
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}

// Every Windows-1252 byte is one UTF-16 unit, so the pieces never split a character.
bool WriteCharacters(HANDLE handle, const char* bytes, size_t count)
{
    std::vector<wchar_t> wide(ConsoleChunk);
    while (count > 0) {
        int chunk = static_cast<int>(count > ConsoleChunk ? ConsoleChunk : count);
        int length = MultiByteToWideChar(Windows1252, 0, bytes, chunk, wide.data(), chunk);
        if (length != chunk)
            return false;
        const wchar_t* next = wide.data();
        while (length > 0) {
            DWORD written = 0;
            if (!WriteConsoleW(handle, next, static_cast<DWORD>(length), &written, nullptr) || written == 0)
                return false;
            next += written;
            length -= static_cast<int>(written);
        }
        bytes += chunk;
        count -= static_cast<size_t>(chunk);
    }
    return true;
}

}  // namespace

bool WriteWindows1252(HANDLE handle, const char* bytes, size_t count)
{
    return IsConsole(handle) ? WriteCharacters(handle, bytes, count) : WriteBytes(handle, bytes, count);
}
