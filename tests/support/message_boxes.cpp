#include "message_boxes.h"

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == search->process && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    if (window)
        GetWindowTextW(window, text, 512);
    return text;
}

}  // namespace

bool AnswerNextMessageBox(int button, SeenBox& seen, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    Search search{GetCurrentProcessId(), nullptr};
    while (!search.found) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    }
    seen.title = TextOf(search.found);
    seen.body = TextOf(GetDlgItem(search.found, 0xFFFF));
    HWND cancel = GetDlgItem(search.found, IDCANCEL);
    seen.hasCancel = cancel && IsWindowVisible(cancel);
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    // Wait until the box is gone, so that the next search cannot find it again.
    while (IsWindow(search.found) && GetTickCount() - start < timeoutMs)
        Sleep(5);
    return true;
}
