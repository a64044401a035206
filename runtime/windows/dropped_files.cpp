#include "dropped_files.h"

#include <shellapi.h>

#include <mutex>
#include <string>
#include <vector>

#include "event_variables.h"
#include "input_reports.h"

namespace {

// Written by the GUI thread, taken by the program thread.
std::mutex DroppedLock;
std::string DroppedPath;

std::string FirstPath(HDROP drop)
{
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0)
        return "";
    UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    std::vector<char> path(length + 1, 0);
    UINT copied = DragQueryFileA(drop, 0, path.data(), static_cast<UINT>(path.size()));
    return std::string(path.data(), copied <= length ? copied : 0);
}

}  // namespace

void ReportDroppedFiles(HWND window, HDROP drop)
{
    bool accepted = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    std::string path = accepted ? FirstPath(drop) : std::string();
    DragFinish(drop);
    if (path.empty())
        return;
    {
        std::lock_guard lock(DroppedLock);
        DroppedPath = path;
    }
    MenuCommand.exchange(FileDropCommand);
    PulseInput();
}

ScriptString TakeDroppedFile()
{
    std::lock_guard lock(DroppedLock);
    ScriptString path(DroppedPath.c_str());
    DroppedPath.clear();
    return path;
}
