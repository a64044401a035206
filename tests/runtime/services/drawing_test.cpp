// Drawing targets, bitmap commands and the saved bitmap file, on real device contexts: the
// off-screen buffer, windows of a test class that paints nothing (so that only the commands
// change their pixels), and bitmap files and resources of the test DLL.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/runtime_state.h"
#include "recorded_reports.h"
#include "support/script_runner.h"
#include "services/bitmap_drawing.h"
#include "services/bitmap_file.h"
#include "services/dll_calls.h"
#include "services/draw_target.h"
#include "services/text_fonts.h"
#include "support/gdi_handles.h"
#include "windows/color_value.h"
#include "windows/drawing_state.h"
#include "windows/main_window.h"
#include "windows/text_font_state.h"
#include "windows/window_settings.h"

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr int CanvasSize = 64;

using Rows = std::vector<std::vector<COLORREF>>;  // top row first

LRESULT CALLBACK CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        ValidateRect(window, nullptr);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND MakeCanvas(int x)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = CanvasProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "GlyphmillTestCanvas";
        registered = RegisterClassA(&windowClass) != 0;
    }
    return CreateWindowExA(WS_EX_TOOLWINDOW, "GlyphmillTestCanvas", "", WS_POPUP | WS_VISIBLE, x, 0, CanvasSize,
                           CanvasSize, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void WriteBitmapFile(const std::string& path, const Rows& rows)
{
    int32_t height = static_cast<int32_t>(rows.size());
    int32_t width = static_cast<int32_t>(rows[0].size());
    int32_t stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> pixels;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (COLORREF c : *row) {
            pixels.push_back(GetBValue(c));
            pixels.push_back(GetGValue(c));
            pixels.push_back(GetRValue(c));
        }
        pixels.resize(pixels.size() + static_cast<size_t>(stride - width * 3), 0);
    }
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(54 + pixels.size()), 0, 0, 54};
    BITMAPINFOHEADER info = {40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, &file, sizeof file, &written, nullptr);
    WriteFile(handle, &info, sizeof info, &written, nullptr);
    WriteFile(handle, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(handle);
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes(4096);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    DWORD read = 0;
    ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(handle);
    bytes.resize(read);
    return bytes;
}

uint32_t Field(const std::vector<unsigned char>& bytes, size_t offset, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return value;
}

// Fills a rectangle of `dc` with one colour.
void Fill(HDC dc, int x, int y, int width, int height, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect = {x, y, x + width, y + height};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A canvas window standing in for the main window: its device context and a backing bitmap,
// made and installed as the main window's creation does.
class StandInMainWindow {
public:
    explicit StandInMainWindow(HWND window)
    {
        MainWindow = window;
        WindowDC = GetDC(window);
        BackingDC = CreateCompatibleDC(WindowDC);
        BackingBitmap = CreateCompatibleBitmap(WindowDC, CanvasSize, CanvasSize);
        previous_ = SelectObject(BackingDC, BackingBitmap);
        Fill(WindowDC, 0, 0, CanvasSize, CanvasSize, White);
        Fill(BackingDC, 0, 0, CanvasSize, CanvasSize, White);
        DrawTarget = WindowDC;
        MirrorTarget = BackingDC;
    }
    ~StandInMainWindow()
    {
        SelectObject(BackingDC, previous_);
        DeleteObject(BackingBitmap);
        DeleteDC(BackingDC);
        ReleaseDC(MainWindow.load(), WindowDC);
        DrawTarget = MirrorTarget = WindowDC = BackingDC = nullptr;
        BackingBitmap = nullptr;
        MainWindow = nullptr;
    }
    StandInMainWindow(const StandInMainWindow&) = delete;
    StandInMainWindow& operator=(const StandInMainWindow&) = delete;

private:
    HGDIOBJ previous_;
};

class Drawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Made on this thread, which serves as the GUI thread while the script runs.
        main_ = MakeCanvas(0);
        other_ = MakeCanvas(100);
        UpdateWindow(main_);
        UpdateWindow(other_);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "gm_draw_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(main_);
        DestroyWindow(other_);
        for (const std::string& file : files_)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string File(const char* name)
    {
        files_.push_back(folder_ + name);
        return files_.back();
    }

    HWND main_ = nullptr;
    HWND other_ = nullptr;
    std::string folder_;
    std::vector<std::string> files_;
};

}  // namespace

