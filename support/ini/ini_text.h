#pragma once
// The settings file's text as the platform's profile reader reads it. Lines end at any
// run of CR and LF; blanks (tab, LF, VT, FF, CR, ^Z, space) around lines, section names,
// key names and values are dropped; "[name]" opens a section (up to the line's last ']');
// every other line is a key, split at its first '=' (a line without '=' is a key with no
// value). Names compare without regard to ASCII letter case; the first section of a name
// and the first key of a name in it count, later ones are never read.
#include <cstddef>
#include <map>
#include <string>

// Orders names as the reader matches them: ASCII letters without case, other bytes as they are.
struct IniNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

using IniSection = std::map<std::string, std::string, IniNameLess>;  // key name -> value
using IniCache = std::map<std::string, IniSection, IniNameLess>;     // section name -> its keys

// One line of settings text as the reader splits and reads it; positions index the text.
struct ini_line_t {
    size_t begin = 0, end = 0;            // the line without blanks around it (equal: a blank line)
    size_t lineEnd = 0;                   // where its run of CR and LF starts
    size_t next = 0;                      // where the next line starts
    bool header = false;                  // "[name]"
    std::string name;                     // the section's or key's name, as the reader compares it
    bool hasValue = false;                // a key line with an '='
    size_t valueBegin = 0, valueEnd = 0;  // the value without blanks around it
};

// The line that starts at i_at. i_leadByte is null for UTF-8 text; for text in a double-byte
// code page it names the bytes that start a two-byte character, whose second byte may be ']'.
ini_line_t ReadIniLine(const std::string& i_text, size_t i_at, bool (*i_leadByte)(unsigned char));

// Whether two names are the same name to the reader.
bool SameIniName(const std::string& a, const std::string& b);

// Fills o_cache (emptied first) with every value that a reader of i_text answers: the
// first section of each name, the first key of each name in it when that key has a
// value, quotes around the value removed. Lines before the first section header form
// the section with the empty name. i_text is UTF-8 (bytes below 0x80 are whole
// characters); names and values stay in it, each cut at its first NUL.
void ParseIniText(const std::string& i_text, IniCache& o_cache);

// The value that a read of i_section and i_key finds in i_cache (blanks around both
// names dropped, as the reader does), or null when the read yields its default.
const std::string* FindIniValue(const IniCache& i_cache, const std::string& i_section, const std::string& i_key);

// A cached value read as an integer: leading white space, one sign, decimal digits
// up to the first other byte; 0 without digits. Beyond the int range it saturates,
// as the 32-bit strtol of the plug-in's own platform does.
int IniTextToInt(const std::string& i_value);
