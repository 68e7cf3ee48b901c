#pragma once
// How the host's version text is judged; no window or host call involved.

// The host versions the plug-in accepts: from the lower one up to, not including, the upper.
constexpr char kHostVersionLower[] = "0.9.6.33";
constexpr char kHostVersionUpper[] = "1.0.0.0";

// Skips a leading "version " (with its blank) when present.
const char* SkipVersionPrefix(const char* i_text);

// Byte-by-byte comparison: true when lower <= version < upper. Textual, not
// numeric, so "0.9.10.0" is smaller than "0.9.6.33".
bool VersionInRange(const char* i_version, const char* i_lower, const char* i_upper);
