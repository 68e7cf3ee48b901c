#pragma once
// The logo of a Store app, from its package, for the windows of packaged apps: their
// frame host draws the window, their program files carry no icon (or a generic one), and
// the windows answer no icon request.
#include <windows.h>
#include <shlobj.h>

#include "hint/icon_cache.h"
#include "support/seam.h"

// The system's functions in use, looked up in the system folder at first need (Windows 8
// and later have them all); null where missing. Tests stand in through the seam.
struct store_logo_functions_t {
    HRESULT(WINAPI* propertyStoreForWindow)(HWND, REFIID, void**);  // SHGetPropertyStoreForWindow
    LONG(WINAPI* appIdOfProcess)(HANDLE, UINT32*, PWSTR);           // GetApplicationUserModelId
    HRESULT(WINAPI* itemInKnownFolder)(REFKNOWNFOLDERID, DWORD, PCWSTR, REFIID, void**);  // SHCreateItemInKnownFolder
};
Seam<store_logo_functions_t>& StoreLogoFunctions();

// The logo of the app the window belongs to, size x size pixels with its alpha; null
// when the window is no app's or the system has none of these functions. Kept in the
// cache per app and size.
HICON StoreLogoOf(HWND window, int size, IconCache& cache);
