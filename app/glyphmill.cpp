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
#include "picture_batch.h"
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

int RunConversion(HINSTANCE instance, CommandOptions options)
{
    ExpandPictures(options);
    if (options.pictures.size() > 1 && options.outputFolder.empty()) {
        WriteStandardError("Die Angabe passt auf mehrere Bilder; mehrere Bilder brauchen --out-dir ORDNER.\r\n" +
                           std::string(UsageText()));
        return ExitBadArguments;
    }
    if (!options.outputFolder.empty()) {
        std::vector<std::string> outputs = ResultPaths(options);
        if (outputs.empty()) {
            WriteStandardError("Der Ausgabeordner kann nicht angelegt werden: " + options.outputFolder + "\r\n");
            return ExitOutputUnwritable;
        }
        if (outputs.size() > 1)
            return ConvertPictures(options, outputs);
        options.output = outputs.front();
    }
    SetBatchOptions(options);
    return RunRuntime(instance, BatchScript);
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
        WriteStandardError(options.error + "\r\n" + UsageText());
        return ExitBadArguments;
    case RunMode::Convert:
        return RunConversion(instance, options);
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
