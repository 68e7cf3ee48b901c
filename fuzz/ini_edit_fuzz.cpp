// Settings edits: for any file and edits, the reader reads back exactly the edited values
// and every other key as it was; without edits the bytes stay. Input: a byte for the
// number of edits (0-3), a byte per edit choosing section, key and value, then the file.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "support/ini/ini_edit.h"
#include "support/ini/ini_encoding.h"
#include "support/ini/ini_text.h"
#include "support/lead_byte.h"

namespace {

const char* const kSections[] = {"Form", "General", "form", "A", ""};
const char* const kKeys[] = {"Pos", "Enable", "x", "pos"};
// Values the reader reads back as they are: no blank or quote at either end, no line end.
const char* const kValues[] = {"0", "12345", "v a l", "=x", "[S]", ""};

// What the reader parses: UTF-16 decoded; in an ANSI file a double-byte character (a lead
// byte and a valid second byte) or any other byte above ASCII becomes some non-ASCII
// character, as the platform's decoding makes it.
IniCache Read(const std::string& bytes)
{
    size_t mark = 0;
    const IniEncoding encoding = DetectIniEncoding(bytes, &mark);
    std::string text = bytes.substr(mark);
    if (encoding == IniEncoding::Utf16Le || encoding == IniEncoding::Utf16Be) {
        text = Utf8FromUtf16(Utf16FromBytes(text, encoding == IniEncoding::Utf16Be));
    } else if (encoding == IniEncoding::Ansi) {
        std::string decoded;
        for (size_t i = 0; i < text.size(); ++i) {
            auto c = static_cast<unsigned char>(text[i]), next = static_cast<unsigned char>(i + 1 < text.size() ? text[i + 1] : 0);
            bool pair = IsLeadByte(c) && ((next >= 0x40 && next <= 0x7E) || (next >= 0x80 && next <= 0xFC));
            decoded += c < 0x80 ? std::string(1, text[i]) : pair ? "\xe3\x80\x80" : "\xc2\x80";
            i += pair;
        }
        text = decoded;
    }
    IniCache cache;
    ParseIniText(text, cache);
    return cache;
}

// Every key of a is in b with the same value, names compared as the reader compares them.
bool Within(const IniCache& a, const IniCache& b)
{
    for (const auto& section : a) {
        auto other = b.find(section.first);
        for (const auto& key : section.second) {
            if (other == b.end() || other->second.count(key.first) == 0 || other->second.at(key.first) != key.second) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t count = size == 0 ? 0 : data[0] % 4;
    if (size < 1 + count) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1 + count, size - 1 - count);
    try {
        IniCache expected = Read(bytes);
        std::vector<ini_edit_t> edits;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t choice = data[1 + i];
            edits.push_back({kSections[choice % 5], kKeys[choice / 5 % 4], kValues[choice / 20 % 6]});
            expected[edits.back().section][edits.back().key] = edits.back().value;
        }
        const std::string edited = EditIniFile(bytes, edits);
        FUZZ_CHECK(!edits.empty() || edited == bytes);
        const IniCache read = Read(edited);
        FUZZ_CHECK(Within(read, expected) && Within(expected, read));
    } catch (...) {
        FUZZ_CHECK(!"the settings editor threw");
    }
    return 0;
}
