#pragma once
// Runs of the conversion without a window, shared by the end-to-end tests of the command line.

#include <windows.h>

#include <string>

struct BatchRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

constexpr DWORD RunTimeoutMs = 120000;

// Runs glyphmill.exe with `arguments` in the program's folder and these standard handles;
// its exit code, or -1 with the reason in `problem` when it did not start or end.
int RunWithHandles(const std::wstring& arguments, HANDLE out, HANDLE err, std::string* problem = nullptr);
// The same with standard output and error redirected to files.
BatchRun RunBatch(const std::wstring& arguments);
BatchRun RunBatch(const std::string& arguments);
std::string Quoted(const std::string& path);
bool Exists(const std::string& path);
// The batch runs' temporary folders left behind.
int LeftoverTemporaryFolders();
