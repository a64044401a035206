#include "e2e_session.h"

#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>

const std::string ProgramFolder = WindowsPath(PROGRAM_FOLDER);
const std::string PictureFolder = WindowsPath(PICTURE_FOLDER);

std::string Picture(const char* name)
{
    return PictureFolder + "\\" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string OutputFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "glyphmill-e2e";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string SettingsFile()
{
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\Glyphmill\\glyphmill.ini";
}

void ForgetSettings()
{
    DeleteFileA(SettingsFile().c_str());
}

bool Written(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::string Setting(const char* key)
{
    char value[300] = {};
    GetPrivateProfileStringA("folders", key, "", value, sizeof value, SettingsFile().c_str());
    return value;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

namespace {

BOOL CALLBACK MatchResolutionLabel(HWND child, LPARAM param)
{
    char text[128] = {};
    GetWindowTextA(child, text, sizeof text);
    if (!std::string(text).starts_with("Auflösung:"))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

// The label starts as "Auflösung:" and then shows the picture's size.
HWND ResolutionLabel(HWND main)
{
    HWND found = nullptr;
    EnumChildWindows(main, MatchResolutionLabel, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

Session::Session(const std::string& arguments) : Session(Widened(arguments))
{
}

Session::Session(const std::wstring& arguments)
{
    started = driver.Start(ProgramFolder + "\\glyphmill.exe", arguments, ProgramFolder);
    main = started ? driver.FindTopLevel("FENSTER", nullptr, 20000) : nullptr;
    // Ready once the window stands centred on the screen, its last start-up step.
    ready =
        main && ProgramDriver::WaitUntil(
                    [&] {
                        RECT rect{};
                        GetWindowRect(main, &rect);
                        return rect.right < GetSystemMetrics(SM_CXSCREEN) && driver.ToolbarButtonEnabled(main, 1500);
                    },
                    20000);
    if (ready) {
        output = driver.FindChild(main, "Edit");
        slider = driver.FindChild(main, TRACKBAR_CLASSA);
        resolution = ResolutionLabel(main);
    }
}

bool Session::Load(const std::string& path)
{
    return Load(Widened(path));
}

bool Session::Load(const std::wstring& path)
{
    return Command(1500, [&] { return DialogOpen(); }) && driver.AnswerFileDialog(main, path);
}

bool Session::Choose(const char* method, const char* option, int position)
{
    auto checked = [&](const char* text) {
        return ProgramDriver::WaitUntil([&] { return SendMessageA(Radio(text), BM_GETCHECK, 0, 0) == BST_CHECKED; },
                                        10000);
    };
    if (!driver.Click(Radio(method)) || !checked(method))
        return false;
    // The options are enabled at the program's next pass after "4-Pixel (empfohlen)" is
    // checked; a click that came while it was busy starts no pass, so it is repeated.
    if (option) {
        bool enabled = false;
        for (int attempt = 0; attempt < 5 && !enabled; ++attempt) {
            enabled = ProgramDriver::WaitUntil([&] { return IsWindowEnabled(Radio(option)) != FALSE; }, 2000);
            if (!enabled)
                PostMessageA(Radio(method), BM_CLICK, 0, 0);
        }
        if (!enabled || !driver.Click(Radio(option)) || !checked(option))
            return false;
    }
    driver.SetSlider(slider, position);
    return true;
}

bool Session::Convert(const std::function<bool()>& meanwhile)
{
    // The text field is emptied first, so that a conversion too short to be seen running
    // still shows.
    SendMessageA(output, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    auto running = [&] { return driver.ToolbarButtonEnabled(main, 1503) || !Output().empty(); };
    if (!Command(1502, running))
        return false;
    bool goingOn = true;
    return ProgramDriver::WaitUntil(
               [&] {
                   goingOn = !meanwhile || meanwhile();
                   return !goingOn || driver.ToolbarButtonEnabled(main, 1502);
               },
               120000) &&
           goingOn;
}

std::string Session::Output() const
{
    LRESULT length = SendMessageA(output, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(output, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

bool Session::Save(const std::vector<WORD>& keys, const std::string& path, std::string* offered)
{
    DeleteFileA(path.c_str());
    if (!Command(1501, [&] { return MenuOpen(); }) || !driver.SteerPopupMenu(keys))
        return false;
    if (offered)
        *offered = driver.FileDialogName(main);
    return driver.AnswerFileDialog(main, path) && ProgramDriver::WaitUntil([&] { return Written(path); }, 20000);
}

int Session::Quit()
{
    Command(1505, [&] { return !driver.Running(); });
    return driver.WaitForExit(20000);
}

const std::vector<WORD> MenuBitmap = {VK_DOWN, VK_RETURN};
const std::vector<WORD> MenuText = {VK_DOWN, VK_DOWN, VK_RETURN};
// The submenu's fifth line is "Schriftgrad  0"; its items skip the separators.
const std::vector<WORD> MenuHtmlMinus3 = {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN};
const std::vector<WORD> MenuHtmlPlus2 = {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN,
                                         VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN,  VK_RETURN};
const std::vector<WORD> MenuColouredHtmlPlus2 = {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN,
                                                 VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
