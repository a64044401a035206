#include "gdi_handles.h"

#include <windows.h>

#include <vector>

int FreeGdiHandles()
{
    std::vector<HBRUSH> made;
    made.reserve(70000);
    while (made.size() < 200000) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush)
            break;
        made.push_back(brush);
    }
    for (HBRUSH brush : made)
        DeleteObject(brush);
    return static_cast<int>(made.size());
}
