#include "pieces.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "services/pixel_format.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A line of 250 characters as the methods write them, with its CR LF.
std::string SampleLine(int row)
{
    std::string line;
    for (int i = 0; i < 250; ++i)
        line.push_back(" .,:;/\\()NLJF4_`'"[(i * 7 + row * 3) % 17]);
    return line + "\r\n";
}

void MeasureGdi(PieceCosts& costs, const std::string& programFolder, int repeats)
{
    HDC screen = GetDC(nullptr);
    HDC buffer = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2000, 2000);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    PatBlt(buffer, 0, 0, 2000, 2000, WHITENESS);

    std::vector<double> pixel, band, load, blit;
    std::vector<uint32_t> rows(2000 * 15);
    BITMAPINFO info = Format32Bit(2000, 2000, RowOrder::BottomUp);
    HMODULE res = LoadLibraryA((programFolder + "\\res.dll").c_str());
    HDC atlas = CreateCompatibleDC(screen);
    HBITMAP atlasBitmap = CreateCompatibleBitmap(screen, 8 * 256, 15);
    HGDIOBJ oldAtlas = SelectObject(atlas, atlasBitmap);
    for (int round = 0; round < repeats; ++round) {
        auto start = Clock::now();
        for (int y = 0; y < 1000; ++y)
            for (int x = 0; x < 1000; ++x)
                GetPixel(buffer, x, y);
        pixel.push_back(Since(start) * 1000.0 / 1e6);

        start = Clock::now();
        for (int y = 0; y + 15 <= 2000; y += 15)
            GetDIBits(buffer, bitmap, static_cast<UINT>(2000 - y - 15), 15, rows.data(), &info, DIB_RGB_COLORS);
        band.push_back(Since(start) * 1000.0 / (2000 / 15));

        start = Clock::now();
        for (int code = 32; code < 127; ++code) {
            std::string name = "fixedsys" + std::to_string(code);
            auto glyph = static_cast<HBITMAP>(LoadImageA(res, name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
            HDC dc = CreateCompatibleDC(screen);
            HGDIOBJ previous = SelectObject(dc, glyph);
            BitBlt(buffer, 8 * code, 0, 8, 15, dc, 0, 0, SRCCOPY);
            SelectObject(dc, previous);
            DeleteDC(dc);
            DeleteObject(glyph);
        }
        load.push_back(Since(start) / 95);

        start = Clock::now();
        for (int i = 0; i < 33250; ++i)
            BitBlt(buffer, 8 * (i % 250), 15 * (i / 250), 8, 15, atlas, 8 * (i % 192), 0, SRCCOPY);
        blit.push_back(Since(start) * 1000.0 / 33250);
    }
    costs.getPixelUs = Median(pixel);
    costs.bandReadUs = Median(band);
    costs.glyphLoadMs = Median(load);
    costs.atlasBlitUs = Median(blit);
    SelectObject(atlas, oldAtlas);
    DeleteObject(atlasBitmap);
    DeleteDC(atlas);
    FreeLibrary(res);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    ReleaseDC(nullptr, screen);
}

void MeasureMessages(PieceCosts& costs, const ProgramLikeWindow& c, int repeats)
{
    std::vector<double> progress, same, append;
    for (int round = 0; round < repeats; ++round) {
        auto start = Clock::now();
        for (int i = 0; i < 100; ++i)
            SendMessageA(c.progress, PBM_SETPOS, static_cast<WPARAM>(i), 0);
        progress.push_back(Since(start) / 100);
        start = Clock::now();
        for (int i = 0; i < 100; ++i)
            SendMessageA(c.progress, PBM_SETPOS, 99, 0);
        same.push_back(Since(start) / 100);

        SendMessageA(c.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        SendMessageA(c.edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
        start = Clock::now();
        for (int row = 0; row < 20; ++row) {
            std::string line = SampleLine(row);
            SendMessageA(c.edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
            SendMessageA(c.edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
        }
        append.push_back(Since(start) / 20);
    }
    costs.progressMs = Median(progress);
    costs.sameProgressMs = Median(same);
    costs.appendMs = Median(append);

    for (int bytes : {2500, 12000, 24000, 48000, 96000}) {
        std::string text;
        for (int row = 0; static_cast<int>(text.size()) < bytes; ++row)
            text += SampleLine(row);
        std::vector<double> times;
        for (int round = 0; round < repeats; ++round) {
            auto start = Clock::now();
            SendMessageA(c.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            times.push_back(Since(start));
        }
        costs.setTextMs.emplace_back(static_cast<int>(text.size()), Median(times));
    }
}

}  // namespace

ProgramLikeWindow::ProgramLikeWindow()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    window = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr, nullptr,
                             instance, nullptr);
    edit =
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", 0x50311144, 5, 55, 500, 386, window, nullptr, instance, nullptr);
    progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 66, 450, 439, 19, window, nullptr,
                               instance, nullptr);
    font = CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Fixedsys");
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

ProgramLikeWindow::~ProgramLikeWindow()
{
    DestroyWindow(window);
    DeleteObject(font);
}

void RunBesideWindows(const std::function<void()>& work)
{
    DWORD guiThread = GetCurrentThreadId();
    std::thread worker([&] {
        work();
        PostThreadMessageA(guiThread, WM_QUIT, 0, 0);
    });
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    worker.join();
}

PieceCosts MeasurePieces(const std::string& programFolder, int repeats)
{
    PieceCosts costs;
    ProgramLikeWindow controls;
    RunBesideWindows([&] {
        MeasureGdi(costs, programFolder, repeats);
        MeasureMessages(costs, controls, repeats);
    });
    return costs;
}
