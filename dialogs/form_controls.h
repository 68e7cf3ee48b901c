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
constexpr UINT kSwatchSetColor = WM_USER + 1;
constexpr UINT kSwatchGetColor = WM_USER + 2;

// The swatch class is registered while any form is shown, and taken away after the
// last one: a DLL must remove its classes itself before it is unloaded.
void UseSwatchClass();
void ReleaseSwatchClass();

// The tab control paints around the pages (listed by the form, which outlives the
// control) instead of over them; the subclass goes with the control.
void KeepPagesUnpainted(HWND tabs, const std::vector<HWND>* pages);

// The module that holds this code (the plug-in, or a test program that links it).
HINSTANCE CodeModule();

}  // namespace form
