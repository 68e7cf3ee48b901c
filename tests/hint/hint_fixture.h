#pragma once
// Real windows of the test process as the host's listed windows, the plug-in's
// overlay linked in, and the screen read back pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "hint/hint_popup.h"
#include "hint/hint_wnd_mgr.h"

#include "tests/common/default_settings.h"
#include "tests/common/plugin_windows.h"

// The extent of a text on the screen in a font made by makeFont (deleted after use).
SIZE TextExtentIn(HFONT (*makeFont)(HDC), const char* text);

// Pumps this thread's messages for a while, so painting reaches the screen.
void Settle(DWORD ms = 30);

// A top-level application window of this process, visible, at the given rectangle.
HWND MakeTarget(const RECT& rect, const char* title = "target", HICON smallIcon = nullptr,
                HWND owner = nullptr, DWORD exStyle = 0);

// A top-down 32-bpp bitmap of w x h selected into a memory context compatible with the screen.
class Dib32 {
public:
    Dib32(int w, int h);
    ~Dib32();
    Dib32(const Dib32&) = delete;
    Dib32& operator=(const Dib32&) = delete;
    HDC Dc() const { return m_dc; }
    const unsigned int* Bits() const { return static_cast<const unsigned int*>(m_bits); }

private:
    HDC m_dc;
    HBITMAP m_dib;
    HGDIOBJ m_old;
    void* m_bits = nullptr;
};

// Screen pixels of a rectangle, read with GetDC(NULL) + BitBlt into a 32-bpp DIB.
class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& area);
    COLORREF At(int x, int y) const;  // relative to the area's corner
    bool operator==(const ScreenPixels& other) const { return m_bits == other.m_bits; }
    bool operator!=(const ScreenPixels& other) const { return !(*this == other); }

private:
    int m_width;
    int m_height;
    std::vector<unsigned int> m_bits;
};

std::string ColourText(COLORREF c);


// Each test starts with default settings, an empty host and no hint set, and ends
// with the set torn down and every target destroyed.
class HintOverlay : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Target(const RECT& rect, const char* title = "target", HICON smallIcon = nullptr);
    RECT PopupRect(HWND target) const;  // screen rectangle of the target's hint popup
    HintWnd* Hint(HWND target) const;
    RECT WorkArea() const;

    std::vector<HWND> m_targets;
};
