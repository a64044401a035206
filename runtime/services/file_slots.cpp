#include "file_slots.h"

#include <windows.h>
#include <shellapi.h>

#include "core/runtime_state.h"
#include "values/error_report.h"

int32_t FileMode = FileModeReadWrite;

namespace {

struct FileSlot {
    ScriptString name;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

FileSlot FileTable[LastFileSlot + 1];  // entry 0 unused: slots are numbered from 1

constexpr DWORD DirectoryBufferSize = 292;

FileSlot* CheckedSlot(int32_t slot)
{
    if (slot < FirstFileSlot || slot > LastFileSlot) {
        RaiseError(ErrorFileSlotOutOfRange);
        return nullptr;
    }
    return &FileTable[slot];
}

// The open slot, or nullptr after a refused number or when the slot is closed.
FileSlot* OpenSlot(int32_t slot)
{
    FileSlot* entry = CheckedSlot(slot);
    return entry && entry->handle != INVALID_HANDLE_VALUE ? entry : nullptr;
}

void CloseSlot(FileSlot& entry)
{
    if (entry.handle != INVALID_HANDLE_VALUE)
        CloseHandle(entry.handle);
    entry.handle = INVALID_HANDLE_VALUE;
}

DWORD AccessForMode(int32_t mode)
{
    switch (mode) {
    case FileModeRead:
        return GENERIC_READ;
    case FileModeWrite:
        return GENERIC_WRITE;
    default:
        return GENERIC_READ | GENERIC_WRITE;
    }
}

ScriptString CurrentDirectory()
{
    char buffer[DirectoryBufferSize];
    DWORD length = GetCurrentDirectoryA(DirectoryBufferSize, buffer);
    // A directory longer than the buffer is reported by its needed size, not written.
    if (length == 0 || length >= DirectoryBufferSize)
        return ScriptString();
    return ScriptString(buffer, length);
}

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

void SetFileMode(int32_t mode)
{
    FileMode = mode;
}

void AssignFile(int32_t slot, const ScriptString& name)
{
    if (FileSlot* entry = CheckedSlot(slot))
        entry->name = name;
}

void OpenFile(int32_t slot)
{
    FileSlot* entry = CheckedSlot(slot);
    if (!entry)
        return;
    CloseSlot(*entry);
    entry->handle = CreateFileA(entry->name.Text(), AccessForMode(FileMode), 0, nullptr, OPEN_ALWAYS,
                                FILE_FLAG_RANDOM_ACCESS | FILE_ATTRIBUTE_NORMAL, nullptr);
}

void CloseFile(int32_t slot)
{
    if (FileSlot* entry = CheckedSlot(slot))
        CloseSlot(*entry);
}

int32_t ReadBlock(int32_t slot, void* area, int32_t offset, int32_t count)
{
    FileSlot* entry = OpenSlot(slot);
    if (!entry)
        return -1;
    if (offset < 0 || count < 0)
        return 0;
    DWORD read = 0;
    ReadFile(entry->handle, static_cast<char*>(area) + offset, static_cast<DWORD>(count), &read, nullptr);
    return static_cast<int32_t>(read);
}

int32_t WriteBlock(int32_t slot, const void* area, int32_t offset, int32_t count)
{
    FileSlot* entry = OpenSlot(slot);
    if (!entry || offset < 0 || count < 0)
        return 0;
    DWORD written = 0;
    if (!WriteFile(entry->handle, static_cast<const char*>(area) + offset, static_cast<DWORD>(count), &written,
                   nullptr))
        return 0;
    return static_cast<int32_t>(written);
}

bool FileIsOpen(int32_t slot)
{
    return OpenSlot(slot) != nullptr;
}

void SeekFile(int32_t slot, int32_t position)
{
    FileSlot* entry = OpenSlot(slot);
    if (!entry)
        return;
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    SetFilePointerEx(entry->handle, distance, nullptr, FILE_BEGIN);
}

void EraseFile(int32_t slot)
{
    if (FileSlot* entry = CheckedSlot(slot))
        DeleteFileA(entry->name.Text());
}

void ResetFileSlots()
{
    for (FileSlot& entry : FileTable) {
        CloseSlot(entry);
        entry.name.Clear();
    }
}

void ChangeDirectory(const ScriptString& path)
{
    SetCurrentDirectoryA(path.Text());
}

ScriptString GetDirectory(const ScriptString& drive)
{
    char letter = UpperAscii(drive.Text()[0]);
    if (letter == '@' || letter == '\0')
        return CurrentDirectory();
    ScriptString remembered = CurrentDirectory();
    const char driveOnly[] = {letter, ':', '\0'};
    // A drive that cannot be made current has no directory to report; reading on would
    // return the current drive's instead.
    if (!SetCurrentDirectoryA(driveOnly))
        return ScriptString();
    ScriptString result = CurrentDirectory();
    SetCurrentDirectoryA(remembered.Text());
    return result;
}

void ShellOpen(const ScriptString& file, const ScriptString& verb, int32_t showMode)
{
    ShellExecuteA(MainWindow.load(), verb.Length() ? verb.Text() : nullptr, file.Text(), nullptr, nullptr, showMode);
}
