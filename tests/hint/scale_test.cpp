// A host that is not DPI-aware on a 144-dpi screen (--ppi 144); this program has an icon.

#include <stdexcept>
#include <utility>

#include <shlobj.h>

#include <map>

#include "hint/app_icon.h"
#include "hint/hint_wnd.h"
#include "hint/store_logo.h"
#include "support/dpi_awareness.h"
#include "tests/common/stand_in.h"
#include "tests//common/dialog_driver.h"
#include "tests/common/import_patch.h"
#include "tests/hint/hint_fixture.h"

namespace {

int ScreenDpi() { return GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY); }
HRESULT WINAPI Throws(HMONITOR, int, UINT*, UINT*) { throw std::runtime_error("stand-in"); }

LRESULT CALLBACK AnswersSmall2Only(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    if (message != WM_GETICON) return DefWindowProcA(w, message, wp, lp);
    return wp == ICON_SMALL2 ? reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_WARNING)) : 0;
}

UINT g_timerDpi = 0;
void CALLBACK HostTimer(HWND, UINT, UINT_PTR, DWORD) { g_timerDpi = ScreenDpi(); }

// A square of one colour, size x size, with its alpha.
HBITMAP SolidImage(int size, COLORREF colour)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP image = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int i = 0; i < size * size; ++i)
        static_cast<DWORD*>(bits)[i] = 0xFF000000 | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    return image;
}

HICON SolidIcon(int size, COLORREF colour)
{
    GdiObject<HBITMAP> image(SolidImage(size, colour)), mask(CreateBitmap(size, size, 1, 1, nullptr));
    ICONINFO info = {TRUE, 0, 0, mask.Get(), image.Get()};
    return CreateIconIndirect(&info);
}

