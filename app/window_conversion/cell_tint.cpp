#include "window_conversion/cell_tint.h"

#include "export_layout.h"

namespace {

// Destination OR pattern: white | colour stays white, black | colour becomes the colour.
constexpr DWORD DestinationOrPattern = 0x00FA0089;

}  // namespace

CellTint::CellTint(HDC target) : target_(target), brush_(target, GetStockObject(DC_BRUSH))
{
}

void CellTint::Paint(int32_t x, int32_t y, uint32_t colour)
{
    SetDCBrushColor(target_, colour);
    PatBlt(target_, x, y, CellWidth, CellHeight, DestinationOrPattern);
}
