#include "controls.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/command_channel.h"
#include "core/request_records.h"
#include "event_variables.h"
#include "text_font_state.h"
#include "window_settings.h"

namespace {

constexpr DWORD ChildStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD RadioButtonStyle = ChildStyle | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD MultiLineEditStyle =
    ChildStyle | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_NOHIDESEL | ES_AUTOVSCROLL | ES_MULTILINE;
constexpr DWORD MultiLineEditExStyle = WS_EX_CLIENTEDGE;
constexpr DWORD TextStyle = ChildStyle | SS_LEFT;
constexpr DWORD GroupBoxStyle = ChildStyle | WS_GROUP | BS_GROUPBOX;
static_assert(RadioButtonStyle == 0x50010009 && MultiLineEditStyle == 0x50311144 && TextStyle == 0x50000000 &&
              GroupBoxStyle == 0x50020007);

HWND PostControl(ControlRequest request)
{
    request.window = nullptr;
    PostGuiRequest(ReqCreateControl, &request);
    // The server gave the control the current font.
    if (request.window && ControlFontMode && CurrentFont &&
        std::find(ControlFonts.begin(), ControlFonts.end(), CurrentFont) == ControlFonts.end())
        ControlFonts.push_back(CurrentFont);
    return request.window;
}

HWND CreateNumbered(const char* className, DWORD style, DWORD exStyle, HWND parent, const ScriptString& text, int32_t x,
                    int32_t y, int32_t width, int32_t height)
{
    return PostControl({0, style, exStyle, className, text.Text(), x, y, width, height, parent, 0, nullptr, nullptr});
}

}  // namespace

HWND CreateRadioButton(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return CreateNumbered("BUTTON", RadioButtonStyle, 0, parent, text, x, y, width, height);
}

HWND CreateMultiLineEdit(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height)
{
    DWORD style = MultiLineEditStyle;
    if (height < 0)
        style &= ~static_cast<DWORD>(WS_HSCROLL);
    return CreateNumbered("EDIT", style, MultiLineEditExStyle, parent, text, x, y, width, std::abs(height));
}

HWND CreateText(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return CreateNumbered("STATIC", TextStyle, 0, parent, text, x, y, width, height);
}

HWND CreateGroupBox(HWND parent, const ScriptString& text, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return CreateNumbered("BUTTON", GroupBoxStyle, 0, parent, text, x, y, width, height);
}

HWND CreateControl(const ScriptString& className, const ScriptString& text, uint32_t style, int32_t x, int32_t y,
                   int32_t width, int32_t height, HWND parent, INT_PTR id, HINSTANCE instance, uint32_t exStyle)
{
    return PostControl(
        {1, style, exStyle, className.Text(), text.Text(), x, y, width, height, parent, id, instance, nullptr});
}

HFONT CreateFontHandle(const ScriptString& face, int32_t height, int32_t width, int32_t bold, int32_t italic,
                       int32_t underline)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = TextAngle;
    font.lfOrientation = TextAngle;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = static_cast<BYTE>(italic);
    font.lfUnderline = static_cast<BYTE>(underline);
    font.lfCharSet = static_cast<BYTE>(TextCharSet);
    std::strncpy(font.lfFaceName, face.Text(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

void EnableControl(HWND window, int32_t enable)
{
    EnableWindow(window, enable);
    if (!enable) {
        INT_PTR expected = reinterpret_cast<INT_PTR>(window);
        FocusWindow.compare_exchange_strong(expected, 0);
    }
}

void FocusControl(HWND window)
{
    FocusWindow.exchange(reinterpret_cast<INT_PTR>(window));
    SetFocus(window);
}
