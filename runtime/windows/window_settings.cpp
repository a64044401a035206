#include "window_settings.h"

namespace {

constexpr uint32_t StyleBase = 0x2000;
constexpr uint32_t MaximizeBox = 0x10000;
constexpr uint32_t MinimizeBox = 0x20000;
constexpr uint32_t ThickFrame = 0x40000;
constexpr uint32_t SystemMenu = 0x80000;
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
    if (flags & 0x1)
        style |= MaximizeBox;
    if (flags & 0x2)
        style |= MinimizeBox;
    if (flags & 0x4)
        style |= ThickFrame;
    if (flags & 0x8)
        style |= SystemMenu;
    if (flags & 0x10)
        NoMenu = 1;
    if (flags & 0x20)
        SeeThrough = 1;
    if (flags & 0x40) {
        style = (style | Popup) & ~Caption;
        WindowExStyle &= ~ExWindowEdge;
    }
    if (flags & 0x200)
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
