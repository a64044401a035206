#include "text_fonts.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "draw_target.h"
#include "values/error_report.h"
#include "windows/drawing_state.h"
#include "windows/text_font_state.h"

namespace {

std::vector<HFONT> MadeFonts;  // made by SelectTextFont and not deleted yet

bool MadeHere(HGDIOBJ font)
{
    return std::find(MadeFonts.begin(), MadeFonts.end(), font) != MadeFonts.end();
}

bool InUse(HFONT font)
{
    if (font == CurrentFont || std::find(ControlFonts.begin(), ControlFonts.end(), font) != ControlFonts.end())
        return true;
    for (HDC dc : {DrawTarget, MirrorTarget, WindowDC, BackingDC, DrawBufferDc}) {
        if (dc && GetCurrentObject(dc, OBJ_FONT) == font)
            return true;
    }
    return false;
}

}  // namespace

void SelectTextFont(const ScriptString& face, int32_t height, int32_t width, int32_t bold, int32_t italic,
                    int32_t underline)
{
    if (!DrawTarget) {
        RaiseError(ErrorNeedsAWindow);
        return;
    }
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = ANSI_CHARSET;
    lstrcpynA(font.lfFaceName, face.Text(), LF_FACESIZE);
    HFONT made = CreateFontIndirectA(&font);
    if (!made)
        return;
    CurrentFont = made;
    MadeFonts.push_back(made);
    auto surfaces = LockWindowSurfaces();
    HGDIOBJ replaced = SelectObject(DrawTarget, made);
    if (MirrorsDrawing())
        SelectObject(MirrorTarget, made);
    // A font that is not one of ours (the context's own) is deleted as it is replaced;
    // ours go once nothing holds them.
    if (!MadeHere(replaced))
        DeleteObject(replaced);
    ReleaseUnusedFonts();
}

void ReleaseUnusedFonts()
{
    auto surfaces = LockWindowSurfaces();
    std::erase_if(MadeFonts, [](HFONT font) {
        if (InUse(font))
            return false;
        DeleteObject(font);
        return true;
    });
}

void DeleteTextFonts()
{
    for (HFONT font : MadeFonts)
        DeleteObject(font);
    MadeFonts.clear();
    ControlFonts.clear();
    CurrentFont = nullptr;
}
