#include "text_output.h"

#include <string>
#include <vector>

#include "core/runtime_state.h"
#include "drawing_state.h"
#include "event_variables.h"
#include "main_window.h"
#include "services/owned_handles.h"

HFONT TextFont = nullptr;
int32_t CharWidth = 8;
int32_t LineHeight = 14;
int32_t TextLine = 0;
int32_t TextColumn = 0;

namespace {

constexpr COLORREF TextColor = 0x000000;       // palette entry 0
constexpr COLORREF TextBackground = 0xFFFFFF;  // palette entry 15

int32_t Columns()
{
    return CharWidth > 0 ? ClientWidth.load() / CharWidth : 0;
}

int32_t Lines()
{
    return LineHeight > 0 ? ClientHeight.load() / LineHeight : 0;
}

void PrepareForText(HDC dc)
{
    SelectObject(dc, TextFont);
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SetTextColor(dc, TextColor);
    SetBkColor(dc, TextBackground);
}

void DrawAtCursor(HDC dc, const std::string& text)
{
    TextOutA(dc, TextColumn * CharWidth, TextLine * LineHeight, text.data(), static_cast<int>(text.size()));
}

// Moves the window's contents and its controls up by one line; moving the controls waits
// for the GUI thread, so this comes before the window's contexts are locked.
void ScrollWindowOneLine()
{
    ScrollWindowEx(MainWindow.load(), 0, -LineHeight, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE);
}

// Scrolls the backing bitmap to match and blanks the new last line. The bitmap is scrolled
// in itself: copying it back from the window would take in whatever covers the window.
void ScrollBackingOneLine(int32_t columns)
{
    int32_t width = ClientWidth.load();
    int32_t height = ClientHeight.load();
    BitBlt(BackingDC, 0, 0, width, height - LineHeight, BackingDC, 0, LineHeight, SRCCOPY);
    --TextLine;
    std::string blanks(static_cast<size_t>(columns) + 1, ' ');
    DrawAtCursor(WindowDC, blanks);
    DrawAtCursor(BackingDC, blanks);
}

std::string WithoutLineBreaks(const ScriptString& text)
{
    std::string result;
    for (char c : text.View()) {
        if (c != '\n' && c != '\r')
            result.push_back(c);
    }
    return result;
}

}  // namespace

void InitialiseTextOutput()
{
    TextFont = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    MemoryDc measure = CompatibleDc(nullptr);
    Selection font(measure.Get(), TextFont);
    TEXTMETRICA metrics = {};
    if (GetTextMetricsA(measure.Get(), &metrics)) {
        CharWidth = metrics.tmAveCharWidth;
        LineHeight = metrics.tmHeight - 2;
    }
    TextLine = 0;
    TextColumn = 0;
}

void PrintText(ScriptString text, int32_t mode, int32_t wrap, int32_t /*pad*/)
{
    if (!MainWindow.load())
        ClearWindowDefault();
    std::string rest = WithoutLineBreaks(text);
    bool split = true;
    while (split) {
        int32_t columns = Columns();
        // Unsigned, so that a cursor beyond the right edge never wraps; a line without a
        // single cell never wraps either, or the rest would never get shorter.
        uint32_t remaining = static_cast<uint32_t>(columns - TextColumn);
        split = wrap && rest.size() > remaining && (remaining > 0 || TextColumn > 0);
        std::string part = split ? rest.substr(0, remaining) : rest;
        rest = split ? rest.substr(remaining) : std::string();
        if (mode == 0)
            part.push_back(' ');
        bool scroll = TextLine >= Lines();
        if (scroll)
            ScrollWindowOneLine();
        auto surfaces = LockWindowSurfaces();
        int windowState = SaveDC(WindowDC);
        int backingState = SaveDC(BackingDC);
        PrepareForText(WindowDC);
        PrepareForText(BackingDC);
        if (scroll)
            ScrollBackingOneLine(columns);
        DrawAtCursor(WindowDC, part);
        DrawAtCursor(BackingDC, part);
        if (mode == 2 || split) {
            TextColumn = 0;
            ++TextLine;
        } else {
            TextColumn += static_cast<int32_t>(part.size());
        }
        RestoreDC(WindowDC, windowState);
        RestoreDC(BackingDC, backingState);
    }
    ShowDirectDrawing();
}

void PrintLines(const ScriptString& text, int32_t mode)
{
    std::string_view all = text.View();
    if (all.find("\r\n") == std::string_view::npos) {
        PrintText(text, mode, 1, 1);
        return;
    }
    std::vector<std::string_view> pieces;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = all.size();
        if (end > start)
            pieces.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    if (pieces.empty()) {
        PrintText("", 2, 0, 0);
        return;
    }
    int32_t lastLine = 0;
    int32_t lastColumn = 0;
    int32_t lastLength = 0;
    for (std::string_view piece : pieces) {
        lastLine = TextLine;
        lastColumn = TextColumn;
        lastLength = static_cast<int32_t>(piece.size());
        PrintText(ScriptString(piece.data(), static_cast<uint32_t>(piece.size())), 2, 1, 1);
    }
    if (mode == 0 || mode == 1) {
        TextLine = lastLine;
        TextColumn = lastColumn + lastLength;
    }
    if (mode == 0)
        PrintText(" ", 1, 0, 0);
}

void SetTextCursor(int32_t line, int32_t column)
{
    TextLine = line >= 1 ? line - 1 : 0;
    TextColumn = column >= 1 ? column - 1 : 0;
}
