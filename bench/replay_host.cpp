#include "replay_host.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "app_globals.h"

namespace {

using Clock = std::chrono::steady_clock;

class Stopwatch {
public:
    explicit Stopwatch(double& total) : total_(total), start_(Clock::now()) {}
    ~Stopwatch() { total_ += std::chrono::duration<double, std::milli>(Clock::now() - start_).count(); }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    double& total_;
    Clock::time_point start_;
};

HBITMAP PictureBitmap(const PixelImage& picture)
{
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = picture.width;
    header.bmiHeader.biHeight = -picture.height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* out = static_cast<uint32_t*>(bits);
    for (uint32_t colour : picture.colours)
        *out++ = ((colour >> 16) & 0xFF) | (colour & 0xFF00) | ((colour & 0xFF) << 16);
    return bitmap;
}

class ReplayHost : public ConversionHost {
public:
    ReplayHost(Replay way, const PixelImage& picture, HMODULE res, HWND edit, HWND progress, bool halfHeight)
        : way_(way), picture_(picture), res_(res), edit_(edit), progress_(progress), halfHeight_(halfHeight)
    {
        HDC screen = GetDC(nullptr);
        buffer_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, 2000, 2000);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(buffer_, bitmap_);
        PatBlt(buffer_, 0, 0, 2000, 2000, WHITENESS);
    }
    ~ReplayHost() override
    {
        SelectObject(buffer_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(buffer_);
    }

    int32_t SliderPosition() override { return 128; }
    bool HalfHeightChecked() override { return halfHeight_; }
    bool OriginalHeightChecked() override { return !halfHeight_; }
    void ReadPictureSize() override
    {
        PictureWidth = picture_.width;
        PictureHeight = picture_.height;
    }
    bool DrawPictureStretched(int32_t width, int32_t height) override
    {
        Draw(width, height);
        return true;
    }
    bool DrawPictureNatural() override
    {
        Draw(picture_.width, picture_.height);
        return true;
    }
    void DrawGlyph(int32_t code) override
    {
        Stopwatch clock(result.glyphMs);
        ++result.glyphLoads;
        std::string name = "fixedsys" + std::to_string(code);
        auto glyph = static_cast<HBITMAP>(LoadImageA(res_, name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        HDC dc = CreateCompatibleDC(buffer_);
        HGDIOBJ previous = SelectObject(dc, glyph);
        BitBlt(buffer_, 0, 0, 8, 15, dc, 0, 0, SRCCOPY);
        bandRows_ = 0;
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(glyph);
    }
    void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* colours) override
    {
        Stopwatch clock(result.pixelMs);
        if (way_ == Replay::First) {
            result.pixelReads += width * height;
            for (int32_t dy = 0; dy < height; ++dy)
                for (int32_t dx = 0; dx < width; ++dx)
                    *colours++ = GetPixel(buffer_, x + dx, y + dy);
            return;
        }
        if (y < bandTop_ || y + height > bandTop_ + bandRows_) {
            ++result.pixelReads;
            bandTop_ = y;
            bandRows_ = std::min(std::max(60, height), 2000 - y);
            band_.resize(static_cast<size_t>(2000) * bandRows_);
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = 2000;
            info.bmiHeader.biHeight = 2000;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            GetDIBits(buffer_, bitmap_, static_cast<UINT>(2000 - y - bandRows_), static_cast<UINT>(bandRows_),
                      band_.data(), &info, DIB_RGB_COLORS);
        }
        for (int32_t dy = 0; dy < height; ++dy) {
            const uint32_t* line = band_.data() + static_cast<size_t>(bandTop_ + bandRows_ - 1 - (y + dy)) * 2000;
            for (int32_t dx = 0; dx < width; ++dx) {
                uint32_t pixel = line[x + dx];
                *colours++ = ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
            }
        }
    }
    void ShowProgress(int32_t position) override
    {
        Stopwatch clock(result.progressMs);
        int32_t shown = std::clamp(position, 0, 100);
        if (way_ == Replay::Batched && shown == shownPosition_)
            return;
        shownPosition_ = shown;
        ++result.progressSends;
        SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
    void ShowText(const char* text) override
    {
        Stopwatch clock(result.textMs);
        if (way_ == Replay::First) {
            ++result.textSends;
            SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
            return;
        }
        size_t added = std::strlen(text + given_);
        pending_.append(text + given_, added);
        given_ += added;
        auto now = Clock::now();
        auto line = now - lastLine_;
        lastLine_ = now;
        if (now - lastShown_ + line >= std::chrono::milliseconds(50))
            ShowPending();
    }
    void CompleteText() override
    {
        if (way_ == Replay::First || given_ == 0)
            return;
        Stopwatch clock(result.completeMs);
        ShowPending();
        SendMessageA(edit_, WM_GETTEXTLENGTH, 0, 0);
        SendMessageA(edit_, EM_SETSEL, 0, 0);
        SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
    }
    bool CancelRequested() override { return false; }
    void UnlockControls() override {}

    Breakdown result;

private:
    using Clock = std::chrono::steady_clock;

    void ShowPending()
    {
        if (pending_.empty())
            return;
        ++result.textSends;
        if (shown_ == 0) {
            SendMessageA(edit_, EM_SETLIMITTEXT, 0, 0);
            SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pending_.c_str()));
        } else {
            SendMessageA(edit_, EM_SETSEL, INT_MAX, INT_MAX);
            SendMessageA(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pending_.c_str()));
        }
        shown_ += pending_.size();
        pending_.clear();
        lastShown_ = Clock::now();
    }

