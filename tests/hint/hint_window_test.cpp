// The popup on the screen: its pixels in both colour sets and with a bitmap, a
// repaint with the current text, and the click that brings its window to the front.

#include <tuple>

#include "tests/common/import_patch.h"

#include "tests/hint/hint_fixture.h"

namespace {

BOOL WINAPI FailedStretch(HDC, int, int, int, int, HDC, int, int, int, int, DWORD) { return FALSE; }

int g_pictureReads;
decltype(&LoadImageW) g_loadImage;
HANDLE WINAPI CountedLoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int w, int h, UINT flags)
{
    ++g_pictureReads;
    return g_loadImage(instance, name, type, w, h, flags);
}

// Pixels within 3 of the popup's edge that lie inside its window region but show none of
// the allowed colours; the first one named in *o_first.
int RingPixelsOtherThan(const ScreenPixels& px, HWND popup, std::vector<COLORREF> allowed, std::string* o_first)
{
    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(ERROR, GetWindowRgn(popup, region.Get())) << "the popup has a window region";
    int wrong = 0;
    for (int y = 0; y < px.Height(); ++y) {
        for (int x = 0; x < px.Width(); ++x) {
            bool ring = x < 3 || y < 3 || x >= px.Width() - 3 || y >= px.Height() - 3;
            if (!ring || !PtInRegion(region.Get(), x, y)) continue;
            if (std::find(allowed.begin(), allowed.end(), px.At(x, y)) != allowed.end()) continue;
            if (wrong++ == 0) *o_first = std::to_string(x) + ", " + std::to_string(y) + ": " + ColourText(px.At(x, y));
        }
    }
    return wrong;
}

class HintWindow : public HintOverlay {
protected:
    void SetUp() override
    {
        HintOverlay::SetUp();
        HintSettings.Width = 100;  // room right of the text to read the background
        HintSettings.IsNoOver = 0;
    }

    // Shows the one listed window's hint and reads its pixels (3 pixels in from the edge).
    ScreenPixels ShowAndRead(HWND target, int inset = 0)
    {
        ShowHints();
        const RECT r = PopupRect(target);
        EXPECT_TRUE(WaitForScreen(r)) << "the hint never settled on the screen";
        return ScreenPixels(RECT{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset});
    }

    void ExpectBox(HWND target, COLORREF border, COLORREF background, const std::string& name)
    {
        ScreenPixels px = ShowAndRead(target);
        const int h = px.Height(), w = px.Width();
        const POINT at[] = {{90, h / 2}, {60, h - 4}, {50, 0}, {0, h / 2}, {50, h - 1}, {w - 1, h / 2}};
        std::string want, got;
        for (int i = 0; i < 6; ++i)
            want += ColourText(i < 2 ? background : border) + " ", got += ColourText(px.At(at[i].x, at[i].y)) + " ";
        EXPECT_EQ(want, got) << name << ": background twice, top, left, bottom, right border";
        std::string first;
        EXPECT_EQ(0, RingPixelsOtherThan(px, Hint(target)->m_hwnd, {border, background}, &first))
            << name << ": unpainted edge pixels inside the shape, first at " << first;
        HideHints();
    }
};

}  // namespace

