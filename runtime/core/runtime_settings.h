#pragma once
// The runtime's keyword settings and the error level.

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>

#include "values/script_string.h"

extern std::atomic<int32_t> MessageMode;  // read by the window procedures
extern INT_PTR PrinterDC;
extern int32_t SqlWidth;
extern INT_PTR SqlConnection;

// The random generator's state (MT19937); nothing in this program draws from it.
constexpr int RandomStateWords = 624;
extern std::array<uint32_t, RandomStateWords> RandomState;
extern int32_t RandomPosition;

// Restores the start-up defaults of the settings table.
void ResetRuntimeSettings();

// Acts on the first keyword that matches (any letter case) and returns the setting's
// previous value; 0 for "randseed" and for unknown keywords, which change nothing.
INT_PTR SetOption(const ScriptString& keyword, INT_PTR value);

// -2 switches fast mode on, the current level switches it off again (both leave the level);
// any other value becomes the error level.
void SetErrorLevel(int32_t value);

// Fills the generator's state as the 1998 reference sgenrand does (multiplier 69069).
void SeedRandomGenerator(uint32_t seed);
