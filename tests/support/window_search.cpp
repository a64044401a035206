#include "window_search.h"

namespace {

struct Search {
    DWORD process;
    const char* className;
    HWND owner;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window))
        return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, search->className) != 0)
        return TRUE;
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForVisibleWindow(DWORD process, const char* className, HWND owner, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    Search search{process, className, owner, nullptr};
    for (;;) {
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start >= timeoutMs)
            return search.found;
        Sleep(20);
    }
}
