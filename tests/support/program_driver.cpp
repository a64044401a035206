#include "program_driver.h"

#include <commctrl.h>

#include "window_search.h"

namespace {

struct ChildSearch {
    const char* className;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, search->className) != 0)
        return TRUE;
    if (!search->text->empty()) {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        if (*search->text != text)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND ToolbarOf(HWND mainWindow)
{
    return FindWindowExA(mainWindow, nullptr, TOOLBARCLASSNAMEA, nullptr);
}

}  // namespace

std::string WindowsPath(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

ProgramDriver::~ProgramDriver()
{
    if (process_.hProcess) {
        if (Running())
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

std::wstring Widened(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

bool ProgramDriver::Start(const std::string& exe, const std::string& arguments, const std::string& folder,
                          bool withoutStandardHandles)
{
    return Start(exe, Widened(arguments), folder, withoutStandardHandles);
}

bool ProgramDriver::Start(const std::string& exe, const std::wstring& arguments, const std::string& folder,
                          bool withoutStandardHandles)
{
    std::wstring commandLine = L"\"" + Widened(exe) + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (withoutStandardHandles)
        startup.dwFlags = STARTF_USESTDHANDLES;  // all three null
    // The program opens its popup menus at the pointer when that lies in its window. A menu
    // that appears under the pointer gets its mouse events from the display at their own
    // time, and they move its selection between the keys a test posts: the pointer waits
    // in a corner, away from every window.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    PROCESS_INFORMATION process{};
    bool started = CreateProcessW(Widened(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.empty() ? nullptr : Widened(folder).c_str(), &startup, &process) != 0;
    if (started)
        process_ = process;
    return started;
}

int ProgramDriver::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

bool ProgramDriver::Running() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ProgramDriver::FindTopLevel(const char* className, HWND owner, DWORD timeoutMs) const
{
    return WaitForVisibleWindow(process_.dwProcessId, className, owner, timeoutMs);
}

HWND ProgramDriver::FindChild(HWND parent, const char* className, const std::string& text) const
{
    ChildSearch search{className, &text, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ProgramDriver::TextOf(HWND window) const
{
    char text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &length);
    return text;
}

bool ProgramDriver::ToolbarButtonEnabled(HWND mainWindow, int commandId) const
{
    HWND toolbar = ToolbarOf(mainWindow);
    auto id = static_cast<WPARAM>(static_cast<INT_PTR>(-commandId));  // the button's own negative id
    if (!toolbar || SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0) < 0)
        return false;
    return SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0;
}

bool ProgramDriver::PressToolbarButton(HWND mainWindow, int commandId) const
{
    if (!ToolbarButtonEnabled(mainWindow, commandId))
        return false;
    HWND toolbar = ToolbarOf(mainWindow);
    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(-commandId), 0),
                 reinterpret_cast<LPARAM>(toolbar));
    return true;
}

bool ProgramDriver::Click(HWND button) const
{
    // A user cannot click a disabled button; a BM_CLICK posted to one can even hang the
    // radio group's search in some user32 implementations.
    if (!WaitUntil([&] { return IsWindowEnabled(button) != FALSE; }, 10000))
        return false;
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

void ProgramDriver::SetSlider(HWND slider, int position) const
{
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    PostMessageA(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
}

namespace {

// The file-name field: an edit inside ComboBoxEx32 1148, or edit 1152 in the older layout.
HWND FileNameEdit(const ProgramDriver& driver, HWND dialog)
{
    HWND nameBox = GetDlgItem(dialog, 1148);
    return nameBox ? driver.FindChild(nameBox, "Edit") : GetDlgItem(dialog, 1152);
}

}  // namespace

std::string ProgramDriver::FileDialogName(HWND owner, DWORD timeoutMs) const
{
    HWND dialog = FindTopLevel("#32770", owner, timeoutMs);
    HWND edit = dialog ? FileNameEdit(*this, dialog) : nullptr;
    return edit ? TextOf(edit) : "";
}

bool ProgramDriver::AnswerFileDialog(HWND owner, const std::string& path, DWORD timeoutMs) const
{
    return AnswerFileDialog(owner, Widened(path), timeoutMs);
}

bool ProgramDriver::AnswerFileDialog(HWND owner, const std::wstring& path, DWORD timeoutMs) const
{
    HWND dialog = FindTopLevel("#32770", owner, timeoutMs);
    if (!dialog)
        return false;
    HWND edit = FileNameEdit(*this, dialog);
    if (!edit)
        return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // An overwrite prompt belongs to the file dialog.
    WaitUntil(
        [&] {
            if (!IsWindow(dialog))
                return true;
            if (HWND prompt = FindTopLevel("#32770", dialog, 0))
                PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            return false;
        },
        timeoutMs);
    return !IsWindow(dialog);
}

bool ProgramDriver::CancelFileDialog(HWND owner, DWORD timeoutMs) const
{
    HWND dialog = FindTopLevel("#32770", owner, timeoutMs);
    if (!dialog)
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(dialog); }, timeoutMs);
}

bool ProgramDriver::SteerPopupMenu(const std::vector<WORD>& keys, DWORD timeoutMs) const
{
    HWND menu = FindTopLevel("#32768", nullptr, timeoutMs);
    if (!menu)
        return false;
    for (WORD key : keys) {
        PostMessageA(menu, WM_KEYDOWN, key, 0);
        PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
        Sleep(50);
    }
    return true;
}