TEST_F(Drawing, StartsWithoutBufferAndEndDrawAloneChangesNothing)
{
    RunScript([this] {
        EXPECT_EQ(DrawWindow, DrawBufferWindow);
        EXPECT_EQ(DrawBufferDc, nullptr);
        EXPECT_EQ(BitmapWidth, 0);
        EXPECT_EQ(BitmapHeight, 0);
        StandInMainWindow main(main_);
        EndDraw();
        EXPECT_EQ(DrawTarget, WindowDC);
        EXPECT_EQ(MirrorTarget, BackingDC);
        EndDraw();
        EXPECT_EQ(DrawTarget, WindowDC);
        EXPECT_EQ(DrawWindow, main_);
    });
}

TEST_F(Drawing, LinesGoToTheChosenTargetOnly)
{
    RunScript([this] {
        StandInMainWindow main(main_);
        CreateDrawBuffer(50, 40);
        ASSERT_NE(DrawBufferDc, nullptr);
        for (POINT p : {POINT{0, 0}, POINT{49, 39}, POINT{25, 5}})
            EXPECT_EQ(GetPixel(DrawBufferDc, p.x, p.y), White);

        BeginDraw(DrawBufferWindow);
        EXPECT_EQ(DrawTarget, DrawBufferDc);
        EXPECT_EQ(MirrorTarget, DrawBufferDc);
        DrawLine(0, 5, 30, 5);
        EXPECT_EQ(GetPixel(DrawBufferDc, 10, 5), Black);
        EXPECT_EQ(GetPixel(WindowDC, 10, 5), White);
        EXPECT_EQ(GetPixel(BackingDC, 10, 5), White);
        EndDraw();

        // Back on the main window: its own context and the backing bitmap both.
        EXPECT_EQ(DrawWindow, main_);
        DrawLine(0, 7, 30, 7);
        EXPECT_EQ(GetPixel(WindowDC, 10, 7), Black);
        EXPECT_EQ(GetPixel(BackingDC, 10, 7), Black);
        EXPECT_EQ(GetPixel(DrawBufferDc, 10, 7), White);

        // Another window: its own device context, fetched on the GUI thread, no mirror.
        BeginDraw(other_);
        EXPECT_EQ(DrawWindow, other_);
        ASSERT_NE(DrawTarget, nullptr);
        EXPECT_EQ(MirrorTarget, DrawTarget);
        EXPECT_EQ(WindowFromDC(DrawTarget), other_);
        Fill(DrawTarget, 0, 0, CanvasSize, CanvasSize, White);
        DrawLine(0, 9, 30, 9);
        EXPECT_EQ(GetPixel(DrawTarget, 10, 9), Black);
        EXPECT_EQ(GetPixel(BackingDC, 10, 9), White);
        EndDraw();
        EXPECT_EQ(DrawTarget, WindowDC);
        EXPECT_EQ(GetPixel(WindowDC, 10, 9), White);
    });
}

TEST_F(Drawing, ANewBufferReplacesTheOneThatIsBeingDrawnInto)
{
    RunScript([] {
        CreateDrawBuffer(10, 10);  // no window yet
        ASSERT_NE(DrawBufferDc, nullptr);
        BeginDraw(DrawBufferWindow);
        DrawLine(0, 1, 9, 1);
        HDC first = DrawBufferDc;
        CreateDrawBuffer(20, 20);
        EXPECT_EQ(DrawTarget, DrawBufferDc);
        EXPECT_EQ(MirrorTarget, DrawBufferDc);
        EXPECT_EQ(GetObjectType(first), 0u);  // the old buffer is gone
        EXPECT_EQ(GetPixel(DrawTarget, 5, 1), White);
        DrawLine(0, 1, 19, 1);
        EXPECT_EQ(GetPixel(DrawTarget, 15, 1), Black);
        BITMAP size = {};
        GetObjectA(DrawBufferBitmap, sizeof size, &size);
        EXPECT_EQ(size.bmWidth, 20);
        EXPECT_EQ(size.bmHeight, 20);

        // One that cannot be made says so and leaves this one in place.
        HDC second = DrawBufferDc;
        EXPECT_FALSE(CreateDrawBuffer(0, 20));
        EXPECT_FALSE(CreateDrawBuffer(40000, 40000));
        EXPECT_EQ(DrawBufferDc, second);
        EXPECT_EQ(DrawTarget, second);
        EXPECT_EQ(GetPixel(DrawTarget, 15, 1), Black);
    });
}

