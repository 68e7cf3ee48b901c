#include "tests/common/default_settings.h"

#include <cstring>

#include "plugin/records/hint_settings.h"
#include "support/bounded_text.h"

void UseDefaultSettings()
{
    memset(&HintSettings, 0, sizeof HintSettings);
    HintSettings.Enable = 1;
    HintSettings.NmlBorderColor = RGB(247, 247, 0);
    HintSettings.NmlBgColor = RGB(255, 255, 128);
    HintSettings.MinBorderColor = RGB(212, 212, 212);
    HintSettings.MinBgColor = RGB(255, 255, 255);
    CopyText(HintSettings.FontName, "MS UI Gothic");
    HintSettings.FontSize = 10;
    HintSettings.IsNoOver = 1;
    HintSettings.IsShowIcon = 1;
}
