#include "tests/common/default_settings.h"

#include "plugin/records/globals.h"
#include "plugin/records/setting_keys.h"

void UseDefaultSettings() { HintSettings = DefaultSettings(); }
