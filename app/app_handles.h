#pragma once
// The application's windows, fonts and modules.

#include <windows.h>

extern HMODULE ResModule;
extern HMODULE ViewerModule;
extern HMODULE ImportModule;

extern HWND Toolbar;
extern HWND OutputEdit;
extern HWND ProgressBar;
extern HWND BrightnessSlider;
extern HWND ResolutionLabel;
extern HWND MethodFourPixel;  // "4-Pixel (empfohlen)"
extern HWND MethodExact;      // "Exakt"
extern HWND MethodGreyscale;  // "Graustufen"
extern HWND OptionOriginal;   // "Originalhöhe"
extern HWND OptionHalf;       // "½-Grafikhöhe"

// BM_GETCHECK of a radio button is 1.
bool IsChecked(HWND radio);
