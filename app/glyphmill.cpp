#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "batch/command_options.h"
#include "batch/conversion_run.h"
#include "batch/console_output.h"
#include "core/command_line.h"
#include "core/startup.h"
#include "main_program.h"
#include "picture_path.h"
#include "services/ansi_paths.h"

namespace {

// The words after the program path, split as the runtime splits them, from the wide
// command line, so that a file named in any script is reached (through its short name).
std::vector<AnsiPath> CommandLineWords()
{
    std::vector<std::wstring> words = SplitWideCommandLine(GetCommandLineW());
    std::vector<AnsiPath> result;
    for (size_t i = 1; i < words.size(); ++i)
        result.push_back(ToAnsiPath(words[i], PathPurpose::Open));
    return result;
}

std::vector<std::string> AnsiWords(const std::vector<AnsiPath>& words)
{
    std::vector<std::string> result;
    for (const AnsiPath& word : words)
        result.push_back(word.path);
    return result;
}

// The word the parser took as `path`, with what the command line gave for it.
AnsiPath WordOf(const std::vector<AnsiPath>& words, const std::string& path)
{
    for (const AnsiPath& word : words)
        if (word.path == path)
            return word;
    return AnsiPath{WideFromAnsi(path), path, true};
}

// Started with a picture (say by "Open with"), the program works from its own folder, where
// its libraries and help are, as when started from its shortcut.
void OpenFromProgramFolder(const AnsiPath& picture)
{
    AnsiPath full = picture;
    if (full.usable)
        full.path = FullPath(full.path);
    SetPictureToOpen(full);
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
    std::vector<AnsiPath> words = CommandLineWords();
    CommandOptions options = ParseCommandLine(AnsiWords(words));
    AnsiPath picture = WordOf(words, options.picture);
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
        // A name no short name reaches would come through as "?", which a wildcard expands.
        for (const std::string& word : options.pictures) {
            AnsiPath named = WordOf(words, word);
            if (!named.usable) {
                WriteStandardError(UnusablePathAnsiText(named, PathPurpose::Open) + "\r\n");
                return ExitPictureUnreadable;
            }
        }
        if (!options.output.empty()) {
            AnsiPath output = ToAnsiPath(WordOf(words, options.output).original, PathPurpose::Save);
            if (!output.usable) {
                WriteStandardError(UnusablePathAnsiText(output, PathPurpose::Save) + "\r\n");
                return ExitOutputUnwritable;
            }
            options.output = output.path;
        }
        return RunConversion(options);
    case RunMode::Window:
        break;
    }
    if (!options.picture.empty())
        OpenFromProgramFolder(picture);
    // The toolbar's image lists and the common controls' window classes live in COMCTL32.
    // The program calls it by name, which would load and free it around every call;
    // importing it keeps it loaded for the whole run.
    InitCommonControls();
    return RunRuntime(instance, MainScript);
}
