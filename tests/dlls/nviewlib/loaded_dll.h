#pragma once
// A DLL under test, loaded for one test and freed after it, and its exports by their types.

#include <windows.h>

class LoadedDll {
public:
    explicit LoadedDll(const char* path) : module_(LoadLibraryA(path)) {}
    ~LoadedDll()
    {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    LoadedDll(const LoadedDll&) = delete;
    LoadedDll& operator=(const LoadedDll&) = delete;

    bool Loaded() const { return module_ != nullptr; }

    // GetProcAddress gives a generic function pointer; the export's real type is known here.
    template <class Function>
    Function Export(const char* name) const
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};
