#include "window_conversion_host.h"

#include <windows.h>
#include <commctrl.h>

#include "app_globals.h"
#include "app_handles.h"
#include "draw_buffer_size.h"
#include "image_import.h"
#include "main_program.h"
#include "procedure_call.h"
#include "services/bitmap_drawing.h"
#include "services/draw_target.h"
#include "services/file_slots.h"
#include "toolbar.h"
#include "values/number_text.h"
#include "values/string_functions.h"
#include "windows/controls.h"
#include "windows/drawing_state.h"
#include "windows/event_variables.h"

namespace {

// Cells at the right and bottom edges read up to one cell past the scanned area.
constexpr int32_t EdgeMargin = 16;

bool IsBmp()
{
    return StrEqual(PictureExt, "bmp") != 0;
}

}  // namespace

int32_t WindowConversionHost::SliderPosition()
{
    return static_cast<int32_t>(SendMessageA(BrightnessSlider, TBM_GETPOS, 0, 0));
}

bool WindowConversionHost::HalfHeightChecked()
{
    return SendMessageA(OptionHalf, BM_GETCHECK, 0, 0) != 0;
}

bool WindowConversionHost::OriginalHeightChecked()
{
    return SendMessageA(OptionOriginal, BM_GETCHECK, 0, 0) != 0;
}

void DrawBufferConversionHost::ReadPictureSize()
{
    ReadSizeFor(PictureExt, PictureFile);
}

bool DrawBufferConversionHost::DrawPictureStretched(int32_t width, int32_t height)
{
    if (!EnsureDrawBuffer(width + EdgeMargin, height + EdgeMargin))
        return false;
    BeginDraw(DrawBufferWindow);
    SetFileMode(2);
    if (!IsBmp())
        CallProcedure(ViewerDrawScaled, {StringValue(PictureFile), IntValue(0), IntValue(0), IntValue(width),
                                         IntValue(height), IntValue(1)});
    else
        StretchBitmapFile(PictureFile, 0, 0, width, height, 0);
    EndDraw();
    return true;
}

bool DrawBufferConversionHost::DrawPictureNatural()
{
    if (!EnsureDrawBuffer(PictureWidth + EdgeMargin, PictureHeight + EdgeMargin))
        return false;
    BeginDraw(DrawBufferWindow);
    SetFileMode(2);
    if (!IsBmp())
        CallProcedure(ViewerDraw, {StringValue(PictureFile), IntValue(0), IntValue(0), IntValue(1)});
    else
        DrawBitmapFile(PictureFile, 0, 0, 0);
    EndDraw();
    return true;
}

void DrawBufferConversionHost::DrawGlyph(int32_t code)
{
    BeginDraw(DrawBufferWindow);
    DrawBitmapResource(ResModule, ScriptString("fixedsys") + IntToStr(code), 0, 0, 0);
    EndDraw();
}

void DrawBufferConversionHost::ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours)
{
    BeginDraw(DrawBufferWindow);
    for (int32_t dy = 0; dy < height; ++dy)
        for (int32_t dx = 0; dx < width; ++dx)
            *colours++ = GetPixel(DrawTarget, x + dx, y + dy);
    EndDraw();
}

void WindowConversionHost::ShowProgress(int32_t position)
{
    SendMessageA(ProgressBar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void WindowConversionHost::ShowText(const char* text)
{
    SendMessageA(OutputEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool WindowConversionHost::CancelRequested()
{
    return MenuItemChosen(CmdCancel) != 0;
}

void WindowConversionHost::UnlockControls()
{
    CallProcedure(TbEnableButton, {IntValue(CmdStart)});
    CallProcedure(TbDisableButton, {IntValue(CmdCancel)});
    for (HWND control : {BrightnessSlider, MethodFourPixel, MethodGreyscale, MethodExact})
        EnableControl(control, 1);
    for (int32_t command : {CmdLoad, CmdSave, CmdHelp, CmdExit})
        CallProcedure(TbEnableButton, {IntValue(command)});
    EnableOptionRadios();
}