// "width 24, centre 2060a0" (red, green, blue), "none" for no icon.
std::string IconText(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return "none";
    GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bits = {};
    GetObjectA(colour.Get(), sizeof bits, &bits);
    MemoryDc dc(nullptr);
    GdiObject<HBITMAP> canvas(SolidImage(bits.bmWidth, RGB(0, 0, 0)));
    Selection selected(dc.Get(), canvas.Get());
    DrawIconEx(dc.Get(), 0, 0, icon, bits.bmWidth, bits.bmWidth, 0, nullptr, DI_NORMAL);
    COLORREF c = GetPixel(dc.Get(), bits.bmWidth / 2, bits.bmWidth / 2);
    char text[40];
    snprintf(text, sizeof text, "width %ld, centre %02x%02x%02x", bits.bmWidth, GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Stand-ins for a Store app's property store and its package logo, in red.
std::map<HWND, std::wstring> g_appIds;
int g_logoSize = 0;

struct FakeStore final : IPropertyStore {
    explicit FakeStore(std::wstring id) : m_id(std::move(id)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetCount(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAt(DWORD, PROPERTYKEY*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY, PROPVARIANT* o_value) override
    {
        o_value->vt = VT_LPWSTR;
        o_value->pwszVal = static_cast<wchar_t*>(CoTaskMemAlloc((m_id.size() + 1) * sizeof(wchar_t)));
        lstrcpyW(o_value->pwszVal, m_id.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit() override { return E_NOTIMPL; }
    std::wstring m_id;
    ULONG m_refs = 1;
};

struct FakeLogo : IShellItemImageFactory {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetImage(SIZE size, SIIGBF, HBITMAP* o_image) override
    {
        g_logoSize = size.cx;
        *o_image = SolidImage(size.cx, RGB(255, 0, 0));
        return S_OK;
    }
} g_logo;

HRESULT WINAPI StoreOfWindow(HWND window, REFIID, void** o_store)
{
    auto found = g_appIds.find(window);
    *o_store = found == g_appIds.end() ? nullptr : static_cast<IPropertyStore*>(new FakeStore(found->second));
    return *o_store ? S_OK : E_FAIL;
}

HRESULT WINAPI AppItem(REFKNOWNFOLDERID, DWORD, PCWSTR id, REFIID, void** o_item)
{
    *o_item = lstrcmpW(id, L"Zlvn.Calculator_8wekyb3d8bbwe!App") == 0 ? &g_logo : nullptr;
    return *o_item ? S_OK : E_FAIL;
}

LONG WINAPI NoPackage(HANDLE, UINT32*, PWSTR) { return 15703; }  // APPMODEL_ERROR_NO_APPLICATION
BOOL WINAPI Wow64(HANDLE, BOOL* o_wow64) { return *o_wow64 = TRUE; }

// The process image as a 32-bit host on 64-bit Windows reads it for a 64-bit-only system program.
std::wstring g_imagePath;
decltype(&QueryFullProcessImageNameW) g_realImagePath;  // this module's own import is the stand-in
BOOL WINAPI ImagePath(HANDLE process, DWORD flags, LPWSTR o_path, PDWORD io_size)
{
    if (g_imagePath.empty()) return g_realImagePath(process, flags, o_path, io_size);
    lstrcpyW(o_path, g_imagePath.c_str());
    *io_size = static_cast<DWORD>(g_imagePath.size());
    return TRUE;
}

HWND AppWindow(const wchar_t* i_class, HWND parent)
{
    WNDCLASSW wc = {0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, i_class};
    RegisterClassW(&wc);
    return CreateWindowExW(0, i_class, L"T", parent ? WS_CHILD : WS_POPUP | WS_VISIBLE, 300, 300, 200, 100, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

[[noreturn]] BOOL WINAPI DestroyIconAtExit(HICON) { _exit(3); }
DWORD g_fakeNow;
DWORD WINAPI FakeNow() { return g_fakeNow; }

// A Store app's frame window, with the Store functions stood in for.
HWND StoreAppFrame()
{
    StoreLogoFunctions().Use({StoreOfWindow, NoPackage, AppItem});
    HWND frame = AppWindow(L"ApplicationFrameWindow", nullptr);
    return g_appIds[frame] = L"Zlvn.Calculator_8wekyb3d8bbwe!App", frame;
}

// A hint set that keeps a Store logo, then the process ends without teardown.
[[noreturn]] void KeepIconsAndExit()
{
    g_hModule = GetModuleHandleA(nullptr);
    UseDefaultSettings();
    HWND frame = StoreAppFrame();
    AddListItem(frame, "App");
    ShowHints();
    const bool kept = g_hintWndMgr && g_hintWndMgr->Count() == 1 && g_hintWndMgr->List()[0]->m_icon;
    new ImportPatch(GetModuleHandleA(nullptr), "USER32.dll", "DestroyIcon", reinterpret_cast<void*>(DestroyIconAtExit));
    exit(kept ? 0 : 4);
}

}  // namespace

// A host that ends without teardown: the kept program icons and Store logos are never
// destroyed at process exit, where DestroyIcon would run under the loader lock.
TEST(IconCaches, AreNeverDestroyedAtProcessExit)
{
    EXPECT_EXIT(KeepIconsAndExit(), ::testing::ExitedWithCode(0), "");
}

// The Store-logo look-up cannot be cut short: it starts only while a request's time
// (100 ms) of the showing is left; else the program's icon stands in for now.
TEST(IconBudgets, TheStoreLogoLookUpStartsOnlyWithARequestsTimeLeft)
{
    const store_logo_functions_t real = StoreLogoFunctions().Get();
    HWND frame = StoreAppFrame();
    for (DWORD left : {IconBudget::kRequestMs, IconBudget::kRequestMs - 1}) {
        bool cut = false;
        HICON icon = nullptr;
        hint_icon_caches_t caches;
        {
            ImportPatch clock(GetModuleHandleA(nullptr), "KERNEL32.dll", "GetTickCount", reinterpret_cast<void*>(FakeNow));
            g_fakeNow = 0;
            IconBudget showing;
            g_fakeNow = IconBudget::kShowingMs - left;
            icon = FindTargetIcon(frame, 24, showing, caches, &cut);
        }
        EXPECT_EQ(left == IconBudget::kRequestMs, IconText(icon) == "width 24, centre ff0000") << left << " ms left";
        EXPECT_EQ(left < IconBudget::kRequestMs, cut) << left << " ms left: asked again at the next showing";
    }
    DestroyWindow(frame);
    StoreLogoFunctions().Use(real);
}

TEST_F(HintOverlay, StoreAppsSixtyFourBitProgramsAndLargerIconsAtTheHintsSize)
{
    const store_logo_functions_t real = StoreLogoFunctions().Use({StoreOfWindow, NoPackage, AppItem});
    const is_wow64_process_t realWow64 = IsWow64ProcessFn().Get();
    ImportPatch image(GetModuleHandleA(nullptr), "kernel32.dll", "QueryFullProcessImageNameW", reinterpret_cast<void*>(ImagePath));
    ASSERT_TRUE(image.Patched());
    g_realImagePath = reinterpret_cast<decltype(g_realImagePath)>(image.Original());
    wchar_t windows[MAX_PATH], system[MAX_PATH], program[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH), GetSystemDirectoryW(system, MAX_PATH);
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    // Only the native system folder holds it: a 32-bit process opening system32 is sent to SysWOW64.
    const std::wstring native = std::wstring(windows) + L"\\Sysnative";
    CreateDirectoryW(native.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(program, (native + L"\\zlvn-only64.exe").c_str(), FALSE));
    const std::wstring id = L"Zlvn.Calculator_8wekyb3d8bbwe!App";
    IconOwner small(SolidIcon(16, RGB(0, 0, 255))), big(SolidIcon(32, RGB(255, 255, 0)));
    const std::string logo = "width 24, centre ff0000", file = "width 24, centre 20a060";
    const struct { const char* name; std::function<HWND()> make; std::string icon; } cases[] = {
        {"a frame window whose core window has the app's ID: the package logo", [&id] {
             HWND frame = AppWindow(L"ApplicationFrameWindow", nullptr);
             g_appIds[AppWindow(L"Windows.UI.Core.CoreWindow", frame)] = id;
             return frame;
         }, logo},
        {"a suspended app, its frame window alone with the ID: the package logo", [&id] {
             HWND frame = AppWindow(L"ApplicationFrameWindow", nullptr);
             return g_appIds[frame] = id, frame;
         }, logo},
        {"a 64-bit-only program under the system folder: its icon, through Sysnative", [&system] {
             g_imagePath = std::wstring(system) + L"\\zlvn-only64.exe";
             IsWow64ProcessFn().Use(Wow64);
             return AppWindow(L"Zlvn64BitProgram", nullptr);
         }, file},
        {"small 16 and big 32 pixel icons: the 32 one, drawn at 24", [this, &small, &big] {
             HWND target = Target(RECT{300, 300, 500, 400});
             SendMessageA(target, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
             SendMessageA(target, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
             return target;
         }, "width 32, centre ffff00"},
        {"no Store functions (before Windows 8): the program's icon", [&id] {
             StoreLogoFunctions().Use({});
             HWND frame = AppWindow(L"ApplicationFrameWindow", nullptr);
             return g_appIds[frame] = id, frame;
         }, file},
    };
    for (const auto& c : cases) {
        HWND target = c.make();
        AddListItem(target, "T");
        ShowHints();
        EXPECT_EQ(c.icon, IconText(Hint(target)->m_icon)) << c.name;
        g_imagePath.clear();
        IsWow64ProcessFn().Use(realWow64);
    }
    EXPECT_EQ(24, g_logoSize) << "the logo asked at the hint's icon size at 144 dpi";
    DestroyHintWndMgr();
    StoreLogoFunctions().Use(real);
    DeleteFileW((native + L"\\zlvn-only64.exe").c_str());
    RemoveDirectoryW(native.c_str());
}

TEST_F(HintOverlay, TheHostsFunctionsAndTimersRunInTheHostsDpiContext)
{
    const dpi_context_t host = DpiFunctions().Get().setThreadContext(HANDLE(-1));  // a host that is not DPI-aware
    std::map<std::string, int> seen;  // the DPI each host function read: 96 in the host's context, 144 in ours
    zlvnhost::Host().onCall = [&seen](const char* fn) { seen[fn] = ScreenDpi(); };
    Listed(RECT{150, 150, 450, 350}, "T");
    ShowHints();
    UINT_PTR timer = SetTimer(nullptr, 0, 10, HostTimer);
    DialogScript script("a host timer in the settings dialog's loop");
    script.Shown(g_okBottomDlg).Then("timer", [] { return g_timerDpi != 0; }).Do("close", [] {
        PostClick(g_okBottomDlg->Item(OptionControl::CancelBtn));
    });
    EXPECT_TRUE(script.Run([] { HintOption(nullptr); })) << script.Report();
    KillTimer(nullptr, timer);
    DestroyHintWndMgr();
    seen["the host's timer"] = g_timerDpi;
    std::string text;
    for (const auto& [fn, dpi] : seen) text += fn + " " + std::to_string(dpi) + "; ";
    EXPECT_EQ("Zlvn_GetList 96; Zlvn_RegisterFocus 96; Zlvn_ReloadMenu 96; Zlvn_UnregisterFocus 96; the host's timer 96; ", text);
    DpiFunctions().Get().setThreadContext(host);
}

TEST_F(HintOverlay, UnawareHostsHintsStandOnTheirTargetsInPhysicalPixelsAtTheirScale)
{
    HWND target = [this] {  // a per-monitor-aware program's window; Pos 0, icon shown: the defaults
        PerMonitorDpiScope perMonitor;
        return Listed(RECT{150, 150, 450, 350}, "T", LoadIconA(nullptr, IDI_WARNING));
    }();
    // The host's thread is not DPI-aware (Wine's programs are, unless told).
    dpi_context_t host = DpiFunctions().Get().setThreadContext(HANDLE(-1));
    auto throwing = [] {
        const dpi_functions_t real = StandIn(DpiFunctions(), &dpi_functions_t::dpiForMonitor, Throws);
        EXPECT_THROW(ShowHints(), std::runtime_error);
        DpiFunctions().Use(real);
    };
    const SIZE text = HintTextExtent("T", 144);  // margins 8, icon 24 and a gap of 3 at 144 dpi
    const std::function<void()> steps[] = {[] { ShowHints(); }, HideHints, [] { ShowHints(); }, throwing, DestroyHintWndMgr};
    for (int step = 0; step < 5; ++step) {
        steps[step]();
        EXPECT_EQ(96, ScreenDpi()) << "step " << step << ": the host's context (not DPI-aware) restored";
        PerMonitorDpiScope perMonitor;  // the screen as it is, at 144 dpi
        if (step != 0 && step != 2) continue;
        EXPECT_EQ(RectText(RECT{150, 150, 150 + text.cx + 16 + 27, 150 + text.cy + 16}), RectText(PopupRect(target)))
            << "step " << step << ": on the target's corner, measured at 144 dpi";
    }
    DpiFunctions().Get().setThreadContext(host);
}

TEST_F(HintOverlay, WindowsThatAnswerNoIconGetTheirProgramsIcon)
{
    ThreadWindow hung(ThreadWindowKind::Hung);
    HWND small2 = Target(RECT{200, 450, 500, 650});
    SetWindowLongPtrA(small2, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswersSmall2Only));
    // icon: null for the program's (the hint bench times the search with a hung window).
    struct Case { const char* name; HWND target; HICON icon; } cases[] = {
        {"no icon by any step", Target(RECT{200, 200, 500, 400}), nullptr},
        {"a hung window, and its owner: the same icon, taken once", hung.Window(), nullptr},
        {"an answer to ICON_SMALL2 only", small2, LoadIconA(nullptr, IDI_WARNING)},
    };
    HICON program = nullptr;
    for (const Case& c : cases) {
        AddListItem(c.target, "T");
        ShowHints();
        if (!c.icon && !program) program = Hint(c.target)->m_icon;
        EXPECT_TRUE((c.icon ? c.icon : program) && (c.icon ? c.icon : program) == Hint(c.target)->m_icon) << c.name;
    }
    DestroyHintWndMgr();
    ICONINFO info = {};
    EXPECT_FALSE(GetIconInfo(program, &info)) << "the program's icon destroyed at teardown";
}
