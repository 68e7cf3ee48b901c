#include "plugin/records/font_binder.h"

#include "support/bounded_text.h"

LOGFONTA FontFromSettings(const hint_settings_t& s, int dpi)
{
    LOGFONTA font = {};
    font.lfHeight = MulDiv(s.FontSize, -dpi, 72);
    font.lfWeight = s.FontStyle.Bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = s.FontStyle.Italic ? 1 : 0;
    font.lfUnderline = s.FontStyle.Underline ? 1 : 0;
    font.lfStrikeOut = s.FontStyle.StrikeOut ? 1 : 0;
    CopyText(font.lfFaceName, s.FontName);
    return font;
}

void FontIntoSettings(const LOGFONTA& font, int dpi, hint_settings_t& s)
{
    CopyText(s.FontName, font.lfFaceName);
    s.FontSize = MulDiv(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight, 72, dpi);
    s.FontStyle.Bold = font.lfWeight >= FW_BOLD ? 1 : 0;
    s.FontStyle.Italic = font.lfItalic ? 1 : 0;
    s.FontStyle.Underline = font.lfUnderline ? 1 : 0;
    s.FontStyle.StrikeOut = font.lfStrikeOut ? 1 : 0;
}
