#pragma once
// Owners of what the system hands out: GDI objects and device contexts, icons, kernel
// handles, memory blocks, loaded modules and COM objects. Whatever is made or obtained is
// given back when its owner's scope ends, whichever way it ends. Declare the object before
// the selection that uses it, so the selection is undone before the object is deleted.
//
// Windows' own DLLs are loaded from the system folder only, by LoadSystemModule
// (support/system_module.h); a ModuleOwner frees one that is not kept.
#include <windows.h>

// A handle that is freed at the end by Free; null is none. The owner lets go before the
// old handle is freed: a paint that runs meanwhile finds none rather than a freed one.
template <typename T, typename Free>
class Owner {
public:
    explicit Owner(T handle = nullptr) : m_handle(handle) {}
    ~Owner() { Reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    // So that a helper can hand back what it made without a raw handle in between.
    Owner(Owner&& other) noexcept : m_handle(other.Release()) {}
    Owner& operator=(Owner&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Frees the one held and keeps the new one.
    void Reset(T handle = nullptr)
    {
        T old = m_handle;
        m_handle = handle;
        if (old) Free()(old);
    }
    // Hands the handle to a new owner (a window property, say).
    T Release()
    {
        T handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    T m_handle;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct FreeGlobalMemory {
    void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
struct FreeLocalMemory {
    void operator()(HLOCAL memory) const { LocalFree(memory); }
};
struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

// A pen, brush, font, bitmap or region, deleted at the end.
template <typename T>
using GdiObject = Owner<T, DeleteGdiObject>;

// An icon that was made or extracted (never a shared one from LoadIcon), destroyed at the end.
using IconOwner = Owner<HICON, DestroyIconHandle>;

// Memory from GlobalAlloc, or from LocalAlloc (as FormatMessage allocates it).
using GlobalMemory = Owner<HGLOBAL, FreeGlobalMemory>;
using LocalMemory = Owner<HLOCAL, FreeLocalMemory>;

// A module loaded for one call rather than kept for the life of the process.
using ModuleOwner = Owner<HMODULE, FreeModule>;

// A file or kernel object handle, closed however its scope ends. Both null and
// INVALID_HANDLE_VALUE are none: the functions that open handles fail with either.
class HandleOwner {
public:
    explicit HandleOwner(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~HandleOwner() { Close(); }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    // The close's own result: a write may be reported as failed only here.
    bool Close()
    {
        if (!Valid()) return true;
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE m_handle;
};

// A COM interface pointer, released at the end. Hand it the pointer only once the call
// that made it succeeded: what a failed call left in its out parameter is no object.
template <typename T>
class ComOwner {
public:
    explicit ComOwner(T* object = nullptr) : m_object(object) {}
    ~ComOwner() { Reset(); }
    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // Releases the one held and keeps the new one.
    void Reset(T* object = nullptr)
    {
        T* old = m_object;
        m_object = object;
        if (old) old->Release();
    }

private:
    T* m_object = nullptr;
};

// An object selected into a device context; the one it replaced goes back at the end.
// A null object selects nothing.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection()
    {
        if (m_old) SelectObject(m_dc, m_old);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A window's device context from GetDC (null: the screen), released at the end.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// A memory device context compatible with another, deleted at the end.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc()
    {
        if (m_dc) DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// BeginPaint to EndPaint as a scope.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : m_hwnd(hwnd) { m_dc = BeginPaint(hwnd, &m_paint); }
    ~PaintDc() { EndPaint(m_hwnd, &m_paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint;
    HDC m_dc;
};

// The drawing state of a device context (clipping, selections, colours), saved now and
// restored at the end, so that a borrowed DC goes back as it came.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
    ~SavedDcState()
    {
        if (m_saved) RestoreDC(m_dc, m_saved);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC m_dc;
    int m_saved;
};
