// Titles the host's ANSI code page cannot hold whole: the hint draws the window's own
// title with the wide text functions in its font and colour; other item texts as before.

#include <tuple>

#include "tests/common/import_patch.h"
#include "tests/hint/hint_fixture.h"

namespace {

// The latest text drawn with TextOutW, with the font and colour it was drawn in.
struct drawn_t { std::wstring text; LOGFONTA font; COLORREF colour; } g_drawn;
decltype(&TextOutW) g_textOutW;
BOOL WINAPI DrawnWide(HDC dc, int x, int y, LPCWSTR text, int n)
{
    g_drawn = drawn_t{std::wstring(text, n), {}, GetTextColor(dc)};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof g_drawn.font, &g_drawn.font);
    return g_textOutW(dc, x, y, text, n);
}

}  // namespace

TEST_F(HintOverlay, TitleTheCodePageLostIsDrawnWideAndAnyOtherItemTextAsItIs)
{
    ImportPatch patch(GetModuleHandleA(nullptr), "gdi32.dll", "TextOutW", reinterpret_cast<void*>(DrawnWide));
    g_textOutW = reinterpret_cast<decltype(g_textOutW)>(patch.Original());
    HintSettings.IsShowIcon = 0;
    HintSettings.FontColor = RGB(0, 0, 160);
    // item: null for what the host reads of the title (GetWindowTextA). wide: drawn wide, else as now.
    struct Case { const char* name; const wchar_t* title; const char* item; int contents; bool wide; std::wstring shown; } cases[] = {
        {"an emoji (a pair) and its variation selector", L"\U0001F441\uFE0F Eye", nullptr, 0, true, L"\U0001F441\uFE0F"},
        {"Hangul cut short by the host, whole title", L"\uD55C\uAD6D\uC5B4 news", "??? n", 1, true, L"\uD55C\uAD6D\uC5B4 news"},
        {"E acute: the code page's best fit \"E\", no '?'", L"\u00C9cole", nullptr, 0, false, L"E"},
        {"an item text that is not the title", L"\U0001F600 Music", "?? Video", 1, false, L"?? Video"},
        {"a '?' of the title itself", L"What?", nullptr, 1, false, L"What?"},
    };
    for (const Case& c : cases) {
        Restart();
        HintSettings.Contents = c.contents;
        HWND target = Target(RECT{200, 200, 500, 400});
        // A Unicode window, as those with such titles are: it keeps its title whole.
        SetWindowLongPtrW(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
        SetWindowTextW(target, c.title);
        char read[256] = {};
        GetWindowTextA(target, read, sizeof read);
        AddListItem(target, c.item ? c.item : read);
        g_drawn = drawn_t{};
        ShowHints();
        EXPECT_EQ(std::make_tuple(c.wide ? c.shown : L"", std::string(c.wide ? HintSettings.FontName : ""), c.wide ? -13L : 0L,
                                  c.wide ? HintSettings.FontColor : 0),
                  std::make_tuple(g_drawn.text, std::string(g_drawn.font.lfFaceName), g_drawn.font.lfHeight, g_drawn.colour))
            << c.name << ": drawn wide, in the hint's face, height and colour";
        WindowDc dc(nullptr);
        GdiObject<HFONT> font = MakeHintFont(kHintDesignDpi);
        Selection selected(dc.Get(), font.Get());
        SIZE extent = {};
        GetTextExtentPoint32W(dc.Get(), c.shown.c_str(), static_cast<int>(c.shown.size()), &extent);
        EXPECT_EQ(extent.cx + 10, PopupRect(target).right - PopupRect(target).left) << c.name << ": measured as shown";
    }
}
