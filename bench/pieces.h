#pragma once
// What the single operations of a conversion cost here, measured in a window of this
// process laid out like the program's: a worker thread sends to controls that the main
// thread owns, as the program thread does.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A window of this process laid out like the program's main window: its text field and
// progress bar. Destroyed with the object.
struct ProgramLikeWindow {
    ProgramLikeWindow();
    ~ProgramLikeWindow();
    ProgramLikeWindow(const ProgramLikeWindow&) = delete;
    ProgramLikeWindow& operator=(const ProgramLikeWindow&) = delete;

    HWND window = nullptr;
    HWND edit = nullptr;
    HWND progress = nullptr;
    HFONT font = nullptr;
};

// Runs `work` on a worker thread while this thread, which owns the windows, serves their
// messages, as the program's GUI thread serves its program thread.
void RunBesideWindows(const std::function<void()>& work);

struct PieceCosts {
    double getPixelUs = 0;      // one GetPixel on a 2000 × 2000 compatible bitmap
    double bandReadUs = 0;      // one GetDIBits of a 2000 × 15 band of it
    double progressMs = 0;      // one PBM_SETPOS sent to the visible progress bar, a new position
    double sameProgressMs = 0;  // the same, at the position the bar already shows
    double appendMs = 0;        // EM_SETSEL + EM_REPLACESEL of one 250-character line, visible
    double glyphLoadMs = 0;     // LoadImageA of a glyph, select, BitBlt, free (one DrawBitmapResource)
    double atlasBlitUs = 0;     // BitBlt of 8 × 15 pixels from a bitmap selected once
    std::vector<std::pair<int, double>> setTextMs;  // WM_SETTEXT of the whole text: (bytes, ms)
};

// Medians of `repeats` rounds; res.dll is read from `programFolder`.
PieceCosts MeasurePieces(const std::string& programFolder, int repeats);
