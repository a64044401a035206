#include "atomic_file.h"

#include <windows.h>

#include <string>

#include "services/owned_handles.h"

namespace powerdll {

namespace {

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const char* target, std::span<const std::uint8_t> bytes)
{
    const std::string path(target);
    const std::size_t slash = path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    char temporary[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "gmb", 0, temporary) == 0)
        return false;

    KernelHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    bool done = file && WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    done = file.Close() && done;
    done = done && MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!done)
        DeleteFileA(temporary);
    return done;
}

}  // namespace powerdll
