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
    : target_(target), atlas_(target, CreateCompatibleBitmap(target, CellWidth * 256, CellHeight))
{
}

void GlyphAtlas::Draw(int32_t code, int32_t x, int32_t y)
{
    auto& slot = slots_[static_cast<uint8_t>(code)];
    if (slot == Slot::NotLoaded)
        slot = Load(code) ? Slot::Loaded : Slot::NotCached;
    if (slot == Slot::Loaded)
        BitBlt(target_, x, y, CellWidth, CellHeight, atlas_.Dc(), CellWidth * code, 0, SRCCOPY);
    else
        DrawBitmapResource(ResModule, GlyphName(code), x, y, 0);
}

bool GlyphAtlas::Load(int32_t code)
{
    if (!atlas_)
        return false;
    GdiObject<HBITMAP> glyph(
        static_cast<HBITMAP>(LoadImageA(ResModule, GlyphName(code).Text(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!glyph)
        return false;
    BITMAP info{};
    GetObjectA(glyph.Get(), sizeof info, &info);
    if (info.bmWidth != CellWidth || info.bmHeight != CellHeight)
        return false;
    MemoryDc source = CompatibleDc(target_);
    Selection selected(source.Get(), glyph.Get());
    BitBlt(atlas_.Dc(), CellWidth * code, 0, CellWidth, CellHeight, source.Get(), 0, 0, SRCCOPY);
    return true;
}
