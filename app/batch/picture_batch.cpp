#include "batch/picture_batch.h"

#include <windows.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "batch/batch_report.h"
#include "batch/console_output.h"
#include "picture_path.h"
#include "batch/result_names.h"

namespace {

bool HasWildcard(const std::string& path)
{
    return path.find_first_of("*?") != std::string::npos;
}

std::string FolderPart(const std::string& path)
{
    size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? "" : path.substr(0, end + 1);
}

std::vector<std::string> Matches(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    std::string folder = FolderPart(pattern);
    for (std::string& name : names)
        name = folder + name;
    return names;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string ProgramPath()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string("glyphmill.exe");
}

// The options of one worker: those of this run, with the picture's own output file.
std::string WorkerArguments(const CommandOptions& options, const std::string& picture, const std::string& output)
{
    static constexpr const char* Methods[] = {"4pixel", "exakt", "graustufen"};
    std::string arguments = "--convert " + Quoted(picture) + " --out " + Quoted(output) + " --method " +
                            Methods[static_cast<int>(options.method)] + " --height " +
                            (options.halfHeight ? "half" : "original") + " --brightness " +
                            std::to_string(options.brightness);
    if (options.form == OutputForm::Html)
        arguments += " --fontsize " + std::to_string(options.fontSize);
    if (options.columns > 0)
        arguments += " --width " + std::to_string(options.columns);
    if (options.colour)
        arguments += " --color";
    return arguments;
}

std::string ReadAndDelete(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
            text.append(chunk, read);
        CloseHandle(file);
    }
    DeleteFileA(path.c_str());
    return text;
}

// One worker process: its standard error goes to a file of its own, read when it ends.
class Worker {
public:
    Worker(const std::string& commandLine, const std::string& errorFile) : errorFile_(errorFile)
    {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE error = CreateFileA(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY, nullptr);
        HANDLE nothing = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                     OPEN_EXISTING, 0, nullptr);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nothing;
        startup.hStdOutput = nothing;
        startup.hStdError = error;
        std::string line = commandLine;
        PROCESS_INFORMATION process{};
        if (error != INVALID_HANDLE_VALUE && CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE,
                                                            CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            process_ = process.hProcess;
        }
        if (error != INVALID_HANDLE_VALUE)
            CloseHandle(error);
        if (nothing != INVALID_HANDLE_VALUE)
            CloseHandle(nothing);
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker()
    {
        if (process_)
            CloseHandle(process_);
    }

    HANDLE Process() const { return process_; }
    // After the process has ended: its exit code and what it wrote to standard error.
    int ExitCode() const
    {
        DWORD code = static_cast<DWORD>(-1);
        return process_ && GetExitCodeProcess(process_, &code) ? static_cast<int>(code) : -1;
    }
    std::string Messages() const { return ReadAndDelete(errorFile_); }

private:
    HANDLE process_ = nullptr;
    std::string errorFile_;
};

struct Job {
    size_t index;
    std::unique_ptr<Worker> worker;
};

// Two workers per processor: part of a worker's run is its start and waiting for files and
// the system, time in which the other one keeps the processor busy.
int WorkerCount()
{
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    return std::clamp(2 * static_cast<int>(system.dwNumberOfProcessors), 1, MAXIMUM_WAIT_OBJECTS);
}

// Waits until a worker has ended (one that could not start has ended already) and takes
// it from the running ones.
Job TakeFinished(std::deque<Job>& running)
{
    auto done = std::find_if(running.begin(), running.end(), [](const Job& job) { return !job.worker->Process(); });
    if (done == running.end()) {
        std::vector<HANDLE> handles;
        for (const Job& job : running)
            handles.push_back(job.worker->Process());
        DWORD which = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
        size_t position = which - WAIT_OBJECT_0;
        if (position >= running.size()) {  // the wait failed: wait for the oldest alone
            position = 0;
            WaitForSingleObject(handles[0], INFINITE);
        }
        done = running.begin() + static_cast<std::ptrdiff_t>(position);
    }
    Job job = std::move(*done);
    running.erase(done);
    return job;
}

}  // namespace

std::vector<std::string> WildcardMatches(const std::string& pattern)
{
    return HasWildcard(pattern) ? Matches(pattern) : std::vector<std::string>{};
}

std::vector<std::string> ResultPaths(const CommandOptions& options)
{
    const std::string folder = FullPath(options.outputFolder);
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES && CreateDirectoryA(folder.c_str(), nullptr))
        attributes = FILE_ATTRIBUTE_DIRECTORY;
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return ResultPathsIn(folder, '\\', options);
}

int ConvertPictures(const CommandOptions& options, const std::vector<std::string>& outputs)
{
    char temp[MAX_PATH + 1] = {};
    DWORD tempLength = GetTempPathA(sizeof temp, temp);
    std::string errorPrefix = std::string(tempLength > 0 && tempLength < sizeof temp ? temp : "") + "glyphmill-" +
                              std::to_string(GetCurrentProcessId()) + "-";
    const std::string program = Quoted(ProgramPath()) + " ";
    const size_t total = options.pictures.size();
    const size_t parallel = static_cast<size_t>(WorkerCount());
    std::deque<Job> running;
    size_t next = 0;
    size_t finished = 0;
    BatchReport report(total);
    while (finished < total) {
        while (next < total && running.size() < parallel) {
            std::string commandLine = program + WorkerArguments(options, options.pictures[next], outputs[next]);
            running.push_back({next, std::make_unique<Worker>(commandLine, errorPrefix + std::to_string(next))});
            ++next;
        }
        Job job = TakeFinished(running);
        ++finished;
        WriteStandardError(report.Finished(options.pictures[job.index], outputs[job.index], job.worker->ExitCode(),
                                           job.worker->Process() != nullptr, job.worker->Messages()));
    }
    WriteStandardError(report.Summary());
    return report.WorstExitCode();
}
