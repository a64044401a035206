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
//   CurrentFont, the brush ClearWindow leaves selected: globals the script makes, selects
//   and deletes by its own commands; a font goes only once no context holds it.
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

template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static T Empty() { return nullptr; }
    static bool Holds(T handle) { return handle != nullptr; }
    static bool Free(T handle) { return DeleteObject(handle) != 0; }
};

struct MemoryDcTraits {
    using Handle = HDC;
    static HDC Empty() { return nullptr; }
    static bool Holds(HDC handle) { return handle != nullptr; }
    static bool Free(HDC handle) { return DeleteDC(handle) != 0; }
};

// CreateFile gives INVALID_HANDLE_VALUE on failure, most others null: neither is closed.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static bool Holds(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static bool Free(HANDLE handle) { return CloseHandle(handle) != 0; }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static HKEY Empty() { return nullptr; }
    static bool Holds(HKEY handle) { return handle != nullptr; }
    static bool Free(HKEY handle) { return RegCloseKey(handle) == ERROR_SUCCESS; }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static HMODULE Empty() { return nullptr; }
    static bool Holds(HMODULE handle) { return handle != nullptr; }
    static bool Free(HMODULE handle) { return FreeLibrary(handle) != 0; }
};

// A bitmap, brush, pen or font.
template <typename T>
using GdiObject = Owned<GdiObjectTraits<T>>;
// A device context of CreateCompatibleDC.
using MemoryDc = Owned<MemoryDcTraits>;
using KernelHandle = Owned<KernelHandleTraits>;
using RegistryKey = Owned<RegistryKeyTraits>;
// A module of LoadLibrary.
using LoadedModule = Owned<ModuleTraits>;

inline MemoryDc CompatibleDc(HDC like)
{
    return MemoryDc(CreateCompatibleDC(like));
}

struct SelectedObject {
    HDC dc;
    HGDIOBJ previous;
};

struct SelectionTraits {
    using Handle = SelectedObject;
    static SelectedObject Empty() { return {nullptr, nullptr}; }
    static bool Holds(SelectedObject handle) { return handle.dc != nullptr && handle.previous != nullptr; }
    static bool Free(SelectedObject handle) { return SelectObject(handle.dc, handle.previous) != nullptr; }
};

struct WindowDcHandle {
    HWND window;
    HDC dc;
};

struct WindowDcTraits {
    using Handle = WindowDcHandle;
    static WindowDcHandle Empty() { return {nullptr, nullptr}; }
    static bool Holds(WindowDcHandle handle) { return handle.dc != nullptr; }
    static bool Free(WindowDcHandle handle) { return ReleaseDC(handle.window, handle.dc) != 0; }
};

// An object selected into a device context; what it replaced is selected back on release.
class Selection : public Owned<SelectionTraits> {
public:
    Selection(HDC dc, HGDIOBJ object) : Owned({dc, dc && object ? SelectObject(dc, object) : nullptr}) {}
};

// A device context of GetDC, handed back with ReleaseDC; a null window is the screen.
class WindowDc : public Owned<WindowDcTraits> {
public:
    explicit WindowDc(HWND window) : Owned({window, GetDC(window)}) {}
    HDC Get() const { return Owned::Get().dc; }
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