    void Draw(int32_t width, int32_t height)
    {
        bandRows_ = 0;
        HBITMAP bitmap = PictureBitmap(picture_);
        HDC dc = CreateCompatibleDC(buffer_);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        SetStretchBltMode(buffer_, COLORONCOLOR);
        StretchBlt(buffer_, 0, 0, width, height, dc, 0, 0, picture_.width, picture_.height, SRCCOPY);
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }

    Replay way_;
    const PixelImage& picture_;
    HMODULE res_;
    HWND edit_;
    HWND progress_;
    bool halfHeight_;
    HDC buffer_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::vector<uint32_t> band_;
    int32_t bandTop_ = 0;
    int32_t bandRows_ = 0;
    int32_t shownPosition_ = -1;
    size_t given_ = 0;
    size_t shown_ = 0;
    std::string pending_;
    Clock::time_point lastShown_ = Clock::now();
    Clock::time_point lastLine_ = lastShown_;
};

}  // namespace

Breakdown ReplayConversion(Replay way, void (*method)(ConversionHost&), const PixelImage& picture,
                           const std::string& programFolder, bool halfHeight)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND window = CreateWindowExA(0, "STATIC", "replay", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                                  nullptr, instance, nullptr);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", 0x50311144, 5, 55, 500, 386, window, nullptr, instance,
                                nullptr);
    HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 66, 450, 439, 19, window, nullptr,
                                    instance, nullptr);
    HFONT font = CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Fixedsys");
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HMODULE res = LoadLibraryA((programFolder + "\\res.dll").c_str());

    Breakdown result;
    DWORD guiThread = GetCurrentThreadId();
    std::thread worker([&] {
        ReplayHost host(way, picture, res, edit, progress, halfHeight);
        CRLF = "\r\n";
        PictureFile = "C:\\replay.bmp";
        PictureExt = "bmp";
        ResetConversionState();
        host.ReadPictureSize();  // as loading the picture did
        {
            Stopwatch clock(host.result.totalMs);
            method(host);
        }
        result = host.result;
        PostThreadMessageA(guiThread, WM_QUIT, 0, 0);
    });
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    worker.join();
    DestroyWindow(window);
    DeleteObject(font);
    FreeLibrary(res);
    return result;
}
