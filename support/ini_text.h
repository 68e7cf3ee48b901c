#pragma once
// The settings file's text as preload reads it: a byte-by-byte state machine that
// trims nothing and folds stray text into the next key. Cache keys are
// section + "." + key; keys compare bytewise, so names are case-sensitive.
#include <map>
#include <string>

using IniCache = std::map<std::string, std::string>;

struct ini_parse_result_t {
    bool duplicate = false;  // parsing stopped at a section and key already cached
    std::string key;         // that pair's key name (without the section) ...
    std::string value;       // ... and its value
};

// Enters every pair of i_text that a line feed ends into io_cache, in file order.
// A carriage return directly before a line feed is dropped. Stops at the first
// duplicate; the pairs before it stay entered.
ini_parse_result_t ParseIniText(const std::string& i_text, IniCache& io_cache);

// A cached value read as an integer: leading white space, one sign, decimal digits
// up to the first other byte; 0 without digits. Beyond the int range it saturates,
// as the 32-bit strtol of the plug-in's own platform does.
int IniTextToInt(const std::string& i_value);
