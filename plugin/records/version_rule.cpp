#include "plugin/records/version_rule.h"

#include <cstring>

const char* SkipVersionPrefix(const char* i_text)
{
    static const char kPrefix[] = "version ";
    return strncmp(i_text, kPrefix, sizeof kPrefix - 1) == 0 ? i_text + sizeof kPrefix - 1 : i_text;
}

bool VersionInRange(const char* i_version, const char* i_lower, const char* i_upper)
{
    return strcmp(i_version, i_lower) >= 0 && strcmp(i_version, i_upper) < 0;
}
