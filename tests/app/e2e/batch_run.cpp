#include "batch_run.h"

#include <windows.h>

#include "e2e_session.h"

int RunWithHandles(const std::wstring& arguments, HANDLE out, HANDLE err, std::string* problem)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + Widened(ProgramFolder) + L"\\glyphmill.exe\" " + arguments;
    int exitCode = -1;
    std::string why;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, Widened(ProgramFolder).c_str(),
                       &startup, &process)) {
        DWORD waited = WaitForSingleObject(process.hProcess, RunTimeoutMs);
        if (waited == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            exitCode = static_cast<int>(code);
        } else {
            why = waited == WAIT_TIMEOUT ? "did not end within " + std::to_string(RunTimeoutMs / 1000) + " s"
                                         : "waiting failed, error " + std::to_string(GetLastError());
            TerminateProcess(process.hProcess, 99);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        why = "CreateProcessW failed, error " + std::to_string(GetLastError());
    }
    if (problem)
        *problem = why;
    return exitCode;
}

BatchRun RunBatch(const std::wstring& arguments)
{
    std::string folder = OutputFolder();
    std::string outPath = folder + "\\batch-stdout.txt";
    std::string errPath = folder + "\\batch-stderr.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    BatchRun run;
    std::string problem;
    run.exitCode = RunWithHandles(arguments, out, err, &problem);
    CloseHandle(out);
    CloseHandle(err);
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    // The exit code alone cannot tell a start that failed from a run that hung.
    if (!problem.empty())
        run.err += "[glyphmill.exe " + problem + "]";
    return run;
}

BatchRun RunBatch(const std::string& arguments)
{
    return RunBatch(Widened(arguments));
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
