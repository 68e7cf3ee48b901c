#pragma once
// A GDI object made for one drawing: selected into a device context, put back and
// deleted when the scope ends, whatever way it ends.
#include <windows.h>

template <typename T>
class ScopedSelect {
public:
    ScopedSelect(HDC dc, T object) : m_dc(dc), m_object(object)
    {
        m_old = object ? SelectObject(dc, object) : nullptr;
    }
    ~ScopedSelect()
    {
        if (m_old) SelectObject(m_dc, m_old);
        if (m_object) DeleteObject(m_object);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    T Get() const { return m_object; }

private:
    HDC m_dc;
    T m_object;
    HGDIOBJ m_old;
};
