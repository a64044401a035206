#pragma once
// The three conversion methods and the step that ends each of them. They run against a
// ConversionHost, which the program realises with its window, controls and draw buffer;
// the logic itself needs no window.

#include <cstdint>

#include "values/script_string.h"

// What a method needs of its surroundings.
class ConversionHost {
public:
    virtual ~ConversionHost() = default;

    virtual int32_t SliderPosition() = 0;
    virtual bool HalfHeightChecked() = 0;
    virtual bool OriginalHeightChecked() = 0;
    // Reads PictureWidth and PictureHeight again with the size reader that PictureExt selects.
    virtual void ReadPictureSize() = 0;
    // Draws the picture into the draw buffer at (0, 0), stretched to width × height. False
    // when the draw buffer cannot hold it; the user has been told and nothing was drawn.
    virtual bool DrawPictureStretched(int32_t width, int32_t height) = 0;
    // Draws the picture into the draw buffer at (0, 0) at its own size; false as above.
    virtual bool DrawPictureNatural() = 0;
    // Draws the glyph image of a character code into the draw buffer at (0, 0).
    virtual void DrawGlyph(int32_t code) = 0;
    // Colour values (red in bits 0-7) of a width × height block of the draw buffer, row by
    // row from (x, y).
    virtual void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) = 0;
    virtual void ShowProgress(int32_t position) = 0;
    // The whole result text so far, zero-terminated, after every finished line. The host may
    // show it later, at the latest when CompleteText is called.
    virtual void ShowText(const char* text) = 0;
    // The scan has ended: whatever ShowText has not shown yet is shown now.
    virtual void CompleteText() = 0;
    virtual bool CancelRequested() = 0;
    // Unlocks the toolbar and the controls after a conversion.
    virtual void UnlockControls() = 0;
};

// A host that nobody watches: no progress, no text until the end, nothing to cancel or unlock.
class UnwatchedConversionHost : public ConversionHost {
public:
    void ShowProgress(int32_t) override {}
    void ShowText(const char*) override {}
    void CompleteText() override {}
    bool CancelRequested() override { return false; }
    void UnlockControls() override {}
};

// Conversion state, global as in the script.
extern int32_t CellX;
extern int32_t CellY;
extern int32_t ScanWidth;
extern int32_t ScanHeight;
extern int32_t CandidateIndex;
extern int32_t BestDistance;
extern int32_t BestPosition;
extern double CellsLeft;
extern double CellsPerPercent;
extern ScriptString CurrentLine;

constexpr int32_t GlyphWidth = 8;
constexpr int32_t GlyphHeight = 15;
constexpr int32_t GlyphCount = 192;

ScriptString FourPixelCharset();
ScriptString GlyphCharset();

// Resets the state above and the result text before a conversion.
void ResetConversionState();

void ConvertFourPixel(ConversionHost& host);
void ConvertGreyscale(ConversionHost& host);
void ConvertExact(ConversionHost& host);
void FinishConversion(ConversionHost& host);

// The file name of a path without its folder, cut before its first ".".
ScriptString BaseNameOf(ScriptString path);