TEST_F(Drawing, RasterModesCombineTheBitmapWithTheTarget)
{
    const COLORREF background = RGB(0x0F, 0xF0, 0x33);
    const COLORREF source = RGB(0x3C, 0x55, 0xAA);
    std::string path = File("one.bmp");
    WriteBitmapFile(path, {{source, source}, {source, source}});
    struct Case {
        int32_t mode;
        COLORREF expected;
    };
    const Case cases[] = {
        {0, source},
        {7, source},
        {-5, source},
        {1, RGB(0x0F & 0x3C, 0xF0 & 0x55, 0x33 & 0xAA)},
        {2, RGB(0x0F | 0x3C, 0xF0 | 0x55, 0x33 | 0xAA)},
        {3, RGB(0x0F ^ 0x3C, 0xF0 ^ 0x55, 0x33 ^ 0xAA)},
        {4, RGB(0xF0, 0x0F, 0xCC)},  // the destination inverted, whatever the bitmap
    };
    RunScript([&] {
        CreateDrawBuffer(20, 20);
        BeginDraw(DrawBufferWindow);
        for (const Case& c : cases) {
            Fill(DrawTarget, 0, 0, 20, 20, background);
            DrawBitmapFile(path.c_str(), 3, 4, c.mode);
            EXPECT_EQ(GetPixel(DrawTarget, 3, 4), c.expected) << "mode " << c.mode;
            EXPECT_EQ(GetPixel(DrawTarget, 4, 5), c.expected) << "mode " << c.mode;
            EXPECT_EQ(GetPixel(DrawTarget, 5, 5), background) << "mode " << c.mode;
            EXPECT_EQ(GetPixel(DrawTarget, 2, 4), background) << "mode " << c.mode;
        }
        EXPECT_EQ(BitmapWidth, 2);
        EXPECT_EQ(BitmapHeight, 2);
    });
}

// The GUI thread paints through the main window's own context at any moment, and a context
// serves one thread at a time: drawing off screen must not need it. Stood in for here by a
// context that no call can use.
TEST_F(Drawing, TheBufferIsMadeAndDrawnWithoutTheWindowsOwnContext)
{
    std::string path = File("red.bmp");
    WriteBitmapFile(path, {{Red, Red}, {Red, Red}});
    RunScript([&] {
        HDC unusable = CreateCompatibleDC(nullptr);
        DeleteDC(unusable);
        HDC windowDc = std::exchange(WindowDC, unusable);
        HDC target = std::exchange(DrawTarget, unusable);
        bool made = CreateDrawBuffer(20, 20);
        if (made) {
            BeginDraw(DrawBufferWindow);
            DrawBitmapFile(path.c_str(), 3, 4, 0);
            StretchBitmapFile(path.c_str(), 10, 10, 4, 4, 0);
            EndDraw();
        }
        WindowDC = windowDc;
        DrawTarget = target;
        ASSERT_TRUE(made) << "no buffer was made";
        EXPECT_EQ(GetPixel(DrawBufferDc, 4, 5), Red);
        EXPECT_EQ(GetPixel(DrawBufferDc, 13, 13), Red);
        EXPECT_EQ(GetPixel(DrawBufferDc, 14, 14), White);
    });
}

