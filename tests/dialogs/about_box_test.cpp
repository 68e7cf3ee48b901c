// The version box, shown through its real window under Wine.

#include "plugin/records/globals.h"
#include "tests/common/dialog_driver.h"
#include "zlvn_version.h"

namespace {

using A = AboutControl;

TAboutBox* g_box;  // the box the running script looks at

// The shell calls made, each as "owner verb file parameters directory show".
std::vector<std::string> g_opened;

HINSTANCE WINAPI FakeOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    auto text = [](LPCSTR s) { return s ? std::string(s) : std::string("(null)"); };
    g_opened.push_back(std::to_string(reinterpret_cast<uintptr_t>(owner)) + " " + text(verb) + " " + text(file) + " " +
                       text(parameters) + " " + text(directory) + " " + std::to_string(show));
    return reinterpret_cast<HINSTANCE>(42);
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCursorPos(100, 100);
        FreshSession(Life::SetUp);  // the command works for a set-up plug-in
        g_opened.clear();
        TAboutBox::AddressOpener().Use(FakeOpen);
    }
    void TearDown() override
    {
        TAboutBox::IconFile().Use("%SystemRoot%\\system32\\SHELL32.dll");
        g_box = nullptr;
    }
    // Shows the box with the script running; the box must close with this result.
    void Show(TAboutBox& box, int closedWith, DialogScript& script)
    {
        g_box = &box;
        int result = 0;
        EXPECT_TRUE(script.Run([&box, &result] { result = box.ShowModal(); })) << script.Report();
        EXPECT_EQ(nullptr, box.Handle()) << script.Report();
        EXPECT_EQ(closedWith, result) << script.Report();
    }
};

TEST_F(AboutBox, ShowsNameVersionIconAndLinkCentredOnTheCursorMonitor)
{
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    TAboutBox box(nullptr, "Hint", dll.Module());
    Show(box, IDOK, DialogScript("version box").Shown(g_box)
        .Painted()
        .Do("check", [] {
            TAboutBox& b = *g_box;
            EXPECT_EQ("バージョン情報", WindowText(b.Handle()));
            EXPECT_EQ("ＭＳ Ｐゴシック " + std::to_string(-MulDiv(12, b.Ppi(), 96)) + " 400 000", FontText(FontOf(b.FormFont())));
            EXPECT_EQ(SHIFTJIS_CHARSET, FontOf(b.FormFont()).lfCharSet);
            EXPECT_EQ(std::string("Hint|") + ZLVN_FILE_VERSION + "|Copyright (C) 2026 ZlvnHint|https://example.org/",
                      b.Text(A::ProductName) + "|" + b.Text(A::Version) + "|" + b.Text(A::Copyright) + "|" + b.Text(A::WebSite));
            ICONINFO info = {};
            EXPECT_TRUE(b.LargeIcon() && GetIconInfo(b.LargeIcon(), &info)) << "large icon taken (path expanded)";
            GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
            EXPECT_TRUE(b.SmallIcon() != nullptr) << "small icon taken";
            // Centred on the full rectangle of the 1280 x 800 screen under the cursor.
            RECT rc = WindowRect(b.Handle());
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) / 2 - (rc.right - rc.left) / 2, rc.left);
            EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) / 2 - (rc.bottom - rc.top) / 2, rc.top);
            ExpectScaled(ClientRect(b.Handle()), {0, 0, 223, 149}, 96, b.Ppi(), 0, "client area");
            // Design rectangles at 96 ppi, scaled; labels fit their text, so only their corners.
            const std::pair<A, design_rect_t> rows[] = {{A::Panel1, {8, 8, 201, 97}}, {A::ProgramIcon, {16, 16, 32, 32}},
                {A::OKButton, {71, 116, 75, 25}}, {A::ProductName, {64, 16, 0, 0}}, {A::Version, {64, 32, 0, 0}},
                {A::Copyright, {16, 64, 0, 0}}, {A::WebSite, {16, 80, 148, 0}}};
            for (const auto& [name, design] : rows)
                ExpectScaled(RectIn(b.Item(name), b.Handle()), design, 96, b.Ppi(), 0, name);
            RECT version = RectIn(b.Item(A::Version), b.Handle());
            SIZE text = {};
            WindowDc dc(b.Item(A::Version));
            Selection font(dc.Get(), ControlFont(b.Item(A::Version)));
            GetTextExtentPoint32A(dc.Get(), ZLVN_FILE_VERSION, static_cast<int>(strlen(ZLVN_FILE_VERSION)), &text);
            EXPECT_EQ(text.cx, version.right - version.left) << "the version label fits its text";
            EXPECT_TRUE(SaveWindowShot(b.Handle(), "version_box.bmp"));
            EXPECT_TRUE(WindowShowsColour(b.Item(A::WebSite), RGB(0, 0, 255))) << "the link is drawn in blue";
            EXPECT_FALSE(WindowShowsColour(b.Item(A::Copyright), RGB(0, 0, 255))) << "plain labels are not";
            PostClick(b.Item(A::OKButton));
        }));
    EXPECT_EQ(nullptr, box.LargeIcon()) << "icons released when hidden";
    EXPECT_EQ(nullptr, box.SmallIcon());
}

