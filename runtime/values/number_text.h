#pragma once
// Numbers as text: decimal integers and fixed-point numbers with DecimalPlaces decimals.

#include <cstdint>

#include "script_string.h"

extern int32_t DecimalPlaces;

void SetDecimals(int32_t places);
// The decimal separator recorded once at start-up from the process locale ("." in "English").
void SetDecimalSeparator(const char* separator);
ScriptString IntToStr(int32_t value);
ScriptString FloatToStr(double value);
