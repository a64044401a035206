// The native command: the conversion without a window for Linux, from the same sources as
// the Windows program's, with its options, messages, exit codes and files.
#include <fcntl.h>
#include <glob.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "batch/batch_report.h"
#include "batch/command_options.h"
#include "batch/conversion_run.h"
#include "batch/console_output.h"
#include "batch/memory_batch.h"
#include "batch/picture_batch.h"
#include "batch/result_names.h"
#include "picture_path.h"

// The program expands wildcards itself too (a quoted pattern reaches it whole), in name
// order with letter case aside, as the Windows program does.
std::vector<std::string> WildcardMatches(const std::string& pattern)
{
    std::vector<std::string> matches;
    glob_t found{};
    if (pattern.find_first_of("*?") != std::string::npos && glob(pattern.c_str(), GLOB_MARK, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i)
            if (std::string name = found.gl_pathv[i]; name.back() != '/')
                matches.push_back(name);
    globfree(&found);
    std::sort(matches.begin(), matches.end(), [](const std::string& a, const std::string& b) {
        return strcasecmp(FileNameOfPath(a).c_str(), FileNameOfPath(b).c_str()) < 0;
    });
    return matches;
}

// Each picture's result in the output folder, which is made when missing; empty when there
// is no such folder and none can be made.
std::vector<std::string> ResultPaths(const CommandOptions& options)
{
    const std::string folder = FullPath(options.outputFolder);
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0 && mkdir(folder.c_str(), 0777) == 0)
        stat(folder.c_str(), &status);
    if (!S_ISDIR(status.st_mode))
        return {};
    return ResultPathsIn(folder, '/', options);
}

// One picture converted by a child process of this one; its standard error comes back
// through a pipe.
namespace {

struct Worker {
    size_t index = 0;
    pid_t process = -1;
    int messages = -1;
};

Worker StartWorker(CommandOptions options, size_t index, const std::string& output)
{
    options.picture = options.pictures[index];
    options.output = output;
    Worker worker{index, -1, -1};
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return worker;
    worker.process = fork();
    if (worker.process == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[1]);
        int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, STDIN_FILENO);
        dup2(nothing, STDOUT_FILENO);
        _exit(ConvertInMemory(options));
    }
    close(pipeEnds[1]);
    if (worker.process < 0)
        close(pipeEnds[0]);
    else
        worker.messages = pipeEnds[0];
    return worker;
}

std::string ReadAll(int descriptor)
{
    std::string text;
    char chunk[4096];
    ssize_t length = 0;
    while ((length = read(descriptor, chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<size_t>(length));
    close(descriptor);
    return text;
}

// Two workers per processor, as the Windows program runs them.
}  // namespace

int ConvertPictures(const CommandOptions& options, const std::vector<std::string>& outputs)
{
    const size_t total = options.pictures.size();
    const size_t parallel = static_cast<size_t>(std::max(1L, 2 * sysconf(_SC_NPROCESSORS_ONLN)));
    BatchReport report(total);
    std::deque<Worker> running;
    size_t next = 0;
    for (size_t finished = 0; finished < total; ++finished) {
        while (next < total && running.size() < parallel) {
            running.push_back(StartWorker(options, next, outputs[next]));
            ++next;
        }
        auto done = std::find_if(running.begin(), running.end(), [](const Worker& w) { return w.process < 0; });
        int status = 0;
        if (done == running.end()) {
            pid_t ended = -1;
            while ((ended = waitpid(-1, &status, 0)) < 0 && errno == EINTR) {
            }
            done = std::find_if(running.begin(), running.end(), [&](const Worker& w) { return w.process == ended; });
            if (done == running.end())
                done = running.begin();
        }
        Worker worker = *done;
        running.erase(done);
        bool started = worker.process >= 0;
        std::string messages = started ? ReadAll(worker.messages) : std::string();
        int code = !started ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        WriteStandardError(
            report.Finished(options.pictures[worker.index], outputs[worker.index], code, started, messages));
    }
    WriteStandardError(report.Summary());
    return report.WorstExitCode();
}

int main(int argc, char** argv)
{
    CommandOptions options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.mode) {
    case RunMode::Help:
        return WriteStandardOutput(UsageText(), std::strlen(UsageText())) ? ExitSuccess : ExitOutputUnwritable;
    case RunMode::Convert:
        return RunConversion(options);
    case RunMode::Invalid:
        WriteStandardError(options.error + "\r\n" + UsageText());
        return ExitBadArguments;
    case RunMode::Window:
        break;
    }
    // There is no window here: a picture alone is converted to the terminal.
    if (!options.picture.empty()) {
        options.pictures = {options.picture};
        return RunConversion(options);
    }
    WriteStandardError(std::string("Ohne Fenster braucht Glyphmill --convert BILD.\r\n") + UsageText());
    return ExitBadArguments;
}
