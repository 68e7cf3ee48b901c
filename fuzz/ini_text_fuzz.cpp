// Settings text: the file's bytes decoded as the platform's reader decodes them, then
// parsed. Nothing throws or reads past the text; every name and value found is one
// that a read of that name answers, in any letter case; decoding UTF-16 to UTF-8 and
// back gives the same text.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "support/ini/ini_encoding.h"
#include "support/ini/ini_text.h"

namespace {

bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == 0x1a || c == ' '; }

std::string FlipAsciiCase(std::string name)
{
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

// A name is trimmed and then cut at a NUL, as the platform's reader does, so a name
// that ends in a blank (one that stood before a NUL) is one no read can ask for.
bool CheckName(const std::string& name)
{
    FUZZ_CHECK(name.find('\n') == std::string::npos && name.find('\r') == std::string::npos);
    FUZZ_CHECK(name.find('\0') == std::string::npos);
    FUZZ_CHECK(name.empty() || !IsBlank(name.front()));
    return name.empty() || !IsBlank(name.back());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    size_t mark = 0;
    IniEncoding encoding = DetectIniEncoding(bytes, &mark);
    FUZZ_CHECK(mark <= size);
    std::string text;
    try {
        if (encoding == IniEncoding::Utf16Le || encoding == IniEncoding::Utf16Be) {
            std::u16string wide = Utf16FromBytes(bytes.substr(mark), encoding == IniEncoding::Utf16Be);
            text = Utf8FromUtf16(wide);
            FUZZ_CHECK(Utf16FromUtf8(text) == wide);
        } else {
            // ANSI and UTF-8 files alike: the raw bytes stand in for the decoded text.
            text = bytes.substr(mark);
        }
        IniCache cache;
        ParseIniText(text, cache);
        for (const auto& section : cache) {
            const bool sectionAsked = CheckName(section.first);
            for (const auto& key : section.second) {
                const bool keyAsked = CheckName(key.first);
                FUZZ_CHECK(key.second.find('\n') == std::string::npos && key.second.find('\0') == std::string::npos);
                if (!sectionAsked || !keyAsked) continue;
                const std::string* found = FindIniValue(cache, FlipAsciiCase(section.first), FlipAsciiCase(key.first));
                FUZZ_CHECK(found != nullptr && *found == key.second);
            }
        }
    } catch (...) {
        FUZZ_CHECK(!"the settings reader threw");
    }
    return 0;
}
