// Starts Glyphmill, loads a picture and converts it, saving pictures of the screen after
// start-up, during the conversion and after it. Usage: screenshot_driver PROGRAM PICTURE OUTDIR
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "services/bitmap_file.h"
#include "services/owned_handles.h"
#include "support/program_driver.h"

namespace {

// The main window's screen area as a 24-bit .bmp file.
bool SaveWindowPicture(HWND window, const std::string& path)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    WindowDc screen(nullptr);
    GdiObject<HBITMAP> bitmap = CopyOfArea(screen.Get(), rect.left, rect.top, width, height);
    std::vector<char> packed = bitmap ? PackAs24Bit(bitmap.Get(), width, height) : std::vector<char>();
    return !packed.empty() && WritePackedBitmap(path.c_str(), packed);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: screenshot_driver PROGRAM PICTURE OUTDIR\n");
        return 1;
    }
    std::string program = WindowsPath(argv[1]);
    std::string folder = program.substr(0, program.find_last_of("\\/"));
    std::string out = WindowsPath(argv[3]);
    ProgramDriver driver;
    if (!driver.Start(program, "", folder))
        return 1;
    HWND main = driver.FindTopLevel("FENSTER", nullptr, 20000);
    // Start-up ends with the window moved from off the screen to its centre.
    auto centred = [&] {
        RECT rect{};
        GetWindowRect(main, &rect);
        return rect.right < GetSystemMetrics(SM_CXSCREEN) && driver.ToolbarButtonEnabled(main, 1500);
    };
    if (!main || !ProgramDriver::WaitUntil(centred, 20000))
        return 1;
    Sleep(1500);
    SaveWindowPicture(main, out + "\\1-start.bmp");

    for (int attempt = 0; attempt < 5 && !driver.FindTopLevel("#32770", main, 0); ++attempt) {
        driver.PressToolbarButton(main, 1500);
        Sleep(2000);
    }
    if (!driver.AnswerFileDialog(main, WindowsPath(argv[2])))
        return 1;
    HWND original = driver.FindChild(main, "Button", "Originalhöhe");
    ProgramDriver::WaitUntil([&] { return driver.ToolbarButtonEnabled(main, 1502); }, 10000);
    driver.Click(original);
    Sleep(500);
    driver.PressToolbarButton(main, 1502);
    // A conversion takes a fraction of a second: the picture is taken as soon as it runs.
    ProgramDriver::WaitUntil([&] { return driver.ToolbarButtonEnabled(main, 1503); }, 10000);
    SaveWindowPicture(main, out + "\\2-converting.bmp");
    ProgramDriver::WaitUntil([&] { return driver.ToolbarButtonEnabled(main, 1502); }, 600000);
    Sleep(500);
    SaveWindowPicture(main, out + "\\3-converted.bmp");
    driver.PressToolbarButton(main, 1505);
    return driver.WaitForExit(20000) == 0 ? 0 : 1;
}