TEST_F(HintWindow, BoxIconAndTextWhereTheyBelong)
{
    HintSettings.Width = 0;
    HintSettings.Contents = 1;
    HintSettings.FontSize = 14;
    HintSettings.FontStyle = font_style_t{1, 1, 0, 0};
    HintSettings.FontColor = RGB(0, 0, 160);
    const COLORREF background = HintSettings.NmlBgColor;
    const char* text = "Wg|";
    HWND withIcon = Listed(RECT{200, 200, 500, 400}, text, LoadIconA(nullptr, IDI_WARNING));
    HWND bare = Listed(RECT{600, 200, 900, 400}, text);
    const SIZE extent = HintTextExtent(text);
    std::vector<COLORREF> textPixels;  // right of the text's origin, the same in every case
    struct Case { HWND target; int showIcon; } cases[] = {{withIcon, 1}, {withIcon, 0}, {bare, 1}};
    for (const Case& c : cases) {
        HintSettings.IsShowIcon = c.showIcon;
        SCOPED_TRACE(std::string(c.target == bare ? "window without icon" : "window with icon") + ", IsShowIcon " +
                     std::to_string(c.showIcon));
        ScreenPixels px = ShowAndRead(c.target);
        const int w = px.Width(), h = px.Height();
        EXPECT_EQ(extent.cx + 10 + (c.showIcon ? 18 : 0), w);
        EXPECT_EQ(extent.cy + 10, h);
        // Inside the border: the icon's square, the text from (23, 5) or (5, 5), else the fill.
        const int textX = c.showIcon ? 23 : 5, iconY = (h - 16) / 2;
        int iconInk = 0, textInk = 0, fillWrong = 0;
        std::vector<COLORREF> right;
        for (int y = 3; y < h - 3; ++y) {
            for (int x = 3; x < w - 3; ++x) {
                COLORREF p = px.At(x, y);
                bool inIcon = c.showIcon && x >= 5 && x < 21 && y >= iconY && y < iconY + 16;
                if (x >= textX) right.push_back(p);
                if (x >= textX && y >= 5) textInk += p == HintSettings.FontColor;
                else if (inIcon) iconInk += p != background;
                else fillWrong += p != background;
            }
        }
        EXPECT_EQ(0, fillWrong) << "pixels of neither the fill, the icon nor the text";
        bool iconShown = c.target == withIcon && c.showIcon;
        EXPECT_TRUE(iconShown ? iconInk > 64 : iconInk == 0) << iconInk << " pixels unlike the fill in the icon's square";
        EXPECT_GT(textInk, 10) << "text in the font colour";
        if (textPixels.empty()) textPixels = right;
        EXPECT_TRUE(textPixels == right) << "the text drawn alike from its origin";
        HideHints();
    }
}

TEST_F(HintWindow, BoxInBothColourSets)
{
    HWND target = Listed(RECT{200, 200, 500, 400}, "Box");
    ExpectBox(target, RGB(247, 247, 0), RGB(255, 255, 128), "normal window, default colours");

    ShowWindow(target, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(target));
    ExpectBox(target, RGB(212, 212, 212), RGB(255, 255, 255), "minimized window, default colours");

    // Only the low 24 bits of a stored colour count.
    ShowWindow(target, SW_RESTORE);
    HintSettings.NmlBorderColor = 0xFF0000FF;
    HintSettings.NmlBgColor = 0x7700FF00;
    ExpectBox(target, RGB(255, 0, 0), RGB(0, 255, 0), "normal window, colours with a high byte");
}

