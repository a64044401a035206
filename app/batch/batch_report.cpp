#include "batch/batch_report.h"

#include <algorithm>

namespace {

// A worker that ends without one of the program's own exit codes has crashed.
constexpr int HighestExitCode = ExitOutputUnwritable;

// A worker's messages on one line, after the picture's name.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c != '\r' && c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

}  // namespace

std::string FileNameOfPath(const std::string& path)
{
    size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? path : path.substr(end + 1);
}

std::string BatchReport::Finished(const std::string& picture, const std::string& output, int exitCode, bool started,
                                  const std::string& messages)
{
    ++finished_;
    std::string reason = OneLine(messages);
    if (!started) {
        reason = "Das Bild kann nicht umgewandelt werden: kein Prozess.";
        exitCode = ExitPictureUnreadable;
    } else if (exitCode < ExitSuccess || exitCode > HighestExitCode) {
        reason = "Die Umwandlung ist abgebrochen (Rückgabewert " + std::to_string(exitCode) + ").";
        exitCode = ExitPictureUnreadable;
    }
    worst_ = std::max(worst_, exitCode);
    std::string counter = "[" + std::to_string(finished_) + "/" + std::to_string(total_) + "] ";
    if (exitCode == ExitSuccess)
        return counter + FileNameOfPath(picture) + " -> " + FileNameOfPath(output) + "\r\n";
    ++failed_;
    return counter + FileNameOfPath(picture) + ": " + reason + "\r\n";
}

std::string BatchReport::Summary() const
{
    return std::to_string(total_) + " Bilder: " + std::to_string(total_ - failed_) + " umgewandelt, " +
           std::to_string(failed_) + " fehlgeschlagen.\r\n";
}
