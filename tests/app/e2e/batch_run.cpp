#include "batch_run.h"

#include <windows.h>

#include "e2e_session.h"

BatchRun RunBatch(const std::string& arguments)
{
    std::string folder = OutputFolder();
    std::string outPath = folder + "\\batch-stdout.txt";
    std::string errPath = folder + "\\batch-stderr.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + ProgramFolder + "\\glyphmill.exe\" " + arguments;
    BatchRun run;
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, ProgramFolder.c_str(),
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            run.exitCode = static_cast<int>(code);
        } else {
            TerminateProcess(process.hProcess, 99);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int LeftoverTemporaryFolders()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(temp) + "glyphmill-*").c_str(), &found);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        count += std::string(found.cFileName) != "glyphmill-e2e";
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

