// Settings edits: for any file bytes and edits, the reader reads back exactly the edited
// values and every other key as it was; without edits the bytes stay as they were.
// Input: one byte for the number of edits (0-3), one byte per edit choosing its section,
// key and value, then the file's bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "support/ini_edit.h"
#include "support/ini_encoding.h"
#include "support/ini_text.h"
#include "support/lead_byte.h"

namespace {

const char* const kSections[] = {"Form", "General", "form", "A", ""};
const char* const kKeys[] = {"Pos", "Enable", "x", "pos"};
// Values the reader reads back as they are: no blank or quote at either end, no line end.
const char* const kValues[] = {"0", "12345", "v a l", "=x", "[S]", ""};

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// The text the reader parses: UTF-16 decoded; in an ANSI file each double-byte character
// becomes a non-ASCII UTF-8 character, as the platform's decoding makes it (which one
// does not matter here: no such character ever reads as ASCII).
std::string ReaderText(const std::string& bytes)
{
    size_t mark = 0;
    IniEncoding encoding = DetectIniEncoding(bytes, &mark);
    const std::string body = bytes.substr(mark);
    if (encoding == IniEncoding::Utf16Le || encoding == IniEncoding::Utf16Be)
        return Utf8FromUtf16(Utf16FromBytes(body, encoding == IniEncoding::Utf16Be));
    if (encoding == IniEncoding::Utf8) return body;
    std::string text;
    for (size_t i = 0; i < body.size(); ++i) {
        auto c = static_cast<unsigned char>(body[i]);
        if (c < 0x80) {
            text += body[i];
        } else if (IsLeadByte(c) && i + 1 < body.size() && IsTrailByte(static_cast<unsigned char>(body[i + 1]))) {
            text += "\xe3\x80\x80";
            ++i;
        } else {
            text += "\xc2\x80";
        }
    }
    return text;
}

IniCache Read(const std::string& bytes)
{
    IniCache cache;
    ParseIniText(ReaderText(bytes), cache);
    return cache;
}

// The same names and values, names compared as the reader compares them.
bool SameCache(const IniCache& a, const IniCache& b)
{
    if (a.size() != b.size()) return false;
    for (const auto& section : a) {
        auto other = b.find(section.first);
        if (other == b.end() || other->second.size() != section.second.size()) return false;
        for (const auto& key : section.second) {
            auto found = other->second.find(key.first);
            if (found == other->second.end() || found->second != key.second) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const size_t count = data[0] % 4;
    if (size < 1 + count) return 0;
    std::vector<ini_edit_t> edits;
    IniCache expected;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1 + count, size - 1 - count);
    try {
        expected = Read(bytes);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t choice = data[1 + i];
            edits.push_back({kSections[choice % 5], kKeys[choice / 5 % 4], kValues[choice / 20 % 6]});
            expected[edits.back().section][edits.back().key] = edits.back().value;
        }
        const std::string edited = EditIniFile(bytes, edits);
        FUZZ_CHECK(!edits.empty() || edited == bytes);
        FUZZ_CHECK(SameCache(Read(edited), expected));
    } catch (...) {
        FUZZ_CHECK(!"the settings editor threw");
    }
    return 0;
}
