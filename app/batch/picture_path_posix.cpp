// The pictures named on the command line of the native command, as picture_path.h
// describes them for the Windows program.
#include "picture_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

PictureProblem CheckPictureFile(const std::string& path)
{
    struct stat status {};
    if (path.empty() || stat(path.c_str(), &status) != 0)
        return PictureProblem::Missing;
    if (S_ISDIR(status.st_mode))
        return PictureProblem::Folder;
    int file = open(path.c_str(), O_RDONLY);
    if (file < 0)
        return PictureProblem::Unreadable;
    close(file);
    return PictureProblem::None;
}

std::string FullPath(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    char folder[PATH_MAX] = {};
    return getcwd(folder, sizeof folder) ? std::string(folder) + "/" + path : path;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}
