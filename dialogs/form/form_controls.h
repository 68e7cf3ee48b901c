#pragma once
// The form's own controls: the colour swatch, a window class of ours, and the tab
// control's subclass that leaves the shown page to paint itself.
#include <windows.h>

#include <vector>

namespace form {

// One name, in the two forms the template (wide) and the registration (ANSI) take.
constexpr char kSwatchClass[] = "ZlvnColorSwatch";
constexpr wchar_t kSwatchClassW[] = L"ZlvnColorSwatch";

// The swatch control's messages: the colour (COLORREF) in wParam / as the result.
constexpr UINT kSwatchSetColour = WM_USER + 1;
constexpr UINT kSwatchGetColour = WM_USER + 2;

// The swatch class is registered while any form is shown, and taken away after the
// last one: a DLL must remove its classes itself before it is unloaded.
void UseSwatchClass();
void ReleaseSwatchClass();

// The windows of a form's pages. The form, which outlives its tab control, keeps them.
class PageWindows : public std::vector<HWND> {
public:
    // The tab control paints around the pages instead of over them, for as long as it lives.
    void KeepUnpaintedBy(HWND tabs);
    LRESULT OnTabsMessage(HWND tabs, UINT msg, WPARAM wParam, LPARAM lParam);
};

// The module that holds this code (the plug-in, or a test program that links it).
HINSTANCE CodeModule();

}  // namespace form
