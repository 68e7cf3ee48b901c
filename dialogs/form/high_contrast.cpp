#include "dialogs/form/high_contrast.h"

#include "plugin/records/guard.h"

namespace form {

namespace {

BOOL CALLBACK TellColoursChanged(HWND child, LPARAM)
{
    return Guarded("TellColoursChanged", TRUE, [child] {
        SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
        return TRUE;
    });
}

}  // namespace

bool HighContrastOn()
{
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

COLORREF LinkColour()
{
    return HighContrastOn() ? GetSysColor(COLOR_HOTLIGHT) : RGB(0, 0, 255);
}

void RepaintInNewColours(HWND form, UINT msg)
{
    if (msg == WM_SYSCOLORCHANGE) EnumChildWindows(form, TellColoursChanged, 0);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace form
