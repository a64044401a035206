#pragma once
// Raw byte files through the numbered file slots 1 to 15, and the small directory and shell
// commands beside them. Program thread only.

#include <cstdint>

#include "values/script_string.h"

// The access OpenFile asks for; any value not named here is read and write.
enum FileAccessMode : int32_t {
    FileModeRead = 0,
    FileModeWrite = 1,
    FileModeReadWrite = 2,
};
extern int32_t FileMode;

constexpr int32_t FirstFileSlot = 1;
constexpr int32_t LastFileSlot = 15;

// Every slot operation raises error 210 for a slot outside 1 to 15 and then does nothing.
void SetFileMode(int32_t mode);
void AssignFile(int32_t slot, const ScriptString& name);
// Opens (creating if missing, never truncating, not shared) the slot's file. A slot that is
// open already is closed first. A failure leaves the slot closed and is not reported.
void OpenFile(int32_t slot);
void CloseFile(int32_t slot);
// Reads up to `count` bytes at the file position into area + offset; the area must hold
// offset + count bytes. Returns the bytes read, -1 for a closed slot or a refused slot
// number, 0 for a negative offset or count.
int32_t ReadBlock(int32_t slot, void* area, int32_t offset, int32_t count);
// Writes `count` bytes from area + offset at the file position; returns the bytes written
// (0 for a closed slot or a negative offset or count).
int32_t WriteBlock(int32_t slot, const void* area, int32_t offset, int32_t count);
// Whether the slot's last OpenFile succeeded and it has not been closed since.
bool FileIsOpen(int32_t slot);
void SeekFile(int32_t slot, int32_t position);
// Deletes the file named in the slot; silently fails while the file is open.
void EraseFile(int32_t slot);
// Closes every open slot and forgets the names (runtime shutdown).
void ResetFileSlots();

void ChangeDirectory(const ScriptString& path);
// "@" (or "") gives the current directory; a drive letter the current directory of that
// drive, leaving the process's current directory as it was; "" when it cannot be read.
ScriptString GetDirectory(const ScriptString& drive);
// Opens a document with its associated program, owned by the main window; failures are
// silent. An empty verb is the file type's default action.
void ShellOpen(const ScriptString& file, const ScriptString& verb, int32_t showMode);
