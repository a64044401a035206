#pragma once
// The conversion methods' surroundings in the program: the off-screen draw buffer, and the
// main window's controls.

#include <chrono>
#include <string>

#include "conversion.h"

// Picture drawing and pixel reading in the off-screen draw buffer, shared by the window
// and the conversion without a window. Lives for one conversion. Every read after the
// picture was drawn is a cell's: its mean colour goes to TextColours.
class DrawBufferConversionHost : public ConversionHost {
public:
    void ReadPictureSize() override;
    bool DrawPictureStretched(int32_t width, int32_t height) override;
    bool DrawPictureNatural() override;
    void DrawGlyph(int32_t code) override;
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override;

private:
    bool pictureDrawn_ = false;
};

class WindowConversionHost : public DrawBufferConversionHost {
public:
    WindowConversionHost();

    int32_t SliderPosition() override;
    bool HalfHeightChecked() override;
    bool OriginalHeightChecked() override;
    void ShowProgress(int32_t position) override;
    void ShowText(const char* text) override;
    void CompleteText() override;
    bool CancelRequested() override;
    void UnlockControls() override;

private:
    using Clock = std::chrono::steady_clock;

    void ShowPendingLines();

    int32_t shownPosition_ = -1;  // what the bar shows; not known before the first update
    size_t textLength_ = 0;       // bytes of the result text given so far
    size_t shownLength_ = 0;      // bytes of it that the text field holds
    std::string pending_;         // lines given but not yet shown
    Clock::time_point lastShown_;
    Clock::time_point lastLine_;
};
