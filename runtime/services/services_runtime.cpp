#include "services_runtime.h"

#include "bitmap_drawing.h"
#include "draw_target.h"
#include "file_slots.h"
#include "text_fonts.h"

void InitialiseServices()
{
    DeleteDrawBuffer();
    DrawWindow = DrawBufferWindow;
    BitmapWidth = 0;
    BitmapHeight = 0;
    FileMode = FileModeReadWrite;
}

void CleanupServices()
{
    DeleteDrawBuffer();
    DeleteTextFonts();
    ResetFileSlots();
}
