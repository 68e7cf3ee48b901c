// Must not compile: a table one row short of kSettingKeyCount, bound as the real one is.
#include "plugin/records/setting_keys.h"

const setting_key_t kShortRows[kSettingKeyCount - 1] = {};
const setting_key_t (&kShortTable)[kSettingKeyCount] = kShortRows;
