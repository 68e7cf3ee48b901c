#pragma once
// The dialogs in a high-contrast theme: the few places that draw colours of their own
// take the system's pairs instead while the theme is on.
#include <windows.h>

namespace form {

// Whether the user has a high-contrast theme on (asked each time: it can change at any moment).
bool HighContrastOn();

// The link's text: blue, or the system's hyperlink colour in high contrast.
COLORREF LinkColour();

// The colours changed (WM_SYSCOLORCHANGE) or the theme did (WM_THEMECHANGED): the common
// controls inside the form hear of a colour change, as only top-level windows do, and the
// form is painted again whole.
void RepaintInNewColours(HWND form, UINT msg);

}  // namespace form