// The GUI thread paints the main window from its own context and the backing bitmap at any
// moment; what the program draws meanwhile must reach both, not fail on a busy context.
TEST_F(Drawing, DrawingOnTheMainWindowWhileItIsPaintedLosesNothing)
{
    RunScript([] {
        constexpr int Rounds = 400;
        OpenMainWindow(10, 10, 200, 100);
        HWND main = MainWindow.load();
        std::atomic<bool> drawing = true;
        std::thread painter([&] {
            while (drawing)
                RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        });
        int lost = 0;
        for (int round = 0; round < Rounds; ++round) {
            int32_t colour = round % 2 ? 0x0000 : 0x7FFF;  // 15-bit black and white
            COLORREF expected = ClearColor(colour, TrueColor);
            ClearWindow(colour);
            auto surfaces = LockWindowSurfaces();
            lost += GetPixel(BackingDC, 20, 20) != expected || GetPixel(WindowDC, 20, 20) != expected;
        }
        drawing = false;
        painter.join();
        EXPECT_EQ(lost, 0) << "clears lost of " << Rounds;
    });
}

TEST_F(Drawing, TransparentDrawsLeaveTheTargetWhereTheBitmapIsWhite)
{
    // White bottom-left pixel: white is transparent, every other colour is drawn.
    const Rows picture = {{Blue, White, Red, White}, {White, Blue, White, Black}, {White, Green, White, White}};
    std::string path = File("mask.bmp");
    WriteBitmapFile(path, picture);
    RunScript([&] {
        StandInMainWindow main(main_);
        HMODULE library = LoadDll("glyphtest");
        ASSERT_NE(library, nullptr);
        CreateDrawBuffer(40, 20);
        BeginDraw(DrawBufferWindow);
        // A target whose every pixel differs from its neighbours.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                SetPixel(DrawTarget, x, y, RGB(x * 5, y * 10, 100 + x));
        DrawBitmapFile(path.c_str(), 2, 3, TransparentMode);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                COLORREF expected =
                    picture[y][x] == White ? RGB((x + 2) * 5, (y + 3) * 10, 100 + x + 2) : picture[y][x];
                EXPECT_EQ(GetPixel(DrawTarget, x + 2, y + 3), expected) << x << "," << y;
            }
        }
        EXPECT_EQ(BitmapWidth, 4);
        EXPECT_EQ(BitmapHeight, 3);

        // The same from a resource (mask_4x4.bmp: rows B W B W / W B W B / K K W W / W B B K).
        const Rows resource = {{Blue, White, Blue, White},
                               {White, Blue, White, Blue},
                               {Black, Black, White, White},
                               {White, Blue, Blue, Black}};
        DrawBitmapResource(library, "maske", 20, 10, TransparentMode);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                COLORREF expected =
                    resource[y][x] == White ? RGB((x + 20) * 5, (y + 10) * 10, 100 + x + 20) : resource[y][x];
                EXPECT_EQ(GetPixel(DrawTarget, x + 20, y + 10), expected) << x << "," << y;
            }
        }
        EndDraw();

        // On the main window, both device contexts get the transparent copy.
        Fill(WindowDC, 0, 0, 8, 8, Red);
        Fill(BackingDC, 0, 0, 8, 8, Green);
        DrawBitmapResource(library, "maske", 0, 0, TransparentMode);
        EXPECT_EQ(GetPixel(WindowDC, 1, 0), Red);
        EXPECT_EQ(GetPixel(BackingDC, 1, 0), Green);
        EXPECT_EQ(GetPixel(WindowDC, 0, 0), Blue);
        EXPECT_EQ(GetPixel(BackingDC, 0, 0), Blue);
        FreeDll(library);
    });
}

TEST_F(Drawing, StretchingCopiesWholePixelsAndTreatsTransparentAsCopy)
{
    std::string path = File("four.bmp");
    WriteBitmapFile(path, {{Red, Green}, {White, Blue}});
    RunScript([&] {
        StandInMainWindow main(main_);
        StretchBitmapFile(path.c_str(), 10, 10, 4, 4, TransparentMode);
        const COLORREF quadrants[2][2] = {{Red, Green}, {White, Blue}};
        for (HDC dc : {WindowDC, BackingDC}) {
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    EXPECT_EQ(GetPixel(dc, 10 + x, 10 + y), quadrants[y / 2][x / 2]) << x << "," << y;
            EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
        }
        EXPECT_EQ(BitmapWidth, 2);
        EXPECT_EQ(BitmapHeight, 2);

        // Shrinking keeps pure source colours.
        Fill(BackingDC, 0, 0, 4, 4, Black);
        StretchBitmapFile(path.c_str(), 0, 0, 1, 1, 0);
        COLORREF kept = GetPixel(BackingDC, 0, 0);
        EXPECT_TRUE(kept == Red || kept == Green || kept == White || kept == Blue) << std::hex << kept;
        StretchBitmapFile(path.c_str(), 20, 20, 2, 2, 4);
        EXPECT_EQ(GetPixel(BackingDC, 20, 20), Black);  // inverted white
    });
}

