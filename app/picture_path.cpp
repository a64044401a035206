#include "picture_path.h"

#include <windows.h>

#include <vector>

#include "services/owned_handles.h"

PictureProblem CheckPictureFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES)
        return PictureProblem::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return PictureProblem::Folder;
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? PictureProblem::None : PictureProblem::Unreadable;
}

std::string FullPath(const std::string& path)
{
    DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::vector<char> buffer(needed + 1, 0);
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0 || length >= buffer.size())
        return path;
    return std::string(buffer.data(), length);
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return "";
    if (slash == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, slash);
}
