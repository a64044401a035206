#pragma once
// The conversion methods' surroundings in the program: the off-screen draw buffer, and the
// main window's controls.

#include "conversion.h"

// Picture drawing and pixel reading in the off-screen draw buffer, shared by the window
// and the conversion without a window.
class DrawBufferConversionHost : public ConversionHost {
public:
    void ReadPictureSize() override;
    bool DrawPictureStretched(int32_t width, int32_t height) override;
    bool DrawPictureNatural() override;
    void DrawGlyph(int32_t code) override;
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override;
};

class WindowConversionHost : public DrawBufferConversionHost {
public:
    int32_t SliderPosition() override;
    bool HalfHeightChecked() override;
    bool OriginalHeightChecked() override;
    void ShowProgress(int32_t position) override;
    void ShowText(const char* text) override;
    bool CancelRequested() override;
    void UnlockControls() override;
};
