#pragma once
// Owners of GDI, kernel, registry and module handles. Each releases its handle exactly once,
// when it goes or on Close(); it can be moved but not copied, so no copy can release a handle
// a second time. Owners made in one scope are released in reverse order: declare the bitmap,
// then its memory DC, then the Selection, and the bitmap is selected out before either goes.
//
// Handles deliberately left unowned, because the design hands them to another thread or keeps
// them in a global the script owns:
// - WindowDC, BackingDC and BackingBitmap (windows/drawing_state.h): made and released by the
//   main window's procedure on the GUI thread, drawn through by the program thread.
// - The draw buffer (draw_target.h), the fonts of SelectTextFont (text_fonts.cpp) and
//   CurrentFont, the brush ClearWindow leaves selected, the popup menus of MenuTable:
//   globals the script makes, selects and deletes by its own commands; a font goes only
//   once no context holds it.
// - Another window's DC of BeginDraw, the toolbar's image lists, the modules of LoadDll and
//   the pictures of image_import.cpp: made and released through the script's own DLL calls,
//   which run on the GUI thread.
// - ProgramThread, RequestDone and InputArrived (core/runtime_state.h): shared by both
//   threads and closed at shutdown, after the thread that uses them has ended.
// - The file slots (file_slots.cpp): opened and closed by the script's own commands.

#include <windows.h>

#include <utility>

template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Close(); }
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::Holds(handle_); }
    // Gives the handle up without releasing it.
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    // Releases the handle now; false when the release failed (true when there was none).
    bool Close()
    {
        Handle handle = Release();
        return !Traits::Holds(handle) || Traits::Free(handle);
    }

private:
    Handle handle_ = Traits::Empty();
};

inline bool DeleteGdiObject(HGDIOBJ object)
{
    return DeleteObject(object) != 0;
}
inline bool DeleteMemoryDc(HDC dc)
{
    return DeleteDC(dc) != 0;
}
inline bool CloseKernelHandle(HANDLE handle)
{
    return CloseHandle(handle) != 0;
}
inline bool CloseRegistryKey(HKEY key)
{
    return RegCloseKey(key) == ERROR_SUCCESS;
}
inline bool UnloadModule(HMODULE module)
{
    return FreeLibrary(module) != 0;
}

// A handle that is empty when null.
template <typename T, auto Release>
struct NullableTraits {
    using Handle = T;
    static T Empty() { return nullptr; }
    static bool Holds(T handle) { return handle != nullptr; }
    static bool Free(T handle) { return Release(handle); }
};

// CreateFile gives INVALID_HANDLE_VALUE on failure, most others null: neither is closed.
struct KernelHandleTraits : NullableTraits<HANDLE, CloseKernelHandle> {
    static bool Holds(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
};

// A bitmap, brush, pen or font.
template <typename T>
using GdiObject = Owned<NullableTraits<T, DeleteGdiObject>>;
// A device context of CreateCompatibleDC.
using MemoryDc = Owned<NullableTraits<HDC, DeleteMemoryDc>>;
using KernelHandle = Owned<KernelHandleTraits>;
using RegistryKey = Owned<NullableTraits<HKEY, CloseRegistryKey>>;
// A module of LoadLibrary.
using LoadedModule = Owned<NullableTraits<HMODULE, UnloadModule>>;

inline MemoryDc CompatibleDc(HDC like)
{
    return MemoryDc(CreateCompatibleDC(like));
}

inline bool SelectBack(HDC dc, HGDIOBJ previous)
{
    return SelectObject(dc, previous) != nullptr;
}
inline bool ReleaseWindowDc(HWND window, HDC dc)
{
    return ReleaseDC(window, dc) != 0;
}

// A handle of two parts, both needed for the release; empty when the second is null.
template <typename First, typename Second, auto Release>
struct PairTraits {
    struct Handle {
        First first;
        Second second;
    };
    static Handle Empty() { return {nullptr, nullptr}; }
    static bool Holds(Handle handle) { return handle.second != nullptr; }
    static bool Free(Handle handle) { return Release(handle.first, handle.second); }
};

// An object selected into a device context; what it replaced is selected back on release.
class Selection : public Owned<PairTraits<HDC, HGDIOBJ, SelectBack>> {
public:
    Selection(HDC dc, HGDIOBJ object) : Owned({dc, dc && object ? SelectObject(dc, object) : nullptr}) {}
};

// A device context of GetDC, handed back with ReleaseDC; a null window is the screen.
class WindowDc : public Owned<PairTraits<HWND, HDC, ReleaseWindowDc>> {
public:
    explicit WindowDc(HWND window) : Owned({window, GetDC(window)}) {}
    HDC Get() const { return Owned::Get().second; }
};

// A bitmap selected into a memory device context of its own, compatible with `like`; both
// are released, the bitmap selected out first. A bitmap that could not be made (null) gives
// an owner that is false and selects nothing.
class MemoryBitmap {
public:
    MemoryBitmap(HDC like, HBITMAP bitmap) : bitmap_(bitmap), dc_(CompatibleDc(like)), selection_(dc_.Get(), bitmap) {}

    explicit operator bool() const { return bitmap_ && dc_; }
    HDC Dc() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bitmap_.Get(); }

private:
    GdiObject<HBITMAP> bitmap_;
    MemoryDc dc_;
    Selection selection_;
};
