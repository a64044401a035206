// Shows the pictures of res.dll where the program places them, for a look at them under
// Wine: the toolbar built from "TBG" the way the program builds it (hot, normal and
// disabled buttons), "logo" and "mill" drawn transparently, the preview frame "bild", the
// raw toolbar strips and some glyph images, enlarged and at their own size.
// Usage: res_preview [seconds]   (closes itself after that many seconds when given)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "services/bitmap_file.h"
#include "services/owned_handles.h"
#include "services/transparent_blit.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1, kLogoTimer = 2;

HMODULE resources;
HDC backing;
HBITMAP backingBitmap;
HIMAGELIST imageLists[3];  // hot, normal, disabled

HBITMAP LoadPicture(const char* name)
{
    return static_cast<HBITMAP>(LoadImageA(resources, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// Draws a picture at its own size, or stretched by `scale`; mode -1 is transparent.
SIZE Draw(HDC dc, const char* name, int x, int y, int mode, int scale = 1)
{
    HBITMAP bitmap = LoadPicture(name);
    if (!bitmap) {
        std::fprintf(stderr, "missing picture %s\n", name);
        return {0, 0};
    }
    SIZE size = BitmapSize(bitmap);
    MemoryBitmap memory(dc, bitmap);
    if (mode == -1)
        BlitTransparent(dc, x, y, size.cx, size.cy, memory.Dc(), 0, 0);
    else if (scale == 1)
        BitBlt(dc, x, y, size.cx, size.cy, memory.Dc(), 0, 0, SRCCOPY);
    else
        StretchBlt(dc, x, y, size.cx * scale, size.cy * scale, memory.Dc(), 0, 0, size.cx, size.cy, SRCCOPY);
    return size;
}

// Writes a rectangle of a device context as a 24-bit BMP file, as the program does.
bool SaveArea(HDC dc, const char* path, int x, int y, int w, int h)
{
    GdiObject<HBITMAP> bitmap = CopyOfArea(dc, x, y, w, h);
    std::vector<char> packed = bitmap ? PackAs24Bit(bitmap.Get(), w, h) : std::vector<char>();
    return !packed.empty() && WritePackedBitmap(path, packed);
}

// The toolbar's image lists from the three strips of "TBG", through 24-bit files loaded
// with LR_LOADFROMFILE | LR_LOADTRANSPARENT and added without a mask.
void MakeImageLists(HDC screen)
{
    MemoryBitmap buffer(screen, CreateCompatibleBitmap(screen, 600, 40));
    SIZE size = Draw(buffer.Dc(), "TBG", 0, 0, 0);
    const int w = size.cx / 3;
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    for (int i = 0; i < 3; ++i) {
        imageLists[i] = ImageList_Create(32, 32, ILC_COLOR32, 0, 0);
        std::string path = std::string(folder) + "T" + std::to_string(i + 1) + ".BMP";
        SaveArea(buffer.Dc(), path.c_str(), i * w, 0, w, 32);
        GdiObject<HBITMAP> strip(static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADTRANSPARENT)));
        ImageList_Add(imageLists[i], strip.Get(), nullptr);
        DeleteFileA(path.c_str());
    }
}

HWND MakeToolbar(HWND parent)
{
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0,
                                   0, 0, parent, reinterpret_cast<HMENU>(2000), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageLists[1]));
    SendMessageA(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(imageLists[0]));
    SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(imageLists[2]));
    const char* texts[] = {"Grafik laden", "Bild speichern", " ", "Start", "Abbrechen", " ", "Hilfe / Info", "Beenden"};
    for (const char* text : texts) {
        std::string entry = std::string(text) + '\0' + '\0';
        SendMessageA(toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(entry.data()));
    }
    const int images[] = {0, 1, -1, 2, 3, -1, 4, 5};
    for (int i = 0; i < 8; ++i) {
        TBBUTTON button{};
        button.iBitmap = images[i];
        button.idCommand = images[i] < 0 ? -1 : -1500 - images[i];
        button.fsState = images[i] < 0 ? 0 : TBSTATE_ENABLED;
        button.fsStyle = images[i] < 0 ? BTNS_SEP : BTNS_BUTTON;
        button.iString = images[i] < 0 ? -1 : i;
        SendMessageA(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(toolbar, TB_SETSTYLE, 0, 0x50000B41);
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    RECT bounds{};
    SendMessageA(toolbar, TB_SETROWS, MAKEWPARAM(9, TRUE), reinterpret_cast<LPARAM>(&bounds));
    SetWindowPos(toolbar, nullptr, 0, 0, bounds.right, bounds.bottom, SWP_NOZORDER);
    SendMessageA(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(-1502), 0);
    SendMessageA(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(-1503), 0);
    SendMessageA(toolbar, TB_SETHOTITEM, 0, 0);
    return toolbar;
}

void Label(HDC dc, int x, int y, const char* text)
{
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// Text set in the glyph images, as the bitmap export lays them out (8 x 15 cells).
void GlyphText(HDC dc, int x, int y, const unsigned char* text, int scale)
{
    for (int i = 0; text[i]; ++i) {
        std::string name = "fixedsys" + std::to_string(text[i]);
        HBITMAP bitmap = LoadPicture(name.c_str());
        if (!bitmap)
            continue;
        MemoryBitmap memory(dc, bitmap);
        StretchBlt(dc, x + i * 8 * scale, y, 8 * scale, 15 * scale, memory.Dc(), 0, 0, 8, 15, SRCCOPY);
    }
}

void Compose(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    {
        WindowDc dc(window);
        backing = CreateCompatibleDC(dc.Get());
        backingBitmap = CreateCompatibleBitmap(dc.Get(), client.right, client.bottom);
    }
    SelectObject(backing, backingBitmap);
    FillRect(backing, &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(backing, GetStockObject(DEFAULT_GUI_FONT));

    Draw(backing, "bild", 519, 319, 0);
    Draw(backing, "mill", 540, 55, -1);

    // the area of the text field: the raw strips and the glyph images
    RECT edit{5, 55, 505, 441};
    FillRect(backing, &edit, GetSysColorBrush(COLOR_WINDOW));
    const char* strips[] = {"hot", "normal", "disabled"};
    {
        MemoryBitmap tbg(backing, LoadPicture("TBG"));
        for (int i = 0; i < 3; ++i) {
            Label(backing, 12, 72 + i * 40, strips[i]);
            BitBlt(backing, 70, 62 + i * 40, 192, 32, tbg.Dc(), i * 192, 0, SRCCOPY);
            StretchBlt(backing, 280, 62 + i * 40, 96, 32, tbg.Dc(), i * 192 + 64, 0, 96, 32, SRCCOPY);
        }
    }
    const unsigned char big[] = "Glyphmill \x91\x92\xB4\xA7";
    GlyphText(backing, 12, 190, big, 3);
    const unsigned char umlauts[] = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xC9\xE8\xF1\xE7\xFF";
    GlyphText(backing, 12, 240, umlauts, 3);
    std::vector<unsigned char> all;
    for (int code = 32; code <= 255; ++code)
        if (!((code >= 127 && code <= 144) || (code >= 147 && code <= 160)))
            all.push_back(static_cast<unsigned char>(code));
    for (size_t row = 0; row * 48 < all.size(); ++row) {
        std::vector<unsigned char> line(all.begin() + row * 48, all.begin() + std::min(all.size(), (row + 1) * 48));
        line.push_back(0);
        GlyphText(backing, 12, 300 + static_cast<int>(row) * 15, line.data(), 1);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, backing, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kCloseTimer) {
            DestroyWindow(window);
        } else {
            // The program draws the logo straight onto its window, over the toolbar, and
            // again after every pass of its main loop.
            WindowDc dc(window);
            Draw(dc.Get(), "logo", 510, 6, -1);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND MakeControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h)
{
    HWND control = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return control;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    resources = LoadLibraryA("res.dll");
    if (!resources) {
        std::fprintf(stderr, "res.dll not found\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    std::printf("button face %06lx\n", static_cast<unsigned long>(GetSysColor(COLOR_BTNFACE)));
    std::fflush(stdout);

    WNDCLASSA cls{};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.lpszClassName = "ResPreview";
    RegisterClassA(&cls);
    HWND window =
        CreateWindowExA(0, "ResPreview", "Glyphmill 1.2", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 20,
                        20, 700, 500, nullptr, nullptr, instance, nullptr);
    MakeImageLists(WindowDc(nullptr).Get());
    Compose(window);
    MakeToolbar(window);
    MakeControl(window, "BUTTON", "Methode:", BS_GROUPBOX, 510, 92, 180, 80);
    MakeControl(window, "BUTTON", "4-Pixel (empfohlen)", BS_AUTORADIOBUTTON, 520, 110, 130, 17);
    MakeControl(window, "BUTTON", "Exakt", BS_AUTORADIOBUTTON, 520, 130, 120, 17);
    MakeControl(window, "BUTTON", "Graustufen", BS_AUTORADIOBUTTON, 520, 150, 70, 17);
    MakeControl(window, "BUTTON", "Optionen:", BS_GROUPBOX, 510, 185, 180, 60);
    MakeControl(window, "BUTTON", "Originalh\xF6he", BS_AUTORADIOBUTTON, 520, 202, 140, 17);
    MakeControl(window, "BUTTON", "\xBD-Grafikh\xF6he", BS_AUTORADIOBUTTON, 520, 222, 160, 17);
    MakeControl(window, "BUTTON", "Helligkeit:", BS_GROUPBOX, 510, 258, 180, 54);
    MakeControl(window, "STATIC", "Aufl\xF6sung:", 0, 521, 445, 166, 20);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const int seconds = std::atoi(commandLine);
    if (seconds > 0)
        SetTimer(window, kCloseTimer, seconds * 1000, nullptr);
    SetTimer(window, kLogoTimer, 300, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    for (HIMAGELIST list : imageLists)
        ImageList_Destroy(list);
    FreeLibrary(resources);
    return 0;
}
