#pragma once
// Colours the glyph of one bitmap-export cell: its black becomes the cell's colour, its
// white stays white.

#include <windows.h>

#include <cstdint>

#include "services/owned_handles.h"

class CellTint {
public:
    // Paints on `target` with its DC brush, selected for the tint's lifetime.
    explicit CellTint(HDC target);

    // The 8 × 15 cell at (x, y) in `colour` (0x00BBGGRR).
    void Paint(int32_t x, int32_t y, uint32_t colour);

private:
    HDC target_;
    Selection brush_;
};
