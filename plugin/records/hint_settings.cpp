#include "plugin/records/hint_settings.h"
#include "plugin/records/globals.h"

hint_settings_t HintSettings;

font_style_t UnpackFontStyle(int bits)
{
    font_style_t style;
    style.Bold = (bits & 1) ? 1 : 0;
    style.Italic = (bits & 2) ? 1 : 0;
    style.Underline = (bits & 4) ? 1 : 0;
    style.StrikeOut = (bits & 8) ? 1 : 0;
    return style;
}

int PackFontStyle(const font_style_t& style)
{
    return (style.Bold ? 1 : 0) + (style.Italic ? 2 : 0) + (style.Underline ? 4 : 0) + (style.StrikeOut ? 8 : 0);
}
