#include "message_boxes.h"

#include "window_search.h"

namespace {

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
    HWND box = WaitForVisibleWindow(GetCurrentProcessId(), "#32770", nullptr, timeoutMs);
    if (!box)
        return false;
    DWORD start = GetTickCount();
    seen.title = TextOf(box);
    seen.body = TextOf(GetDlgItem(box, 0xFFFF));
    HWND cancel = GetDlgItem(box, IDCANCEL);
    seen.hasCancel = cancel && IsWindowVisible(cancel);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    // Wait until the box is gone, so that the next search cannot find it again.
    while (IsWindow(box) && GetTickCount() - start < timeoutMs)
        Sleep(5);
    return true;
}