TEST_F(Drawing, ResourcesByNumberModulo65536AndByName)
{
    RunScript([] {
        RecordReports(1);
        HMODULE library = LoadDll("glyphtest");
        ASSERT_NE(library, nullptr);
        CreateDrawBuffer(20, 20);
        BeginDraw(DrawBufferWindow);
        struct Case {
            const char* name;
            COLORREF colour;
            int32_t width, height;
        };
        const Case cases[] = {
            {"123", Red, 4, 2},    {"65659", Red, 4, 2},  {"131195", Red, 4, 2},
            {"000123", Red, 4, 2}, {"logo", Green, 3, 3}, {"LOGO", Green, 3, 3},
        };
        for (const Case& c : cases) {
            Fill(DrawTarget, 0, 0, 20, 20, White);
            DrawBitmapResource(library, c.name, 1, 1, 0);
            EXPECT_EQ(BitmapWidth, c.width) << c.name;
            EXPECT_EQ(BitmapHeight, c.height) << c.name;
            EXPECT_EQ(GetPixel(DrawTarget, 1, 1), c.colour) << c.name;
            EXPECT_EQ(GetPixel(DrawTarget, c.width, c.height), c.colour) << c.name;
            EXPECT_EQ(GetPixel(DrawTarget, c.width + 1, c.height + 1), White) << c.name;
        }
        EXPECT_TRUE(Recorded.empty());

        // Missing resources warn and leave the size of the last bitmap.
        for (const char* missing : {"nix", "124", "", "12a"}) {
            Recorded.clear();
            DrawBitmapResource(library, missing, 0, 0, 0);
            ASSERT_EQ(Recorded.size(), 1u) << missing;
            EXPECT_EQ(Recorded[0].title, std::string("Bitmap nicht ladbar: ") + missing);
            EXPECT_FALSE(Recorded[0].fatal);
            EXPECT_EQ(BitmapWidth, 3);
        }
        FreeDll(library);
    });
}