TEST_F(AboutBox, ModuleWithoutVersionShowsTheRecordedFailureFirst)
{
    // The test program itself has no version resource.
    TAboutBox box(nullptr, "NoVersion", GetModuleHandleA(nullptr));
    std::string message;
    bool boxWasHidden = false;
    Show(box, IDCANCEL, DialogScript("no version resource, closed by the close box")
        .InDialog("error box", "ERROR", [&message, &boxWasHidden](HWND error) {
            message = WindowText(GetDlgItem(error, 0xFFFF));
            boxWasHidden = !IsWindowVisible(g_box->Handle());
            EXPECT_EQ(nullptr, GetWindow(error, GW_OWNER)) << "no owner window";
            EXPECT_EQ(0, SendDlgItemMessageA(error, 0x0440, STM_GETICON, 0, 0)) << "no icon";
            for (int button : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
                HWND shown = GetDlgItem(error, button);
                EXPECT_EQ(button == IDOK, shown && IsWindowVisible(shown)) << "only an OK button; button " << button;
            }
            PostMessageA(error, WM_COMMAND, IDOK, 0);
        })
        .Shown(g_box)
        .Do("empty version", [] {
            EXPECT_EQ("", g_box->Text(A::Version));
            EXPECT_EQ("NoVersion", g_box->Text(A::ProductName));
            PostMessageA(g_box->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }));
    LastError recorded;
    ASSERT_NE(nullptr, recorded.RecordedMessage());
    EXPECT_EQ(recorded.RecordedMessage(), message);
    EXPECT_NE(std::string::npos, message.find("GetFileVersionInfo()")) << message;
    EXPECT_TRUE(boxWasHidden) << "the error box comes before the version box";
}

TEST_F(AboutBox, FailedIconExtractionHoldsNoHandleAndLongNameIsCut)
{
    // An unexpandable reference: the extraction fails (reporting UINT_MAX on Wine).
    TAboutBox::IconFile().Use("%NoSuchFolderVariable%\\none.dll");
    std::string name(300, 'n');
    TAboutBox box(nullptr, name.c_str(), GetModuleHandleA(nullptr));
    Show(box, IDCANCEL, DialogScript("no icon, closed by Esc")
        .InDialog("error box", "ERROR", [](HWND error) { PostMessageA(error, WM_COMMAND, IDOK, 0); })
        .Shown(g_box)
        .Painted()
        .Do("check", [&name] {
            EXPECT_EQ(nullptr, g_box->LargeIcon());
            EXPECT_EQ(nullptr, g_box->SmallIcon());
            EXPECT_EQ(name.substr(0, 259), g_box->Text(A::ProductName));
            PostKey(GetFocus(), VK_ESCAPE);
        }));
}

TEST_F(AboutBox, LinkOpensThroughTheShellAndClosesTheBox)
{
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    TAboutBox box(nullptr, "Hint", dll.Module());
    Show(box, IDCANCEL, DialogScript("link").Shown(g_box).Do("click link", [] {
        PostMouseClick(g_box->Item(A::WebSite));
    }));
    EXPECT_EQ(std::vector<std::string>{"0 open https://example.org/ (null) (null) " + std::to_string(SW_SHOW)}, g_opened);
}

TEST_F(AboutBox, CommandMakesOneBoxAndShowsItAgain)
{
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    HMODULE saved = g_hModule;
    g_hModule = dll.Module();
    FreeVersionBox();

    // Shows the box through the command; whileShown runs before OK closes it.
    auto showOnce = [](const char* name, std::function<void()> whileShown) {
        DialogScript script(name);
        script.Shown(g_aboutBox).Do("close", [whileShown] {
            whileShown();
            PostClick(g_aboutBox->Item(A::OKButton));
        });
        EXPECT_TRUE(script.Run([] { HintVersion(nullptr); })) << script.Report();
    };
    HICON firstIcon = nullptr;
    showOnce("first showing", [&firstIcon] { firstIcon = g_aboutBox->LargeIcon(); });
    TAboutBox* made = g_aboutBox;
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(dll.Module(), made->Module());
    EXPECT_STREQ("Hint", made->ProductNameText());
    EXPECT_EQ(nullptr, made->Handle());

    SetCursorPos(1200, 700);  // still the one monitor; the box is centred afresh
    std::string version;
    showOnce("second showing", [&version] {
        version = g_aboutBox->Text(A::Version);
        EXPECT_NE(nullptr, g_aboutBox->LargeIcon()) << "icons taken again";
    });
    EXPECT_EQ(made, g_aboutBox) << "the same instance";
    EXPECT_EQ(ZLVN_FILE_VERSION, version);
    EXPECT_NE(nullptr, firstIcon);

    FreeVersionBox();
    g_hModule = saved;
}

}  // namespace
