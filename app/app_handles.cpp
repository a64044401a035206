#include "app_handles.h"

HMODULE ResModule = nullptr;
HMODULE ViewerModule = nullptr;
HMODULE ImportModule = nullptr;

HWND Toolbar = nullptr;
HWND OutputEdit = nullptr;
HWND ProgressBar = nullptr;
HWND BrightnessSlider = nullptr;
HWND ResolutionLabel = nullptr;
HWND MethodFourPixel = nullptr;
HWND MethodExact = nullptr;
HWND MethodGreyscale = nullptr;
HWND OptionOriginal = nullptr;
HWND OptionHalf = nullptr;

bool IsChecked(HWND radio)
{
    return SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