TEST_F(Drawing, CommandsWithoutATargetRaise237AndMissingFilesWarn228)
{
    std::string path = File("small.bmp");
    WriteBitmapFile(path, {{Red}});
    RunScript([&] {
        RecordReports(1);
        BeginDraw(DrawBufferWindow);  // no buffer yet: no target
        ASSERT_EQ(DrawTarget, nullptr);
        const std::function<void()> needsTarget[] = {
            [&] { DrawBitmapFile(path.c_str(), 0, 0, 0); },
            [&] { StretchBitmapFile(path.c_str(), 0, 0, 2, 2, 0); },
            [&] { SaveBitmapArea(File("never.bmp").c_str(), 0, 0, 2, 2); },
            [] { SelectTextFont("Arial", 10, 0, 0, 0, 0); },
        };
        for (const auto& command : needsTarget) {
            Recorded.clear();
            EXPECT_THROW(command(), ProgramEnded);
            ASSERT_EQ(Recorded.size(), 1u);
            EXPECT_EQ(Recorded[0].title, "Der Befehl setzt ein Fenster vorraus!");
            EXPECT_TRUE(Recorded[0].fatal);
        }
        EXPECT_EQ(GetFileAttributesA(File("never.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
        // These two do not check; they must do no harm.
        Recorded.clear();
        DrawLine(0, 0, 5, 5);
        HMODULE library = LoadDll("glyphtest");
        DrawBitmapResource(library, "logo", 0, 0, TransparentMode);
        EXPECT_EQ(BitmapWidth, 3);
        FreeDll(library);
        EXPECT_TRUE(Recorded.empty());

        CreateDrawBuffer(4, 4);
        BeginDraw(DrawBufferWindow);
        std::string missing = folder_ + "missing.bmp";
        DrawBitmapFile(missing.c_str(), 0, 0, 0);
        StretchBitmapFile("", 0, 0, 2, 2, 0);
        ASSERT_EQ(Recorded.size(), 2u);
        EXPECT_EQ(Recorded[0].title, "Bitmap nicht ladbar: " + missing);
        EXPECT_EQ(Recorded[1].title, "Bitmap nicht ladbar: ");
        EXPECT_EQ(BitmapWidth, 3);
    });
}

TEST_F(Drawing, SavedAreaIsExactlyThe24BitFileLayout)
{
    std::string path = File("saved.bmp");
    WriteBitmapFile(path, {std::vector<COLORREF>(20, White)});
    std::string source = File("source.bmp");
    const COLORREF top[3] = {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)};
    const COLORREF bottom[3] = {RGB(10, 11, 12), RGB(13, 14, 15), RGB(16, 17, 18)};
    WriteBitmapFile(source, {{top[0], top[1], top[2]}, {bottom[0], bottom[1], bottom[2]}});
    RunScript([&] {
        RecordReports(1);
        CreateDrawBuffer(20, 20);
        BeginDraw(DrawBufferWindow);
        DrawBitmapFile(source.c_str(), 5, 6, 0);
        SaveBitmapArea(path.c_str(), 5, 6, 3, 2);  // replaces the longer file there
        EXPECT_TRUE(Recorded.empty());
    });
    std::vector<unsigned char> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 78u);
    struct FieldCase {
        size_t offset, size;
        uint32_t value;
    };
    const FieldCase fields[] = {
        {0, 2, 0x4D42}, {2, 4, 78},  {6, 2, 0},  {8, 2, 0},  {10, 4, 54}, {14, 4, 40}, {18, 4, 3}, {22, 4, 2},
        {26, 2, 1},     {28, 2, 24}, {30, 4, 0}, {34, 4, 0}, {38, 4, 0},  {42, 4, 0},  {46, 4, 0}, {50, 4, 0},
    };
    for (const FieldCase& f : fields)
        EXPECT_EQ(Field(bytes, f.offset, f.size), f.value) << "offset " << f.offset;
    // Bottom row first, blue-green-red, padded from 9 to 12 bytes with zeros.
    const std::vector<unsigned char> pixels = {12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,
                                               3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 54, bytes.end()), pixels);
}

TEST_F(Drawing, SavingThatFailsWarns229)
{
    RunScript([this] {
        RecordReports(1);
        CreateDrawBuffer(8, 8);
        BeginDraw(DrawBufferWindow);
        std::string unwritable = folder_ + "no folder\\x.bmp";
        std::string empty = File("empty.bmp");
        SaveBitmapArea(unwritable.c_str(), 0, 0, 2, 2);
        SaveBitmapArea(empty.c_str(), 0, 0, 0, 2);
        SaveBitmapArea(empty.c_str(), 0, 0, 2, -1);
        ASSERT_EQ(Recorded.size(), 3u);
        EXPECT_EQ(Recorded[0].title, "Bitmap konnte nicht gespeichert werden: " + unwritable);
        EXPECT_EQ(Recorded[1].title, "Bitmap konnte nicht gespeichert werden: " + empty);
        EXPECT_FALSE(Recorded[0].fatal);
        EXPECT_EQ(GetFileAttributesA(empty.c_str()), INVALID_FILE_ATTRIBUTES);
    });
}

