// The popup on the screen: its pixels in both colour sets and with a bitmap, a
// repaint with the current text, and the click that brings its window to the front.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hint/hint_set.h"
#include "hint/hint_wnd.h"
#include "host/zlvn_host.h"
#include "plugin/hint_settings.h"
#include "support/bounded_text.h"
#include "tests/common/temp_dir.h"
#include "tests/hint/hint_fixture.h"

using zlvnhost::AddListItem;
using zlvnhost::Host;

namespace {

// A 24-bit bitmap file one row high, one pixel per colour.
void WriteBitmapRow(const std::string& path, const std::vector<COLORREF>& colours)
{
    int width = static_cast<int>(colours.size());
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = 1;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<char*>(&info), sizeof info);
    std::string row(stride, '\0');
    for (int i = 0; i < width; ++i) {
        row[i * 3] = static_cast<char>(GetBValue(colours[i]));
        row[i * 3 + 1] = static_cast<char>(GetGValue(colours[i]));
        row[i * 3 + 2] = static_cast<char>(GetRValue(colours[i]));
    }
    WriteWholeFile(path, bytes + row);
}

RECT Inset(RECT r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

class HintWindow : public HintOverlay {
protected:
    void SetUp() override
    {
        HintOverlay::SetUp();
        HintSettings.Width = 100;  // room right of the text to read the background
        HintSettings.IsNoOver = 0;
    }

    // Shows the one listed window's hint and reads its pixels.
    ScreenPixels ShowAndRead(HWND target, RECT* o_rect)
    {
        ShowHints();
        Settle();
        *o_rect = PopupRect(target);
        return ScreenPixels(*o_rect);
    }

    void ExpectBox(HWND target, COLORREF border, COLORREF background, const std::string& name)
    {
        RECT r;
        ScreenPixels px = ShowAndRead(target, &r);
        int h = r.bottom - r.top;
        EXPECT_EQ(ColourText(background), ColourText(px.At(90, h / 2))) << name << ": background";
        EXPECT_EQ(ColourText(background), ColourText(px.At(60, h - 4))) << name << ": background";
        EXPECT_EQ(ColourText(border), ColourText(px.At(50, 0))) << name << ": top border";
        EXPECT_EQ(ColourText(border), ColourText(px.At(0, h / 2))) << name << ": left border";
        EXPECT_EQ(ColourText(border), ColourText(px.At(50, h - 2))) << name << ": bottom border";
        HideHints();
    }
};

}  // namespace

TEST_F(HintWindow, BoxInBothColourSets)
{
    HWND target = Target(RECT{200, 200, 500, 400}, "box");
    AddListItem(target, "Box");
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
    std::string normal = dir.File("normal.bmp");
    std::string iconic = dir.File("iconic.bmp");
    std::string broken = dir.File("broken.bmp");
    WriteBitmapRow(normal, {RGB(255, 0, 0), RGB(0, 0, 255)});
    WriteBitmapRow(iconic, {RGB(0, 255, 0), RGB(0, 255, 0)});
    WriteWholeFile(broken, "not a bitmap at all");
    HintSettings.IsUseBmp = 1;
    CopyText(HintSettings.BgNormal, normal.c_str());
    CopyText(HintSettings.BgIconic, iconic.c_str());
    HWND target = Target(RECT{200, 200, 500, 400}, "bitmap");
    AddListItem(target, "Bmp");

    RECT r;
    ScreenPixels px = ShowAndRead(target, &r);
    int h = r.bottom - r.top;
    EXPECT_EQ(ColourText(RGB(255, 0, 0)), ColourText(px.At(2, h - 2))) << "left half of the stretched bitmap";
    EXPECT_EQ(ColourText(RGB(255, 0, 0)), ColourText(px.At(0, 0))) << "the bitmap covers the corner";
    EXPECT_EQ(ColourText(RGB(0, 0, 255)), ColourText(px.At(97, h - 2))) << "right half of the stretched bitmap";
    EXPECT_EQ(ColourText(RGB(0, 0, 255)), ColourText(px.At(99, h - 1))) << "the bitmap reaches the last pixel";
    HideHints();

    ShowWindow(target, SW_MINIMIZE);
    px = ShowAndRead(target, &r);
    EXPECT_EQ(ColourText(RGB(0, 255, 0)), ColourText(px.At(90, h - 2))) << "minimized: the other bitmap";
    HideHints();
    ShowWindow(target, SW_RESTORE);

    for (const std::string& path : {dir.File("missing.bmp"), broken}) {
        CopyText(HintSettings.BgNormal, path.c_str());
        ExpectBox(target, RGB(247, 247, 0), RGB(255, 255, 128), "unloadable bitmap " + path);
    }
}

TEST_F(HintWindow, ShowingRepaintsWithTheCurrentText)
{
    HintSettings.Contents = 1;
    HWND target = Target(RECT{200, 200, 500, 400}, "text");
    AddListItem(target, "IIII");
    RECT r;
    ShowAndRead(target, &r);
    ScreenPixels before(Inset(r, 3));

    // A list update while shown: same size, new text.
    Host().list.clear();
    AddListItem(target, "MMMM");
    ShowHints();
    Settle();
    RECT after = PopupRect(target);
    ASSERT_EQ(r.right - r.left, after.right - after.left) << "the size must not change for this case";
    ASSERT_EQ(r.bottom - r.top, after.bottom - after.top) << "the size must not change for this case";
    ScreenPixels updated(Inset(after, 3));
    EXPECT_TRUE(updated != before) << "the hint still shows its old text";

    DestroyHintWndMgr();
    ShowHints();
    Settle();
    ScreenPixels fresh(Inset(PopupRect(target), 3));
    EXPECT_TRUE(updated == fresh) << "the updated hint shows what a new hint with that text shows";
    HideHints();

    // Hidden, renamed, shown again.
    Host().list.clear();
    AddListItem(target, "IIII");
    ShowHints();
    Settle();
    EXPECT_TRUE(ScreenPixels(Inset(PopupRect(target), 3)) == before) << "renamed while hidden";
}

TEST_F(HintWindow, ClickRestoresAMinimizedWindowAndBringsItToTheFront)
{
    HWND target = Target(RECT{200, 200, 500, 400}, "minimized");
    HWND other = Target(RECT{300, 300, 700, 600}, "other");
    AddListItem(target, "Min");
    AddListItem(other, "Other");
    ShowHints();
    HideHints();
    ShowWindow(target, SW_MINIMIZE);
    SetForegroundWindow(other);
    Settle();
    ShowHints();
    Settle();
    ASSERT_TRUE(IsIconic(target));

    RECT r = PopupRect(target);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    Settle(100);
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
    HWND target = Target(RECT{200, 200, 500, 400});
    AddListItem(target, "A");
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
    RECT update;
    EXPECT_FALSE(GetUpdateRect(stray, &update, FALSE)) << "its paint request is settled, not repeated forever";
    DestroyWindow(stray);
    EXPECT_TRUE(IsWindow(popup));
}
