#include "replay_host.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>

#include "app_handles.h"
#include "pieces.h"
#include "window_conversion/window_conversion_host.h"

namespace {

using Clock = std::chrono::steady_clock;

class Stopwatch {
public:
    explicit Stopwatch(double& total) : total_(total), start_(Clock::now()) {}
    ~Stopwatch() { total_ += std::chrono::duration<double, std::milli>(Clock::now() - start_).count(); }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    double& total_;
    Clock::time_point start_;
};

class ReplayHost : public ConversionHost {
public:
    explicit ReplayHost(ConversionHost& pixels) : pixels_(pixels) {}

    int32_t SliderPosition() override { return pixels_.SliderPosition(); }
    bool HalfHeightChecked() override { return pixels_.HalfHeightChecked(); }
    bool OriginalHeightChecked() override { return pixels_.OriginalHeightChecked(); }
    void ReadPictureSize() override { pixels_.ReadPictureSize(); }
    bool DrawPictureStretched(int32_t width, int32_t height) override
    {
        return pixels_.DrawPictureStretched(width, height);
    }
    bool DrawPictureNatural() override { return pixels_.DrawPictureNatural(); }
    void DrawGlyph(int32_t code) override { pixels_.DrawGlyph(code); }
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override
    {
        pixels_.ReadPixels(x, y, width, height, colours);
    }
    void ShowProgress(int32_t position) override
    {
        Stopwatch clock(result.progressMs);
        shown_.ShowProgress(position);
    }
    void ShowText(const char* text) override
    {
        Stopwatch clock(result.textMs);
        shown_.ShowText(text);
    }
    void CompleteText() override
    {
        Stopwatch clock(result.completeMs);
        shown_.CompleteText();
    }
    bool CancelRequested() override { return false; }
    void UnlockControls() override {}

    Breakdown result;

private:
    ConversionHost& pixels_;
    WindowConversionHost shown_;
};

// Counted on the window's own thread, by subclassing: what reached the controls.
int ProgressSends = 0;
int TextSends = 0;
WNDPROC EditProcedure = nullptr;
WNDPROC ProgressProcedure = nullptr;

LRESULT CALLBACK CountingEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT || message == EM_REPLACESEL)
        ++TextSends;
    return CallWindowProcA(EditProcedure, window, message, wParam, lParam);
}

LRESULT CALLBACK CountingProgress(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS)
        ++ProgressSends;
    return CallWindowProcA(ProgressProcedure, window, message, wParam, lParam);
}

}  // namespace

Breakdown ReplayConversion(void (*method)(ConversionHost&), ConversionHost& pixels)
{
    ProgramLikeWindow controls;
    OutputEdit = controls.edit;
    ProgressBar = controls.progress;
    EditProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(OutputEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingEdit)));
    ProgressProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(ProgressBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProgress)));
    ProgressSends = TextSends = 0;

    Breakdown result;
    RunBesideWindows([&] {
        ReplayHost host(pixels);
        {
            Stopwatch clock(host.result.totalMs);
            RunKernel(method, host);
        }
        result = host.result;
    });
    result.progressSends = ProgressSends;
    result.textSends = TextSends;
    OutputEdit = ProgressBar = nullptr;
    return result;
}
