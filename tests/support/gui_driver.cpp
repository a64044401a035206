#include "gui_driver.h"

namespace {

struct Search {
    const char* className;
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindWindowOfClass(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    bool ownerMatches = !search->owner || GetWindow(window, GW_OWNER) == search->owner;
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && ownerMatches &&
        lstrcmpiA(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForWindowOfClass(const char* className, HWND owner, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    Search search{className, owner, nullptr};
    while (GetTickCount() - start < timeoutMs) {
        EnumWindows(FindWindowOfClass, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(10);
    }
    return nullptr;
}

bool WaitForStep(const std::atomic<int>& step, int value, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (step.load() < value) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}

bool ActUntilStepPasses(const std::atomic<int>& step, int from, const std::function<void()>& action,
                        DWORD intervalMs, DWORD timeoutMs)
{
    if (!WaitForStep(step, from, timeoutMs))
        return false;
    DWORD start = GetTickCount();
    while (step.load() <= from) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(intervalMs);
        if (step.load() <= from)
            action();
    }
    return true;
}
