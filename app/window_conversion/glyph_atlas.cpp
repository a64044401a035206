#include "window_conversion/glyph_atlas.h"

#include "app_handles.h"
#include "export_layout.h"
#include "services/bitmap_drawing.h"
#include "values/number_text.h"
#include "values/string_functions.h"

namespace {

ScriptString GlyphName(int32_t code)
{
    return ScriptString("fixedsys") + IntToStr(code);
}

}  // namespace

GlyphAtlas::GlyphAtlas(HDC target)
    : target_(target),
      dc_(CreateCompatibleDC(target)),
      bitmap_(CreateCompatibleBitmap(target, CellWidth * 256, CellHeight)),
      previous_(SelectObject(dc_, bitmap_))
{
}

GlyphAtlas::~GlyphAtlas()
{
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void GlyphAtlas::Draw(int32_t code, int32_t x, int32_t y)
{
    auto& slot = slots_[static_cast<uint8_t>(code)];
    if (slot == Slot::NotLoaded)
        slot = Load(code) ? Slot::Loaded : Slot::NotCached;
    if (slot == Slot::Loaded)
        BitBlt(target_, x, y, CellWidth, CellHeight, dc_, CellWidth * code, 0, SRCCOPY);
    else
        DrawBitmapResource(ResModule, GlyphName(code), x, y, 0);
}

bool GlyphAtlas::Load(int32_t code)
{
    if (!dc_ || !bitmap_)
        return false;
    auto glyph = static_cast<HBITMAP>(LoadImageA(ResModule, GlyphName(code).Text(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!glyph)
        return false;
    BITMAP info{};
    GetObjectA(glyph, sizeof info, &info);
    bool cellSized = info.bmWidth == CellWidth && info.bmHeight == CellHeight;
    if (cellSized) {
        HDC source = CreateCompatibleDC(target_);
        HGDIOBJ previous = SelectObject(source, glyph);
        BitBlt(dc_, CellWidth * code, 0, CellWidth, CellHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    DeleteObject(glyph);
    return cellSized;
}
