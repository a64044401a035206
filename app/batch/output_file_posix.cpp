#include "batch/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

bool IsFolderOrWriteProtected(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return false;
    return S_ISDIR(status.st_mode) || access(path.c_str(), W_OK) != 0;
}

bool MoveIntoPlace(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}
