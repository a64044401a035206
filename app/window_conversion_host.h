#pragma once
// The conversion methods' surroundings in the program: the main window's controls and the
// off-screen draw buffer.

#include "conversion.h"

class WindowConversionHost : public ConversionHost {
public:
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
    bool CancelRequested() override;
    void UnlockControls() override;
};
