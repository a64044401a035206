#pragma once
// A run of the real program as a user drives it (toolbar, radio buttons, slider, dialogs,
// save menu), shared by the end-to-end tests.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/program_driver.h"

extern const std::string ProgramFolder;
extern const std::string PictureFolder;
std::string Picture(const char* name);
std::string ReadFile(const std::string& path);
// A folder of its own in the temporary folder, made when missing.
std::string OutputFolder();
// True once the program has closed the file: it writes without sharing.
bool Written(const std::string& path);
std::string SettingsFile();
void ForgetSettings();
// A value of the settings file's section "folders".
std::string Setting(const char* key);
// The lines of a text whose lines end in CR LF.
std::vector<std::string> SplitLines(const std::string& text);

// One run of the program with its main window and controls found.
class Session {
public:
    explicit Session(const std::string& arguments = "");
    explicit Session(const std::wstring& arguments);

    HWND Radio(const char* text) const { return driver.FindChild(main, "Button", text); }

    // A command that arrives while the program is busy, not waiting for input, is not
    // taken (as for a user's click), so a command is repeated until its effect shows.
    template <typename Effect>
    bool Command(int id, Effect effect)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (!ProgramDriver::WaitUntil([&] { return driver.ToolbarButtonEnabled(main, id); }, 10000) ||
                !driver.PressToolbarButton(main, id))
                return false;
            if (ProgramDriver::WaitUntil(effect, 4000))
                return true;
        }
        return false;
    }

    bool DialogOpen() const { return driver.FindTopLevel("#32770", main, 0) != nullptr; }
    bool MenuOpen() const { return driver.FindTopLevel("#32768", nullptr, 0) != nullptr; }

    bool Load(const std::string& path);
    bool Load(const std::wstring& path);
    // Checks the method's radio (and the height option for "4-Pixel (empfohlen)") and sets
    // the slider.
    bool Choose(const char* method, const char* option, int slider);
    // Starts the conversion and waits for its end: "Start" enabled again. `meanwhile`, when
    // given, is called over and over while the conversion runs; false from it gives up.
    bool Convert(const std::function<bool()>& meanwhile = {});
    std::string Output() const;
    // "Bild speichern", the menu item reached with `keys`, and the save dialog; `offered`
    // receives the name the dialog proposed.
    bool Save(const std::vector<WORD>& keys, const std::string& path, std::string* offered = nullptr);
    int Quit();

    ProgramDriver driver;
    bool started = false;
    bool ready = false;
    HWND main = nullptr;
    HWND output = nullptr;
    HWND slider = nullptr;
    HWND resolution = nullptr;
};

extern const std::vector<WORD> MenuBitmap;
extern const std::vector<WORD> MenuText;
extern const std::vector<WORD> MenuHtmlPlus2;
extern const std::vector<WORD> MenuHtmlMinus3;
extern const std::vector<WORD> MenuColouredHtmlPlus2;
