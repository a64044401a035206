#include "window_conversion/window_conversion_host.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "app_globals.h"
#include "app_handles.h"
#include "cell_colours.h"
#include "window_conversion/draw_buffer_pixels.h"
#include "window_conversion/draw_buffer_size.h"
#include "image_import.h"
#include "main_program.h"
#include "procedure_call.h"
#include "services/bitmap_drawing.h"
#include "services/draw_target.h"
#include "services/file_slots.h"
#include "services/pixel_format.h"
#include "toolbar.h"
#include "values/number_text.h"
#include "values/string_functions.h"
#include "windows/color_value.h"
#include "windows/controls.h"
#include "windows/event_variables.h"

namespace {

// A display that does not tell its refresh rate (0 or 1: "the hardware's default") is
// taken to show this many frames a second.
constexpr DWORD CommonRefreshRate = 60;

// Every update of the visible text field costs a repaint of 15 to 30 ms, so finished lines
// are gathered and shown in batches, as few as keep the field changing at least ten times a
// second while lines are finished: a batch goes out when waiting for the next line
// (expected to take as long as the last) and then sending (expected to take as long as the
// last send) would come later than this after the previous batch. What is left of the tenth
// of a second is room for a send that waits on a slower repaint than the last.
constexpr auto TextInterval = std::chrono::milliseconds(85);
// What the first send is expected to take, before one has been measured.
constexpr auto FirstSendCost = std::chrono::milliseconds(20);

bool IsBmp()
{
    return StrEqual(PictureExt, "bmp") != 0;
}

// The glyph images as the draw buffer held them after drawing, kept for the whole run: the
// resource library does not change, and loading a glyph (a resource, a device context and
// two selections of a bitmap) costs more than a whole cell scan's work on it.
struct KeptGlyph {
    bool known = false;
    std::array<uint32_t, GlyphWidth * GlyphHeight> colours{};
};
std::array<KeptGlyph, 256> KeptGlyphs;

// Puts a kept glyph image back at (0, 0) of the draw buffer, as drawing it would.
void PutGlyphCell(const std::array<uint32_t, GlyphWidth * GlyphHeight>& colours)
{
    std::array<uint32_t, GlyphWidth * GlyphHeight> pixels;
    for (size_t i = 0; i < colours.size(); ++i)
        pixels[i] = SwapRedBlue(colours[i]);
    const BITMAPINFO header = Format32Bit(GlyphWidth, GlyphHeight);  // top-down, as read
    SetDIBitsToDevice(DrawBufferDc, 0, 0, GlyphWidth, GlyphHeight, 0, 0, 0, GlyphHeight, pixels.data(), &header,
                      DIB_RGB_COLORS);
}

}  // namespace

UpdatePace UpdatePace::OfScreen()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    DWORD rate = CommonRefreshRate;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1)
        rate = mode.dmDisplayFrequency;
    UpdatePace pace;
    pace.frame = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / rate;
    return pace;
}

WindowConversionHost::WindowConversionHost(UpdatePace pace)
    : pace_(std::move(pace)),
      progressShown_(pace_.now() - pace_.frame),
      lastShown_(pace_.now()),
      lastLine_(lastShown_),
      sendCost_(FirstSendCost)
{
}

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

void WindowConversionHost::ReadPictureSize()
{
    ReadSizeFor(PictureExt, PictureFile);
}

bool WindowConversionHost::DrawPictureStretched(int32_t width, int32_t height)
{
    if (!EnsureDrawBuffer({width, height, ConversionMargin, ConversionTask}))
        return false;
    BeginDraw(DrawBufferWindow);
    SetFileMode(FileModeReadWrite);
    if (!IsBmp())
        CallProcedure(ViewerDrawScaled, {StringValue(PictureFile), IntValue(0), IntValue(0), IntValue(width),
                                         IntValue(height), IntValue(1)});
    else
        StretchBitmapFile(PictureFile, 0, 0, width, height, 0);
    EndDraw();
    pictureDrawn_ = true;
    return true;
}

