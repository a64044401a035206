#pragma once
// Drives the real program from outside, as a user would: starts it, finds its windows,
// presses toolbar buttons and radio buttons, moves the slider, fills file dialogs, steers
// popup menus and answers message boxes.

#include <windows.h>

#include <string>
#include <vector>

// A path as Windows writes it: the build hands over "Z:/..." with forward slashes, which
// older file dialogs do not take.
std::string WindowsPath(std::string path);
// Text of the ANSI code page as UTF-16.
std::wstring Widened(const std::string& text);

class ProgramDriver {
public:
    ProgramDriver() = default;
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;
    ~ProgramDriver();

    // Starts `exe` with `arguments` in `folder`; false when it cannot be started. Without
    // standard handles it starts as from the desktop.
    bool Start(const std::string& exe, const std::string& arguments, const std::string& folder,
               bool withoutStandardHandles = false);
    // The same with arguments in any script, as the shell passes them.
    bool Start(const std::string& exe, const std::wstring& arguments, const std::string& folder,
               bool withoutStandardHandles = false);
    // Waits for the process to end; its exit code, or -1 after the time-out.
    int WaitForExit(DWORD timeoutMs);
    bool Running() const;
    DWORD ProcessId() const { return process_.dwProcessId; }

    // The first visible top-level window of the program with this class (and owner, when
    // given), waiting up to `timeoutMs`.
    HWND FindTopLevel(const char* className, HWND owner = nullptr, DWORD timeoutMs = 10000) const;
    // A child of `parent` by class and text ("" matches any text).
    HWND FindChild(HWND parent, const char* className, const std::string& text = "") const;
    std::string TextOf(HWND window) const;

    // Toolbar command: false when the button is missing or disabled (a posted WM_COMMAND
    // would bypass the disabled state).
    bool PressToolbarButton(HWND mainWindow, int commandId) const;
    bool ToolbarButtonEnabled(HWND mainWindow, int commandId) const;
    // Clicks an enabled button; false when it stays disabled.
    bool Click(HWND button) const;
    void SetSlider(HWND slider, int position) const;

    // Fills the file name of a common file dialog owned by `owner` and confirms it;
    // answers an overwrite prompt with Yes. False when no dialog appeared.
    bool AnswerFileDialog(HWND owner, const std::string& path, DWORD timeoutMs = 10000) const;
    bool AnswerFileDialog(HWND owner, const std::wstring& path, DWORD timeoutMs = 10000) const;
    bool CancelFileDialog(HWND owner, DWORD timeoutMs = 10000) const;
    // The file name a file dialog owned by `owner` offers; "" when none appeared.
    std::string FileDialogName(HWND owner, DWORD timeoutMs = 10000) const;
    // Sends keys (virtual-key codes) to the open popup menu; false when none is open.
    bool SteerPopupMenu(const std::vector<WORD>& keys, DWORD timeoutMs = 10000) const;

    // Polls `condition` until it holds or the time runs out.
    template <typename Condition>
    static bool WaitUntil(Condition condition, DWORD timeoutMs)
    {
        DWORD start = GetTickCount();
        while (!condition()) {
            if (GetTickCount() - start > timeoutMs)
                return false;
            Sleep(20);
        }
        return true;
    }

private:
    PROCESS_INFORMATION process_{};
};