TEST_F(Drawing, SelectTextFontMakesTheFontOfTheArguments)
{
    static HFONT Seen = nullptr;
    RunScript([this] {
        StandInMainWindow main(main_);
        struct Case {
            const char* face;
            int32_t height, width, bold, italic, underline;
            const char* storedFace;
        };
        const std::string longFace(40, 'F');
        const Case cases[] = {
            {"Arial", 20, 0, 1, 1, 0, "Arial"},
            {"Courier New", -12, 7, 0, 0, 5, "Courier New"},
            {"Arial", 10, 0, 256, 256, 256, "Arial"},  // any non-zero flag counts as set
            {longFace.c_str(), 10, 0, 0, 0, 0, "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
        };
        for (const Case& c : cases) {
            SelectTextFont(c.face, c.height, c.width, c.bold, c.italic, c.underline);
            ASSERT_NE(CurrentFont, nullptr);
            EXPECT_EQ(GetCurrentObject(WindowDC, OBJ_FONT), CurrentFont);
            EXPECT_EQ(GetCurrentObject(BackingDC, OBJ_FONT), CurrentFont);
            LOGFONTA font = {};
            ASSERT_EQ(GetObjectA(CurrentFont, sizeof font, &font), static_cast<int>(sizeof font));
            EXPECT_EQ(font.lfHeight, c.height);
            EXPECT_EQ(font.lfWidth, c.width);
            EXPECT_EQ(font.lfWeight, c.bold ? 700 : 400);
            EXPECT_EQ(font.lfItalic, c.italic ? 1 : 0);
            EXPECT_EQ(font.lfUnderline, c.underline ? 1 : 0);
            EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
            EXPECT_STREQ(font.lfFaceName, c.storedFace);
        }
        // The font a new one replaces is deleted.
        HFONT before = CurrentFont;
        SelectTextFont("Arial", 11, 0, 0, 0, 0);
        EXPECT_EQ(GetObjectType(before), 0u);

        // In the buffer only the buffer gets it.
        CreateDrawBuffer(4, 4);
        BeginDraw(DrawBufferWindow);
        HFONT onWindow = CurrentFont;
        SelectTextFont("Arial", 12, 0, 0, 0, 0);
        EXPECT_EQ(GetCurrentObject(DrawBufferDc, OBJ_FONT), CurrentFont);
        EXPECT_EQ(GetCurrentObject(BackingDC, OBJ_FONT), onWindow);
        EndDraw();
        Seen = CurrentFont;
    });
    // The runtime's end deletes the fonts it made.
    EXPECT_EQ(CurrentFont, nullptr);
    EXPECT_EQ(GetObjectType(Seen), 0u);
}

TEST_F(Drawing, TenThousandDrawsLeaveNoGdiObjectBehind)
{
    std::string path = File("loop.bmp");
    WriteBitmapFile(path, {{Red, White}, {White, Blue}});
    std::string saved = File("loop_saved.bmp");
    RunScript([&] {
        StandInMainWindow main(main_);
        HMODULE library = LoadDll("glyphtest");
        ASSERT_NE(library, nullptr);
        CreateDrawBuffer(100, 100);
        auto draws = [&](int count) {
            for (int i = 0; i < count; ++i) {
                BeginDraw(i % 5 == 4 ? other_ : DrawBufferWindow);
                switch (i % 8) {
                case 0:
                    DrawBitmapResource(library, "maske", i % 90, 0, TransparentMode);
                    break;
                case 1:
                    DrawBitmapResource(library, "123", 0, i % 90, 0);
                    break;
                case 2:
                    DrawBitmapFile(path.c_str(), 5, 5, TransparentMode);
                    break;
                case 3:
                    StretchBitmapFile(path.c_str(), 0, 0, 30, 30, 4);
                    break;
                case 4:
                    SelectTextFont("Arial", 8 + i % 10, 0, i & 1, 0, 0);
                    break;
                case 5:
                    DrawLine(0, 0, i % 100, 99);
                    break;
                case 6:
                    if (i % 80 == 6)
                        SaveBitmapArea(saved.c_str(), 0, 0, 10, 10);
                    break;
                default:
                    CreateDrawBuffer(100, 100);
                    break;
                }
                EndDraw();
                // On the main window: the mirrored paths.
                if (i % 10 == 0) {
                    DrawBitmapResource(library, "maske", 0, 0, TransparentMode);
                    StretchBitmapFile(path.c_str(), 0, 0, 8, 8, 0);
                    SelectTextFont("Arial", 9, 0, 0, 0, 0);
                }
            }
        };
        draws(16);  // first use may set up lasting objects of the platform's own
        int before = FreeGdiHandles();
        DWORD start = GetTickCount();
        draws(10000);
        DWORD elapsed = GetTickCount() - start;
        int after = FreeGdiHandles();
        std::printf("free GDI handles: %d before, %d after 10000 draws in %lu ms\n", before, after,
                    static_cast<unsigned long>(elapsed));
        EXPECT_LT(before, 200000);  // the probe found the limit
        EXPECT_GT(before, 1000);
        EXPECT_LE(before - after, 4);
        FreeDll(library);
    });
}
