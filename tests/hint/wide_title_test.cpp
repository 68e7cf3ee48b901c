// Titles the host's ANSI code page cannot hold whole: the window's own title drawn wide.

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
    HintSettings.FontColor = RGB(0, 0, 160);
    // item: as the host reads the title (GetWindowTextA), or not. wide: empty when the item text is drawn.
    struct Case { const char* name; const wchar_t* title; const char* item; int contents; std::wstring wide; } cases[] = {
        {"an emoji (a pair) and its variation selector", L"\U0001F441\uFE0F Eye", "??? Eye", 0, L"\U0001F441\uFE0F"},
        {"Hangul cut short by the host, whole title", L"\uD55C\uAD6D\uC5B4 news", "??? n", 1, L"\uD55C\uAD6D\uC5B4 news"},
        {"E acute: the code page's best fit \"E\", no '?'", L"\u00C9cole", "Ecole", 0, L""},
        {"an item text that is not the title", L"\U0001F600 Music", "?? Video", 1, L""},
        {"a '?' of the title itself", L"What?", "What?", 1, L""},
    };
    for (const Case& c : cases) {
        Restart();
        HintSettings.Contents = c.contents;
        // A Unicode window, as those with such titles are: it keeps its title whole.
        HWND target = CreateWindowExW(0, L"STATIC", c.title, WS_POPUP | WS_VISIBLE, 200, 200, 300, 200, nullptr,
                                      nullptr, nullptr, nullptr);
        m_targets.push_back(target);
        AddListItem(target, c.item);
        g_drawn = drawn_t{};
        ShowHints();
        bool wide = !c.wide.empty();
        EXPECT_EQ(std::make_tuple(c.wide, std::string(wide ? HintSettings.FontName : ""), wide ? -13L : 0L,
                                  wide ? HintSettings.FontColor : 0),
                  std::make_tuple(g_drawn.text, std::string(g_drawn.font.lfFaceName), g_drawn.font.lfHeight, g_drawn.colour))
            << c.name << ": drawn wide, in the hint's face, height and colour";
    }
}
