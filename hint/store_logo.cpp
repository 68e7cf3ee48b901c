#include "hint/store_logo.h"

#include <propsys.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hint/app_icon.h"
#include "support/owners.h"
#include "support/proc_address.h"
#include "support/system_module.h"

namespace {

// Spelt out here: MinGW's libraries do not carry every one of them.
const PROPERTYKEY kAppUserModelId = {{0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, 5};
const GUID kAppsFolder = {0x1E87508D, 0x89C2, 0x42F0, {0x8A, 0x7E, 0x64, 0x5A, 0x0F, 0x50, 0xCA, 0x58}};
const IID kIidPropertyStore = {0x886D8EEB, 0x8CF2, 0x4446, {0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD, 0xCF, 0x99}};
const IID kIidImageFactory = {0xBCC18B79, 0xBA16, 0x442F, {0x80, 0xC4, 0x8A, 0x59, 0xC3, 0x0C, 0x46, 0x3B}};
constexpr DWORD kDontVerify = 0x00004000;  // KF_FLAG_DONT_VERIFY
constexpr UINT32 kAppIdMaxLength = 130;    // APPLICATION_USER_MODEL_ID_MAX_LENGTH

store_logo_functions_t LoadFunctions()
{
    store_logo_functions_t f = {};
    if (HMODULE shell = LoadSystemModule(L"shell32.dll")) {
        f.propertyStoreForWindow = As<decltype(f.propertyStoreForWindow)>(GetProcAddress(shell, "SHGetPropertyStoreForWindow"));
        f.itemInKnownFolder = As<decltype(f.itemInKnownFolder)>(GetProcAddress(shell, "SHCreateItemInKnownFolder"));
    }
    if (HMODULE kernel = LoadSystemModule(L"kernel32.dll"))
        f.appIdOfProcess = As<decltype(f.appIdOfProcess)>(GetProcAddress(kernel, "GetApplicationUserModelId"));
    return f;
}

std::map<std::pair<std::wstring, int>, IconOwner>& Logos()
{
    // Never destroyed, as the program icons: teardown empties it.
    static auto& logos = *new std::map<std::pair<std::wstring, int>, IconOwner>;
    return logos;
}

// The host's thread may have COM in either apartment, or none: what this call starts, it ends.
class ComScope {
public:
    ComScope() : m_started(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    // S_OK and S_FALSE are owed their CoUninitialize; RPC_E_CHANGED_MODE: the host's apartment serves.
    ~ComScope()
    {
        if (SUCCEEDED(m_started)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_started;
};

std::wstring AppIdOfWindow(HWND window)
{
    auto open = StoreLogoFunctions().propertyStoreForWindow;
    void* made = nullptr;
    if (!open || !window || FAILED(open(window, kIidPropertyStore, &made)) || !made) return std::wstring();
    ComOwner<IPropertyStore> store(static_cast<IPropertyStore*>(made));
    PROPVARIANT value;
    PropVariantInit(&value);
    std::wstring id;
    if (SUCCEEDED(store->GetValue(kAppUserModelId, &value)) && value.vt == VT_LPWSTR && value.pwszVal)
        id = value.pwszVal;
    PropVariantClear(&value);
    return id;
}

std::wstring AppIdOfProcess(HWND window)
{
    auto read = StoreLogoFunctions().appIdOfProcess;
    DWORD processId = 0;
    if (!read || GetWindowThreadProcessId(window, &processId) == 0) return std::wstring();
    HandleOwner process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.Valid()) return std::wstring();
    wchar_t id[kAppIdMaxLength] = {};
    UINT32 length = kAppIdMaxLength;
    LONG result = read(process.Get(), &length, id);  // a program outside any package: APPMODEL_ERROR_NO_APPLICATION
    return result == ERROR_SUCCESS ? std::wstring(id) : std::wstring();
}

// The app's ID on the window, else on the core window of a frame window, else its process's.
std::wstring AppIdOf(HWND window)
{
    std::wstring id = AppIdOfWindow(window);
    HWND program = ProgramWindow(window);
    if (id.empty() && program != window) id = AppIdOfWindow(program);
    if (id.empty()) id = AppIdOfProcess(program);
    return id;
}

// A 32-bit image with alpha becomes an icon drawn with its alpha; the mask is then unused.
HICON IconOfImage(HBITMAP image)
{
    BITMAP bits = {};
    if (!GetObjectW(image, sizeof bits, &bits)) return nullptr;
    std::vector<BYTE> clear(static_cast<size_t>((bits.bmWidth + 15) / 16 * 2) * bits.bmHeight);
    GdiObject<HBITMAP> mask(CreateBitmap(bits.bmWidth, bits.bmHeight, 1, 1, clear.data()));
    ICONINFO info = {TRUE, 0, 0, mask.Get(), image};
    return mask ? CreateIconIndirect(&info) : nullptr;
}

HICON LogoOfApp(const std::wstring& id, int size)
{
    auto item = StoreLogoFunctions().itemInKnownFolder;
    void* made = nullptr;
    if (!item || FAILED(item(kAppsFolder, kDontVerify, id.c_str(), kIidImageFactory, &made)) || !made) return nullptr;
    ComOwner<IShellItemImageFactory> images(static_cast<IShellItemImageFactory*>(made));
    HBITMAP image = nullptr;
    HRESULT got = images->GetImage(SIZE{size, size}, SIIGBF_ICONONLY, &image);
    images.Reset();
    GdiObject<HBITMAP> owned(SUCCEEDED(got) ? image : nullptr);
    return owned ? IconOfImage(owned.Get()) : nullptr;
}

}  // namespace

store_logo_functions_t& StoreLogoFunctions()
{
    static store_logo_functions_t functions = LoadFunctions();
    return functions;
}

HICON StoreLogoOf(HWND window, int size)
{
    if (!StoreLogoFunctions().itemInKnownFolder) return nullptr;  // before Windows 8: no apps, no logos
    ComScope com;
    std::wstring id = AppIdOf(window);
    if (id.empty()) return nullptr;
    auto key = std::make_pair(id, size);
    auto found = Logos().find(key);
    if (found != Logos().end()) return found->second.Get();
    // The entry first, as for the program icons; an app without a logo is remembered too.
    IconOwner& logo = Logos().emplace(key, IconOwner()).first->second;
    logo.Reset(LogoOfApp(id, size));
    return logo.Get();
}

void FreeStoreLogos() { Logos().clear(); }