TEST_F(HintWindow, StretchedBitmapByWindowStateAndColourBoxWhenUnloadable)
{
    TempDir dir;
    std::string normal = dir.File("normal.bmp"), iconic = dir.File("iconic.bmp"), broken = dir.File("broken.bmp");
    WriteBitmapFile(normal, {RGB(255, 0, 0), RGB(0, 0, 255)});
    WriteBitmapFile(iconic, {RGB(0, 255, 0), RGB(0, 255, 0)});
    WriteWholeFile(broken, "not a bitmap at all");
    HintSettings.IsUseBmp = 1;
    CopyText(HintSettings.BgNormal, normal.c_str());
    CopyText(HintSettings.BgIconic, iconic.c_str());
    HWND target = Listed(RECT{200, 200, 500, 400}, "Bmp");

    ScreenPixels px = ShowAndRead(target);
    int h = px.Height();
    std::string first;
    EXPECT_EQ(ColourText(RGB(255, 0, 0)), ColourText(px.At(2, h - 2))) << "left half of the stretched bitmap";
    EXPECT_NE(ColourText(RGB(255, 0, 0)), ColourText(px.At(0, 0))) << "the corner outside the shape shows the desktop";
    EXPECT_EQ(ColourText(RGB(0, 0, 255)), ColourText(px.At(97, h - 2))) << "right half of the stretched bitmap";
    EXPECT_EQ(ColourText(RGB(0, 0, 255)), ColourText(px.At(97, h - 1))) << "the bitmap reaches the last row";
    EXPECT_EQ(0, RingPixelsOtherThan(px, Hint(target)->m_hwnd, {RGB(255, 0, 0), RGB(0, 0, 255)}, &first))
        << "the bitmap fills the shape, first gap at " << first;
    DeleteFileA(normal.c_str());  // read as the hints showed, kept while they are shown
    EXPECT_EQ(ColourText(RGB(255, 0, 0)), ColourText(ShowAndRead(target).At(2, h - 2))) << "repainted, the file gone";
    HideHints();

    ShowWindow(target, SW_MINIMIZE);
    px = ShowAndRead(target);
    EXPECT_EQ(ColourText(RGB(0, 255, 0)), ColourText(px.At(90, h - 2))) << "minimized: the other bitmap";
    EXPECT_EQ(0, RingPixelsOtherThan(px, Hint(target)->m_hwnd, {RGB(0, 255, 0)}, &first))
        << "minimized: the bitmap fills the shape, first gap at " << first;
    HideHints();
    ShowWindow(target, SW_RESTORE);

    for (const std::string& path : {dir.File("missing.bmp"), broken}) {
        CopyText(HintSettings.BgNormal, path.c_str());
        ExpectBox(target, RGB(247, 247, 0), RGB(255, 255, 128), "unloadable bitmap " + path);
    }
    ImportPatch stretch(GetModuleHandleA(nullptr), "GDI32.dll", "StretchBlt", reinterpret_cast<void*>(FailedStretch));
    CopyText(HintSettings.BgNormal, iconic.c_str());
    ExpectBox(target, RGB(247, 247, 0), RGB(255, 255, 128), "a bitmap that cannot be stretched");
}

// A picture on a share out of reach would hold up every showing that reads it.
TEST_F(HintWindow, PicturesAreReadAtTheFirstShowingOnly)
{
    TempDir dir;
    const std::string picture = dir.File("picture.bmp");
    WriteBitmapFile(picture, {RGB(255, 0, 0), RGB(0, 0, 255)});
    HintSettings.IsUseBmp = 1;
    CopyText(HintSettings.BgNormal, picture.c_str());
    CopyText(HintSettings.BgIconic, picture.c_str());
    Listed(RECT{200, 200, 500, 400}, "Bmp");
    ImportPatch count(GetModuleHandleA(nullptr), "USER32.dll", "LoadImageW", reinterpret_cast<void*>(CountedLoadImage));
    g_loadImage = reinterpret_cast<decltype(g_loadImage)>(count.Original());
    g_pictureReads = 0;
    for (int showing = 0; showing < 10; ++showing) ShowHints(), HideHints();
    EXPECT_EQ(2, g_pictureReads) << "ten showings: one read of each window state's picture";
}

// The settings changed outside the set (the dialog's OK, a file read late): the set reads
// its pictures afresh, whether its hints are on the screen or not.
TEST_F(HintWindow, SettingsChangedReadsThePicturesAfresh)
{
    const COLORREF kOld = RGB(255, 0, 0), kNew = RGB(0, 0, 255);
    const struct { const char* name; bool shown, samePath; } rows[] = {
        {"a new path while the hints are shown", true, false},
        {"the same path saved again while they are shown", true, true},
        {"the same path saved again while they are hidden", false, true},
    };
    for (const auto& row : rows) {
        TempDir dir;
        const std::string old = dir.File("old.bmp"), fresh = row.samePath ? old : dir.File("new.bmp");
        WriteBitmapFile(old, {kOld});
        HintSettings.IsUseBmp = 1;
        CopyText(HintSettings.BgNormal, old.c_str());
        HWND target = Listed(RECT{200, 200, 500, 400}, "Bmp");
        ShowAndRead(target);
        if (!row.shown) HideHints();

        WriteBitmapFile(fresh, {kNew});
        CopyText(HintSettings.BgNormal, fresh.c_str());
        HintSettingsChanged();
        // Shown, the hint is only painted again: a showing would read a new path anyway.
        const RECT r = PopupRect(target);
        if (row.shown) {
            InvalidateRect(Hint(target)->m_hwnd, nullptr, FALSE);
            EXPECT_TRUE(WaitForScreen(r)) << row.name;
        }
        ScreenPixels px = row.shown ? ScreenPixels(r) : ShowAndRead(target);
        EXPECT_EQ(ColourText(kNew), ColourText(px.At(2, px.Height() / 2))) << row.name;
        Restart();
    }
}

