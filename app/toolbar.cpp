#include "toolbar.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "app_globals.h"
#include "app_handles.h"
#include "core/runtime_state.h"
#include "services/bitmap_drawing.h"
#include "services/dll_calls.h"
#include "services/draw_target.h"
#include "services/owned_handles.h"
#include "values/proc_values.h"
#include "windows/controls.h"
#include "windows/drawing_state.h"
#include "windows/main_window.h"

namespace {

constexpr DWORD CreationStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP;
constexpr DWORD FlatStyle =
    WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP;
static_assert(FlatStyle == 0x50000B41);
constexpr INT_PTR ToolbarId = 2000;
constexpr int32_t PictureSize = 32;

// In the order of the picture strips of "TBG": hot, normal, disabled.
enum ImageListIndex { HotList, NormalList, DisabledList, ListCount };
std::array<INT_PTR, ListCount> ImageLists{};
RECT ButtonRect{};
RECT BoundingRect{};

struct ButtonRow {
    int32_t image;
    int32_t command;
    int32_t style;
    int32_t state;
    int32_t string;
};

// Image and string are indices into the picture strips and StringTable.
constexpr ButtonRow Button(int32_t image, int32_t command, int32_t string)
{
    return {image, -command, BTNS_GROUP, TBSTATE_ENABLED, string};
}
constexpr ButtonRow Separator = {-1, -1, BTNS_SEP, 0, -1};

constexpr ButtonRow ButtonTable[] = {
    Button(0, CmdLoad, 0), Button(1, CmdSave, 1), Separator, Button(2, CmdStart, 3), Button(3, CmdCancel, 4), Separator,
    Button(4, CmdHelp, 6), Button(5, CmdExit, 7),
};

constexpr const char* StringTable[] = {
    "Grafik laden", "Bild speichern", " ", "Start", "Abbrechen", " ", "Hilfe / Info", "Beenden",
};

LRESULT SendToToolbar(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(Toolbar, message, wParam, lParam);
}

void SetImageLists()
{
    SendToToolbar(TB_SETIMAGELIST, 0, ImageLists[NormalList]);
    SendToToolbar(TB_SETHOTIMAGELIST, 0, ImageLists[HotList]);
    SendToToolbar(TB_SETDISABLEDIMAGELIST, 0, ImageLists[DisabledList]);
}

void SetButtonSize(int32_t height)
{
    SendToToolbar(TB_SETBUTTONSIZE, 0, MAKELPARAM(ButtonRect.right - ButtonRect.left, height));
}

// Copies the strip at `left` of the drawing target into `pictures`, which the image list
// takes once it is no longer selected; gives the strip's bottom-left colour.
COLORREF CopyStrip(HBITMAP pictures, int32_t left, int32_t width)
{
    MemoryDc strip = CompatibleDc(DrawTarget);
    Selection selected(strip.Get(), pictures);
    BitBlt(strip.Get(), 0, 0, width, PictureSize, DrawTarget, left, 0, SRCCOPY);
    return GetPixel(strip.Get(), 0, PictureSize - 1);
}

// Each strip of "TBG" goes into its list straight from the draw buffer. The strip's
// bottom-left colour is masked, as for the other pictures of the resource library, so the
// pictures stand on the toolbar's own face colour.
void FillImageLists()
{
    BeginDraw(DrawBufferWindow);
    DrawBitmapResource(ResModule, "TBG", 0, 0, 0);
    int32_t stripWidth = static_cast<int32_t>(BitmapWidth * (1.0 / 3.0));
    for (int list = HotList; list < ListCount; ++list) {
        GdiObject<HBITMAP> pictures(CreateCompatibleBitmap(DrawTarget, stripWidth, PictureSize));
        COLORREF transparent = CopyStrip(pictures.Get(), list * stripWidth, stripWidth);
        CallDllFunction(
            "COMCTL32", "ImageList_AddMasked",
            {ImageLists[list], reinterpret_cast<INT_PTR>(pictures.Get()), static_cast<INT_PTR>(transparent)});
    }
    EndDraw();
}

// The buttons carry the negated command ids.
WPARAM ButtonOf(int32_t command)
{
    return static_cast<WPARAM>(static_cast<INT_PTR>(-command));
}

}  // namespace

