#include "text_font_state.h"

HFONT CurrentFont = nullptr;
int32_t TextAngle = 0;
int32_t TextCharSet = 0;
