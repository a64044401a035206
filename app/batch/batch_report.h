#pragma once
// What a run over many pictures tells on standard error: one line per finished picture and
// a summary. Needs no window.

#include <cstddef>
#include <string>

#include "batch/command_options.h"

// The file name of a path, after its last "\", "/" or ":".
std::string FileNameOfPath(const std::string& path);

// Counts the finished pictures of a run and words its lines, each ending in CR LF.
class BatchReport {
public:
    explicit BatchReport(size_t total) : total_(total) {}

    // A worker's end: its exit code (negative or above the program's own ones: it crashed
    // or could not start) and what it wrote on standard error. Returns the line and keeps
    // the worst exit code.
    std::string Finished(const std::string& picture, const std::string& output, int exitCode, bool started,
                         const std::string& messages);
    std::string Summary() const;
    int WorstExitCode() const { return worst_; }

private:
    size_t total_;
    size_t finished_ = 0;
    size_t failed_ = 0;
    int worst_ = ExitSuccess;
};
