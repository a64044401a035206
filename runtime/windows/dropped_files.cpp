#include "dropped_files.h"

#include <shellapi.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "event_variables.h"
#include "input_reports.h"

namespace {

// Written by the GUI thread, taken by the program thread.
std::mutex DroppedLock;
AnsiPath DroppedPath;

// The wide query, as the ANSI one puts "?" for every character outside the code page.
std::wstring FirstPath(HDROP drop)
{
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0)
        return L"";
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::vector<wchar_t> path(length + 1, 0);
    UINT copied = DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
    return std::wstring(path.data(), copied <= length ? copied : 0);
}

}  // namespace

void ReportDroppedFiles(HWND window, HDROP drop)
{
    bool accepted = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    std::wstring path = accepted ? FirstPath(drop) : std::wstring();
    DragFinish(drop);
    if (path.empty())
        return;
    {
        std::lock_guard lock(DroppedLock);
        DroppedPath = ToAnsiPath(path, PathPurpose::Open);
    }
    MenuCommand.exchange(FileDropCommand);
    PulseInput();
}

AnsiPath TakeDroppedFile()
{
    std::lock_guard lock(DroppedLock);
    return std::exchange(DroppedPath, AnsiPath());
}
