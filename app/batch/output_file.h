#pragma once
// The result file's place in the file system, on each system in its own way.

#include <string>

// True for a folder or a write-protected file of that name.
bool IsFolderOrWriteProtected(const std::string& path);
// Moves the complete result to its name, replacing a file there; false when it cannot.
bool MoveIntoPlace(const std::string& from, const std::string& to);
