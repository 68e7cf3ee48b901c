#pragma once
// Owners for GDI objects and device contexts: whatever is made or obtained is given
// back when its owner's scope ends, whichever way it ends. Declare the object before
// the selection that uses it, so the selection is undone before the object is deleted.
#include <windows.h>

// A handle that is freed at the end by Free. The owner lets go before the old handle is
// freed: a paint that runs meanwhile finds none rather than a freed one.
template <typename T, typename Free>
class HandleOwner {
public:
    explicit HandleOwner(T handle = nullptr) : m_handle(handle) {}
    ~HandleOwner() { Reset(); }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    // So that a helper can hand back what it made without a raw handle in between.
    HandleOwner(HandleOwner&& other) noexcept : m_handle(other.Release()) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept
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

// A pen, brush, font, bitmap or region, deleted at the end.
template <typename T>
using GdiObject = HandleOwner<T, DeleteGdiObject>;

// An icon that was made or extracted (never a shared one from LoadIcon), destroyed at the end.
using IconOwner = HandleOwner<HICON, DestroyIconHandle>;

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
