#pragma once
// Records the runtime's error reports instead of showing boxes. A report that would end the
// program throws ProgramEnded, so a test sees that the failing command went no further.

#include <string>
#include <vector>

#include "values/error_report.h"

struct RecordedReport {
    std::string title;
    bool fatal;
};

struct ProgramEnded {};

inline std::vector<RecordedReport> Recorded;

inline void RecordReports(int32_t level)
{
    ErrorLevel = level;
    Recorded.clear();
    InstallErrorBoxes({[](const char* title) {
                           Recorded.push_back({title, true});
                       },
                       [](const char* title) {
                           Recorded.push_back({title, false});
                           return true;
                       },
                       []() { throw ProgramEnded{}; }});
}