// A click on a hint and the toggle bring the window forward alike, and the set raises it
// again once the hints are hidden.
TEST_F(HintWindow, BringRestoresFocusesAndRaisesOnceHidden)
{
    const struct { const char* name; bool minimized; std::function<void(HWND)> bring; } rows[] = {
        {"a click on a minimized window's hint", true, [this](HWND t) { SendMessageA(Hint(t)->m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
        {"a click on a shown window's hint", false, [this](HWND t) { SendMessageA(Hint(t)->m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
        {"the toggle's window", false, [](HWND t) { BringListedWindowToFront(t); }},
    };
    for (const auto& row : rows) {
        HWND target = Listed(RECT{200, 200, 500, 400}, "Target");
        HWND other = Listed(RECT{300, 300, 700, 600}, "Other");
        if (row.minimized) ShowWindow(target, SW_MINIMIZE);
        SetForegroundWindow(other);
        ShowHints();
        row.bring(target);
        EXPECT_TRUE(PumpUntil([target] { return !IsIconic(target) && GetForegroundWindow() == target; })) << row.name;
        // Put under another window meanwhile, it is raised when the hints go.
        SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        HideHints();
        EXPECT_TRUE(PumpUntil([target, other] {
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
                if (w == target || w == other) return w == target;
            return false;
        })) << row.name << ": raised over the other window once the hints are hidden";
        Restart();
    }
}

TEST_F(HintWindow, ShowingRepaintsWithTheCurrentText)
{
    HintSettings.Contents = 1;
    HWND target = Listed(RECT{200, 200, 500, 400}, "IIII");
    ScreenPixels before = ShowAndRead(target, 3);
    const RECT r = PopupRect(target);

    // A list update while shown: same size, new text.
    Host().list.clear();
    AddListItem(target, "MMMM");
    ScreenPixels updated = ShowAndRead(target, 3);
    ASSERT_EQ(RectText(r), RectText(PopupRect(target))) << "the size must not change for this case";
    EXPECT_FALSE(updated == before) << "the hint still shows its old text";

    DestroyHintWndMgr();
    EXPECT_TRUE(ShowAndRead(target, 3) == updated) << "the updated hint shows what a new hint with that text shows";
    HideHints();

    // Hidden, renamed, shown again.
    Host().list.clear();
    AddListItem(target, "IIII");
    EXPECT_TRUE(ShowAndRead(target, 3) == before) << "renamed while hidden";
}

TEST_F(HintWindow, ClickRestoresAMinimizedWindowAndBringsItToTheFront)
{
    HWND target = Listed(RECT{200, 200, 500, 400}, "Min");
    HWND other = Listed(RECT{300, 300, 700, 600}, "Other");
    ShowHints();
    HideHints();
    ShowWindow(target, SW_MINIMIZE);
    SetForegroundWindow(other);
    PumpPending();
    ShowHints();
    PumpPending();
    ASSERT_TRUE(IsIconic(target));

    RECT r = PopupRect(target);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT click[2] = {{INPUT_MOUSE, {{0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}}, {INPUT_MOUSE, {{0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
    SendInput(2, click, sizeof(INPUT));
    PumpUntil([target] { return !IsIconic(target) && GetForegroundWindow() == target; });
    EXPECT_FALSE(IsIconic(target)) << "the click restores the minimized window";
    EXPECT_EQ(target, GetForegroundWindow()) << "and brings it to the front";
    EXPECT_TRUE(IsWindowVisible(Hint(target)->m_hwnd)) << "the click itself does not hide the hints";

    // The window already in front stays there.
    SendMessageA(Hint(target)->m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(target, GetForegroundWindow());
    SendMessageA(Hint(other)->m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(other, GetForegroundWindow()) << "a click on the other hint";
}

TEST_F(HintWindow, MessagesForAPopupWithoutAHintDoNothing)
{
    HWND target = Listed(RECT{200, 200, 500, 400}, "A");
    ShowHints();
    HWND popup = Hint(target)->m_hwnd;
    // A popup of the class, but no hint of the set: painting and clicking do nothing.
    HWND stray = CreateWindowExA(kHintExStyle, Hint(target)->m_classname, "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, stray);
    SetForegroundWindow(target);
    SendMessageA(stray, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(target, GetForegroundWindow());
    InvalidateRect(stray, nullptr, FALSE);
    UpdateWindow(stray);
    EXPECT_FALSE(GetUpdateRect(stray, nullptr, FALSE)) << "its paint request is settled, not repeated forever";
    DestroyWindow(stray);
    EXPECT_TRUE(IsWindow(popup));
}

TEST(HintFont, EveryParameterFromTheSettings)
{
    UseDefaultSettings();
    WindowDc dc(nullptr);
    int dpi = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    auto fields = [](const LOGFONTA& f) {  // in LOGFONTA's order, the bytes as numbers
        return std::make_tuple(f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight, +f.lfItalic,
                               +f.lfUnderline, +f.lfStrikeOut, +f.lfCharSet, +f.lfOutPrecision, +f.lfClipPrecision,
                               +f.lfQuality, +f.lfPitchAndFamily, std::string(f.lfFaceName));
    };
    for (int size : {10, 17}) {
        for (font_style_t style : {font_style_t{0, 0, 0, 0}, font_style_t{1, 0, 1, 0}, font_style_t{0, 1, 0, 1}}) {
            HintSettings.FontSize = size;
            HintSettings.FontStyle = style;
            LOGFONTA got = {};
            ASSERT_EQ(static_cast<int>(sizeof got), GetObjectA(MakeHintFont(HintSettings, dpi).Get(), sizeof got, &got));
            if (dpi == 96 && size == 10) { EXPECT_EQ(-13, got.lfHeight); }
            LOGFONTA want = {MulDiv(size, -dpi, 72), 0, 0, 0, style.Bold ? 700 : 400,
                             style.Italic, style.Underline, style.StrikeOut, 128, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             PROOF_QUALITY, FIXED_PITCH | FF_MODERN, {}};
            CopyText(want.lfFaceName, HintSettings.FontName);
            EXPECT_EQ(fields(want), fields(got));
        }
    }
}

TEST_F(HintWindow, ClassAndWindowOfThePopup)
{
    HWND target = Listed(RECT{200, 200, 500, 400}, "Alpha");
    ShowHints();
    HWND popup = Hint(target)->m_hwnd;
    WNDCLASSEXA wc = {sizeof wc, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), ClassOf(target).c_str(), &wc));
    EXPECT_EQ(HintWndProc, wc.lpfnWndProc);
    EXPECT_EQ(std::make_tuple(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), 0, 0, HICON(), HBRUSH(), LPCSTR(),
                              LoadCursorA(nullptr, IDC_ARROW)),
              std::make_tuple(wc.style, wc.cbClsExtra, wc.cbWndExtra, wc.hIcon, wc.hbrBackground, wc.lpszMenuName,
                              wc.hCursor))
        << "style, no extra bytes, no icon, no background (the window procedure paints the whole client area), "
           "no menu, the arrow";

    DWORD style = static_cast<DWORD>(GetWindowLongA(popup, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP), style & ~static_cast<DWORD>(WS_VISIBLE | WS_CLIPSIBLINGS));
    DWORD ex = static_cast<DWORD>(GetWindowLongA(popup, GWL_EXSTYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_TOPMOST), ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_EQ(0u, ex & (WS_EX_APPWINDOW | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
    EXPECT_EQ(nullptr, GetParent(popup));

    // The window text is the display text at creation and stays.
    EXPECT_EQ("A", WindowText(popup));
    HintSettings.Contents = 1;
    ShowHints();
    EXPECT_STREQ("Alpha", Hint(target)->m_text);
    EXPECT_EQ("A", WindowText(popup));
    HideHints();
}
