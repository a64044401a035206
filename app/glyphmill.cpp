#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "batch_conversion.h"
#include "command_options.h"
#include "console_output.h"
#include "core/command_line.h"
#include "core/startup.h"
#include "main_program.h"
#include "picture_path.h"

namespace {

// The words after the program path, split as the runtime splits them.
std::vector<std::string> CommandLineWords()
{
    std::string commandLine = GetCommandLineA();
    std::vector<ScriptString> words;
    int32_t count = -1;
    SplitCommandLine(commandLine.data(), words, count);
    std::vector<std::string> result;
    for (size_t i = 1; i < words.size(); ++i)
        result.emplace_back(words[i].Text(), words[i].Length());
    return result;
}

// Started with a picture (say by "Open with"), the program works from its own folder, where
// its libraries and help are, as when started from its shortcut.
void OpenFromProgramFolder(const std::string& picture)
{
    SetPictureToOpen(FullPath(picture));
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        SetCurrentDirectoryA(FolderOf(path).c_str());
}

// A caller that reads standard error has redirected it; a program started from the desktop
// has none to read.
bool StandardErrorIsRead()
{
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    return error != nullptr && error != INVALID_HANDLE_VALUE && GetFileType(error) != FILE_TYPE_UNKNOWN;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CommandOptions options = ParseCommandLine(CommandLineWords());
    switch (options.mode) {
    case RunMode::Help:
        WriteStandardOutput(UsageText(), std::char_traits<char>::length(UsageText()));
        return ExitSuccess;
    case RunMode::Invalid:
        if (options.inWindow && !StandardErrorIsRead())
            MessageBoxA(nullptr, (options.error + "\r\n\r\n" + UsageText()).c_str(), "Glyphmill 1.2",
                        MB_OK | MB_ICONERROR);
        else
            WriteStandardError(options.error + "\r\n" + UsageText());
        return ExitBadArguments;
    case RunMode::Convert:
        SetBatchOptions(options);
        return RunRuntime(instance, BatchScript);
    case RunMode::Window:
        break;
    }
    if (!options.picture.empty())
        OpenFromProgramFolder(options.picture);
    // The toolbar's image lists and the common controls' window classes live in COMCTL32.
    // The program calls it by name, which would load and free it around every call;
    // importing it keeps it loaded for the whole run.
    InitCommonControls();
    return RunRuntime(instance, MainScript);
}
