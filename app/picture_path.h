#pragma once
// Pictures named on the command line or dropped on the window: whether they can be read at
// all, and their full paths.

#include <string>

enum class PictureProblem { None, Missing, Folder, Unreadable };

PictureProblem CheckPictureFile(const std::string& path);
// "Die Grafik kann nicht geöffnet werden: PATH" and the reason, in German.
std::string PictureProblemText(PictureProblem problem, const std::string& path);
// The path made absolute against the current folder; unchanged when that fails.
std::string FullPath(const std::string& path);
// The folder part of an absolute path, without its final backslash ("C:\" for a drive's root).
std::string FolderOf(const std::string& path);
