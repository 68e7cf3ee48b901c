#include "hint/hint_font.h"

GdiObject<HFONT> MakeHintFont(const hint_settings_t& settings, UINT dpi)
{
    const font_style_t& style = settings.FontStyle;
    // The point size at the hint's own DPI: a thread that is not DPI-aware reads 96 from
    // LOGPIXELSY whatever the scale.
    int height = MulDiv(settings.FontSize, -static_cast<int>(dpi), 72);
    return GdiObject<HFONT>(CreateFontA(height, 0, 0, 0, style.Bold ? FW_BOLD : FW_NORMAL, style.Italic ? 1 : 0,
                                        style.Underline ? 1 : 0, style.StrikeOut ? 1 : 0, SHIFTJIS_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN,
                                        settings.FontName));
}
