#include "window_settings.h"

namespace {

// Window-free, so the window styles are spelled out: WS_MAXIMIZEBOX, WS_MINIMIZEBOX,
// WS_THICKFRAME, WS_SYSMENU, WS_CAPTION, WS_POPUP and WS_EX_WINDOWEDGE.
struct FlagStyle {
    int32_t flag;
    uint32_t style;
};
constexpr FlagStyle FrameStyles[] = {{WindowMaximizeBox, 0x10000},
                                     {WindowMinimizeBox, 0x20000},
                                     {WindowSizingFrame, 0x40000},
                                     {WindowSystemMenu, 0x80000}};
constexpr uint32_t StyleBase = 0x2000;
constexpr uint32_t Caption = 0xC00000;
constexpr uint32_t Popup = 0x80000000;
constexpr uint32_t ExWindowEdge = 0x100;

}  // namespace

ScriptString WindowTitle = "KorvelRT-Fenster";
uint32_t WindowStyle = DefaultWindowStyle;
uint32_t WindowExStyle = DefaultWindowExStyle;
int32_t NoMenu = 0;
int32_t SeeThrough = 0;
int32_t DialogKeys = 0;
int32_t ControlFontMode = 0;
int32_t TrueColor = 0;

void ResetWindowSettings()
{
    WindowTitle = "KorvelRT-Fenster";
    WindowStyle = DefaultWindowStyle;
    WindowExStyle = DefaultWindowExStyle;
    NoMenu = 0;
    SeeThrough = 0;
    DialogKeys = 0;
    ControlFontMode = 0;
    TrueColor = 0;
}

void SetWindowStyle(int32_t flags)
{
    uint32_t style = StyleBase;
    for (const FlagStyle& frame : FrameStyles) {
        if (flags & frame.flag)
            style |= frame.style;
    }
    if (flags & WindowNoMenu)
        NoMenu = 1;
    if (flags & WindowSeeThrough)
        SeeThrough = 1;
    if (flags & WindowPopup) {
        style = (style | Popup) & ~Caption;
        WindowExStyle &= ~ExWindowEdge;
    }
    if (flags & WindowDialogKeys)
        DialogKeys = 1;
    WindowStyle = style;
}

void SetColorMode(int32_t flag)
{
    TrueColor = flag;
}

void SetControlFontMode(int32_t flag)
{
    ControlFontMode = flag;
}