void TbAddString()
{
    // The list entry ends with two zero bytes.
    std::string text(ArgString(1).Text());
    text.push_back('\0');
    SendToToolbar(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TbInsertButton()
{
    TBBUTTON button{};
    button.iBitmap = ArgInt(1);
    button.idCommand = ArgInt(2);
    button.fsStyle = static_cast<BYTE>(ArgInt(3));
    button.fsState = static_cast<BYTE>(ArgInt(4));
    button.iString = ArgInt(5);
    // Every button is appended. (A position past the end, such as the negative command
    // taken as unsigned, is refused by some toolbar implementations, so the end is named.)
    SendToToolbar(TB_INSERTBUTTONA, static_cast<WPARAM>(SendToToolbar(TB_BUTTONCOUNT, 0, 0)),
                  reinterpret_cast<LPARAM>(&button));
}

void TbCreate()
{
    int32_t largeImages = ArgInt(1);
    int32_t withText = ArgInt(2);
    for (INT_PTR& list : ImageLists)
        list =
            CallDllFunction("COMCTL32", "ImageList_Create", {PictureSize, PictureSize, ILC_COLOR32 | ILC_MASK, 0, 0});
    FillImageLists();

    Toolbar = CreateControl(TOOLBARCLASSNAMEA, "", CreationStyle, 0, 0, 0, 0, MainWindow.load(), ToolbarId,
                            InstanceHandle, 0);
    SendToToolbar(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetImageLists();
    for (const char* text : StringTable) {
        ProcArgs[1] = StringValue(text);
        TbAddString();
    }
    for (const ButtonRow& row : ButtonTable) {
        ProcArgs[1] = IntValue(row.image);
        ProcArgs[2] = IntValue(row.command);
        ProcArgs[3] = IntValue(row.style);
        ProcArgs[4] = IntValue(row.state);
        ProcArgs[5] = IntValue(row.string);
        TbInsertButton();
    }
    SendToToolbar(TB_SETSTYLE, 0, FlatStyle);
    SetWindowPosition(Toolbar, 0, 0, 0, 0, ZOrderUnchanged);
    SendToToolbar(TB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&ButtonRect));
    if (largeImages == 1 && withText == 1) {
        SetImageLists();
        SetButtonSize(ButtonRect.bottom);
    }
    ReturnInt(static_cast<int32_t>(reinterpret_cast<INT_PTR>(Toolbar)));
}

void TbStyle()
{
    SendToToolbar(TB_SETSTYLE, 0, FlatStyle);
    SendToToolbar(TB_AUTOSIZE, 0, 0);
    SetWindowPosition(Toolbar, 0, 0, 0, 0, ZOrderUnchanged);
}

void TbLayout()
{
    if (ArgInt(1) != 1 || ArgInt(2) != 1)
        return;
    SendToToolbar(TB_SETSTYLE, 0, FlatStyle);
    SetImageLists();
    SetButtonSize(ButtonRect.bottom - ButtonRect.top);
    auto count = static_cast<WPARAM>(SendToToolbar(TB_BUTTONCOUNT, 0, 0));
    SendToToolbar(TB_SETROWS, MAKEWPARAM(count + 1, FALSE), reinterpret_cast<LPARAM>(&BoundingRect));
    SetWindowPosition(Toolbar, 0, 0, BoundingRect.right, BoundingRect.bottom, ZOrderUnchanged);
    DrawBitmapResource(ResModule, "logo", 510, 6, TransparentMode);
}

void TbEnableButton()
{
    SendToToolbar(TB_ENABLEBUTTON, ButtonOf(ArgInt(1)), 1);
}

void TbDisableButton()
{
    SendToToolbar(TB_ENABLEBUTTON, ButtonOf(ArgInt(1)), 0);
}

void TbDestroy()
{
    for (INT_PTR& list : ImageLists) {
        CallDllFunction("COMCTL32", "ImageList_Destroy", {list});
        list = 0;
    }
}

void TbFreeBuffers()
{
    // The pictures go straight from the draw buffer into the image lists, so no working
    // buffer outlives TbCreate.
}
