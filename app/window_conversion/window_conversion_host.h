#pragma once
// The conversion methods' surroundings in the program: the off-screen draw buffer, and the
// main window's controls.

#include <chrono>
#include <functional>
#include <string>

#include "conversion.h"

// When the text field and the progress bar get their updates: the clock they are paced by,
// and the screen's frame interval, which no control is updated more often than.
struct UpdatePace {
    using Clock = std::chrono::steady_clock;
    std::function<Clock::time_point()> now = Clock::now;
    Clock::duration frame = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / 60;

    // The frame interval of the screen as it is now.
    static UpdatePace OfScreen();
};

// The conversion in the window: picture drawing and pixel reading in the off-screen draw
// buffer, progress and text in the main window's progress bar and text field (ProgressBar,
// OutputEdit). Lives for one conversion. Every read after the picture was drawn is a
// cell's: its mean colour goes to TextColours.
class WindowConversionHost : public ConversionHost {
public:
    explicit WindowConversionHost(UpdatePace pace = UpdatePace::OfScreen());

    int32_t SliderPosition() override;
    bool HalfHeightChecked() override;
    bool OriginalHeightChecked() override;
    void ReadPictureSize() override;
    bool DrawPictureStretched(int32_t width, int32_t height) override;
    bool DrawPictureNatural() override;
    void DrawGlyph(int32_t code) override;
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override;
    void ShowProgress(int32_t position) override;
    void ShowText(const char* text) override;
    void CompleteText() override;
    bool CancelRequested() override;
    void UnlockControls() override;

private:
    using Clock = std::chrono::steady_clock;

    void ShowPendingLines();

    UpdatePace pace_;
    bool pictureDrawn_ = false;
    int32_t shownPosition_ = -1;  // what the bar shows; not known before the first update
    Clock::time_point progressShown_;
    size_t textLength_ = 0;   // bytes of the result text given so far
    size_t shownLength_ = 0;  // bytes of it that the text field holds
    std::string pending_;     // lines given but not yet shown
    Clock::time_point lastShown_;
    Clock::time_point lastLine_;
    Clock::duration sendCost_;  // what the last batch's messages took
};