bool WindowConversionHost::DrawPictureNatural()
{
    if (!EnsureDrawBuffer({PictureWidth, PictureHeight, ConversionMargin, ConversionTask}))
        return false;
    BeginDraw(DrawBufferWindow);
    SetFileMode(FileModeReadWrite);
    if (!IsBmp())
        CallProcedure(ViewerDraw, {StringValue(PictureFile), IntValue(0), IntValue(0), IntValue(1)});
    else
        DrawBitmapFile(PictureFile, 0, 0, 0);
    EndDraw();
    pictureDrawn_ = true;
    return true;
}

void WindowConversionHost::DrawGlyph(int32_t code)
{
    pictureDrawn_ = false;
    KeptGlyph& kept = KeptGlyphs[static_cast<uint8_t>(code)];
    if (kept.known) {
        PutGlyphCell(kept.colours);
        return;
    }
    BitmapWidth = BitmapHeight = 0;  // stay 0 when the glyph cannot be loaded
    BeginDraw(DrawBufferWindow);
    DrawBitmapResource(ResModule, ScriptString("fixedsys") + IntToStr(code), 0, 0, 0);
    EndDraw();
    // A glyph of the cell size is all that drawing it changed; a missing one is tried (and
    // reported) again each time.
    if (BitmapWidth == GlyphWidth && BitmapHeight == GlyphHeight) {
        ReadDrawBufferPixels(0, 0, GlyphWidth, GlyphHeight, kept.colours.data());
        kept.known = true;
    }
}

void WindowConversionHost::ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours)
{
    ReadDrawBufferPixels(x, y, width, height, colours);
    if (pictureDrawn_)
        TextColours.push_back(MeanColour(colours, static_cast<size_t>(width) * static_cast<size_t>(height)));
}

// The bar shows positions from 0 to 100 (above 100 as 100); a message that would not move
// it costs a cross-thread round trip and a repaint (about a millisecond) for nothing, and
// one within a frame of the last would not be seen. 0 always goes out: the bar starts
// there and returns there at the end or on "Abbrechen".
void WindowConversionHost::ShowProgress(int32_t position)
{
    int32_t shown = std::clamp(position, 0, 100);
    if (shown == shownPosition_)
        return;
    Clock::time_point now = pace_.now();
    if (shown != 0 && now - progressShown_ < pace_.frame)
        return;
    shownPosition_ = shown;
    progressShown_ = now;
    SendMessageA(ProgressBar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void WindowConversionHost::ShowText(const char* text)
{
    size_t added = std::strlen(text + textLength_);
    pending_.append(text + textLength_, added);
    textLength_ += added;
    Clock::time_point now = pace_.now();
    Clock::duration line = now - lastLine_;
    lastLine_ = now;
    if (now - lastShown_ + line + sendCost_ >= TextInterval)
        ShowPendingLines();
}

void WindowConversionHost::CompleteText()
{
    if (textLength_ == 0)
        return;  // no line: the field keeps what it showed
    ShowPendingLines();
    // Whatever was typed into the field meanwhile gives way to the result.
    auto length = static_cast<size_t>(SendMessageA(OutputEdit, WM_GETTEXTLENGTH, 0, 0));
    if (length != textLength_)
        SendMessageA(OutputEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(TextBuffer.Text()));
    // The finished text is shown from its top, as after setting it whole.
    SendMessageA(OutputEdit, EM_SETSEL, 0, 0);
    SendMessageA(OutputEdit, EM_SCROLLCARET, 0, 0);
}

// The first batch replaces the previous conversion's text; later ones are appended. The
// field's default limit of 30,000 characters would cut appended text short, so it is lifted.
void WindowConversionHost::ShowPendingLines()
{
    if (pending_.empty())
        return;
    Clock::time_point start = pace_.now();
    if (shownLength_ == 0) {
        SendMessageA(OutputEdit, EM_SETLIMITTEXT, 0, 0);
        SendMessageA(OutputEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pending_.c_str()));
    } else {
        SendMessageA(OutputEdit, EM_SETSEL, INT_MAX, INT_MAX);
        SendMessageA(OutputEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pending_.c_str()));
    }
    shownLength_ += pending_.size();
    pending_.clear();
    lastShown_ = pace_.now();
    sendCost_ = lastShown_ - start;
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
