#pragma once
// Calls of exported DLL functions by name, executed on the GUI thread through the hidden
// command window, so that functions which make or use windows run where the windows live.

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "values/script_string.h"

constexpr int32_t DllArgCount = 32;

// The arguments of the current call in entries 0 to n-1; written by the program thread
// before the request, read by the GUI thread during it. Pointer-sized, so that handles and
// addresses pass whole on 64-bit.
extern INT_PTR DllArgs[DllArgCount];

// The record of ReqCallFunction.
struct DllCallRequest {
    FARPROC address;
    int32_t count;
    INT_PTR result;  // out
};

// GUI thread: calls the function with DllArgs entries 0 to count-1 (entry 0 first).
void ServeCallFunction(DllCallRequest& request);

// Looks the module up by its file-name part, else loads it (appending ".DLL" by the
// fourth-last-character rule) and frees it after the call. Errors 247 (DLL not loadable)
// and 248 (no such export) return -1 when the error level lets them return. The result is
// the function's whole return register: a function that returns a 32-bit int on 64-bit
// leaves the upper half undefined, so such callers keep the low 32 bits.
INT_PTR CallDllFunction(const ScriptString& dll, const ScriptString& function, const INT_PTR* args, int32_t count);
INT_PTR CallDllFunction(const ScriptString& dll, const ScriptString& function,
                        std::initializer_list<INT_PTR> args = {});

// LoadLibraryA and FreeLibrary of KERNEL32, called like any other DLL function.
HMODULE LoadDll(const ScriptString& name);
INT_PTR FreeDll(HMODULE module);
