#pragma once
// What the command line asks for: the window (optionally opening a picture), a conversion
// without a window, or the usage. Needs no window, so that it is tested natively.

#include <cstdint>
#include <string>
#include <vector>

// What the process tells its caller.
constexpr int ExitSuccess = 0;
constexpr int ExitBadArguments = 1;
constexpr int ExitPictureUnreadable = 2;
constexpr int ExitOutputUnwritable = 3;

enum class RunMode { Window, Convert, Help, Invalid };
enum class BatchMethod { FourPixel, Exact, Greyscale };
enum class OutputForm { Console, Text, Html, Bitmap };

struct CommandOptions {
    RunMode mode = RunMode::Window;
    std::string picture;                // Window: "" when none was given; Convert: the first picture
    std::vector<std::string> pictures;  // Convert: every picture given, wildcards unexpanded
    BatchMethod method = BatchMethod::FourPixel;
    bool halfHeight = true;
    int32_t brightness = 128;
    std::string output;  // "" for the console
    OutputForm form = OutputForm::Console;
    int32_t fontSize = 0;
    int32_t columns = 0;       // --width; 0: the picture's own size
    bool colour = false;       // --color
    std::string outputFolder;  // --out-dir; "" when not given
    std::string error;         // Invalid: what is wrong, in German
    // Invalid: the words of a window start, which may come from the desktop, where nobody
    // reads standard error; then a message box tells it.
    bool inWindow = false;
};

// `words` are the command line's words after the program path.
CommandOptions ParseCommandLine(const std::vector<std::string>& words);

// The usage, lines ending in "\r\n".
const char* UsageText();
