#include "gui_driver.h"

#include "window_search.h"

HWND WaitForWindowOfClass(const char* className, HWND owner, DWORD timeoutMs)
{
    return WaitForVisibleWindow(GetCurrentProcessId(), className, owner, timeoutMs);
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
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

bool ActUntilStepPasses(const std::atomic<int>& step, int from, const std::function<void()>& action, DWORD intervalMs,
                        DWORD timeoutMs)
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
