#include "hint/hint_font.h"

#include "plugin/records/font_binder.h"

GdiObject<HFONT> MakeHintFont(const hint_settings_t& settings, UINT dpi)
{
    // The point size at the hint's own DPI: a thread that is not DPI-aware reads 96 from
    // LOGPIXELSY whatever the scale.
    LOGFONTA font = FontFromSettings(settings, static_cast<int>(dpi));
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    return GdiObject<HFONT>(CreateFontIndirectA(&font));
}
