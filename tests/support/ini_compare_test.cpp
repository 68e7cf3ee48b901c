// The settings file's reader (its bytes decoded, then ParseIniText) reads every key as the
// system's profile reader does, on generated files that mix everything a person may write,
// in every encoding, with bytes that do not decode.
#include "tests/common/wine_test.h"

#include <random>
#include <utility>

#include "plugin/records/setting_keys.h"
#include "support/ini/ini_file.h"

namespace {

using Random = std::mt19937;

// The keys the plug-in reads, then names no part of it reads.
const std::vector<std::pair<const char*, const char*>> kReads = [] {
    std::vector<std::pair<const char*, const char*>> reads;
    for (const setting_key_t& k : kSettingKeys) reads.emplace_back(k.section, k.key);
    reads.insert(reads.end(), {{"Form", "Extra"}, {"Other", "x"}, {"", "Enable"}, {"Form", "; note"}});
    return reads;
}();

// Stands for bytes that do not decode in the file's encoding.
const char16_t kUndecodable = u'\xe000';

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

size_t Pick(Random& random, size_t count) { return random() % count; }
bool Chance(Random& random, int percent) { return static_cast<int>(random() % 100) < percent; }

template <size_t N>
const char16_t* PickOf(Random& random, const char16_t* const (&choices)[N]) { return choices[Pick(random, N)]; }

std::u16string Widen(const char* ascii) { return std::u16string(ascii, ascii + strlen(ascii)); }

// The name in a random mix of letter cases.
std::u16string AnyCase(Random& random, std::u16string name)
{
    if (Chance(random, 50)) return name;
    for (char16_t& c : name)
        if (c < 0x80 && isalpha(c) && Chance(random, 50)) c = static_cast<char16_t>(c ^ 0x20);
    return name;
}

std::u16string Blanks(Random& random)
{
    return PickOf(random, {u"", u"", u"", u" ", u"  ", u"\t", u" \t ", u"\v", u"\f", u"\x1a"});
}

std::u16string Value(Random& random, Encoding encoding)
{
    static const char16_t* const kPieces[] = {
        u"0", u"1", u"-12", u"7x", u"0x0000ff", u"0xABCDEF", u"Shift+Ctrl+F12", u"MS UI Gothic", u"D:\\pics\\a.bmp",
        u"a=b", u"[x]", u"]", u";", u" ", u"\t", u"'", u"\"",
        u"\u8868\u30bd\u30be",  // characters whose second byte in code page 932 is '\' or ']'
        u"\u30e1\u30a4\u30ea\u30aa", u"\u30a1\u30a2", u"\uff83\uff7d\uff84", u"\u30fc\u30fb",
    };
    static const char16_t* const kUnicodeOnly[] = {u"\u00f6", u"\u2713", u"\U0001F600", u"\u00a0", u"\u212a"};
    std::u16string value;
    size_t pieces = Pick(random, 5);
    for (size_t i = 0; i < pieces; ++i) {
        if (encoding != Encoding::Ansi && Chance(random, 10)) {
            value += PickOf(random, kUnicodeOnly);
        } else if (Chance(random, 2)) {
            value += Chance(random, 50) ? kUndecodable : u'\0';
        } else {
            value += PickOf(random, kPieces);
        }
    }
    if (Chance(random, 15)) {
        char16_t quote = Chance(random, 50) ? u'"' : u'\'';
        value = quote + value + (Chance(random, 80) ? std::u16string(1, quote) : u"");
    }
    return value;
}

// A section header, sometimes broken.
std::u16string Header(Random& random, const char* section)
{
    std::u16string line = Blanks(random) + u"[" + Blanks(random) + AnyCase(random, Widen(section)) + Blanks(random);
    if (Chance(random, 95)) line += u"]";
    if (Chance(random, 5)) line += Chance(random, 50) ? u" trailing" : u"]x]";
    return line;
}

// One line inside the section, without its line end: mostly a key of that section.
std::u16string Line(Random& random, Encoding encoding, const char* section)
{
    std::vector<const char*> own;
    for (const auto& read : kReads)
        if (strcmp(read.first, section) == 0) own.push_back(read.second);
    const char* name = !own.empty() && Chance(random, 85) ? own[Pick(random, own.size())]
                                                          : kReads[Pick(random, kReads.size())].second;
    std::u16string key = AnyCase(random, Widen(name));
    switch (Pick(random, 20)) {
    case 0:  // a comment, perhaps with '='
        return Blanks(random) + (Chance(random, 70) ? u";" : u"#") + Value(random, encoding);
    case 1:  // a name without '='
        return Blanks(random) + key + Blanks(random);
    case 2:  // a blank line
        return Blanks(random);
    case 3:  // an empty name
        return Blanks(random) + u"=" + Value(random, encoding);
    default:
        return Blanks(random) + key + Blanks(random) + u"=" + Blanks(random) + Value(random, encoding) + Blanks(random);
    }
}

std::u16string Text(Random& random, Encoding encoding)
{
    static const char16_t* const kEnds[] = {u"\n", u"\r\n", u"\r", u"\n\r", u"\r\n\r\n"};
    size_t style = Pick(random, 4);  // one line end for all lines, or any per line
    static const char* const kSections[] = {"General", "Form", "Form", "ShortcutKey", "Other", ""};
    std::vector<std::u16string> lines;
    const char* section = "";  // lines before the first header
    for (size_t block = 0, blocks = 1 + Pick(random, 6); block < blocks; ++block) {
        if (block > 0 || Chance(random, 80)) {
            section = kSections[Pick(random, 6)];
            lines.push_back(Header(random, section));
        }
        for (size_t n = Pick(random, 20); n > 0; --n) lines.push_back(Line(random, encoding, section));
    }
    std::u16string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || Chance(random, 50)) text += kEnds[style < 3 ? style : Pick(random, 5)];
    }
    return text;
}

// The text in a code page, as the system converts it.
std::string Narrow(const std::u16string& text, UINT codePage)
{
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.c_str());
    int size = WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

// The file's bytes: the text in its encoding, behind its byte order mark.
std::string Encode(Random& random, std::u16string text, Encoding encoding)
{
    if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
        std::replace(text.begin(), text.end(), kUndecodable, u'\xd800');
        return Utf16FileBytes(text, encoding == Encoding::Utf16Be);
    }
    static const char* const kAnsiJunk[] = {"\x83", "\x80", "\xa0", "\xfd", "\x81\x7f"};
    static const char* const kUtf8Junk[] = {"\xff", "\x80", "\xe3\x82", "\xc3"};
    const UINT codePage = encoding == Encoding::Ansi ? CP_ACP : CP_UTF8;
    std::string bytes = encoding == Encoding::Utf8 ? "\xef\xbb\xbf" : "";
    size_t begin = 0;
    for (size_t end; (end = text.find(kUndecodable, begin)) != std::u16string::npos; begin = end + 1) {
        bytes += Narrow(text.substr(begin, end - begin), codePage);
        bytes += encoding == Encoding::Ansi ? kAnsiJunk[Pick(random, 5)] : kUtf8Junk[Pick(random, 4)];
    }
    return bytes + Narrow(text.substr(begin), codePage);
}

}  // namespace

TEST(PreloadAgainstSystemReader, EveryKeyOfGeneratedFilesReadsTheSame)
{
    const unsigned seed = 20261207;  // fixed: the same files on every run
    const int files = 3000;
    Random random(seed);
    TempDir dir;
    // One path for all files: the system's reader reloads a file whose write time changed.
    const std::string path = dir.File("generated.ini");
    size_t compared = 0, fromFile = 0;
    for (int n = 0; n < files; ++n) {
        static const Encoding kEncodings[] = {Encoding::Ansi, Encoding::Ansi, Encoding::Ansi,
                                              Encoding::Utf8, Encoding::Utf16Le, Encoding::Utf16Be};
        const Encoding encoding = kEncodings[Pick(random, 6)];
        const std::string bytes = Encode(random, Text(random, encoding), encoding);
        WriteWholeFile(path, bytes);

        IniFile ini;
        ASSERT_EQ(ResultCode::Normal, ini.OpenPreloaded(path.c_str(), bytes)) << "file " << n;
        for (const auto& [section, key] : kReads) {
            char expected[4096];
            GetPrivateProfileStringA(section, key, "\x01", expected, sizeof expected, path.c_str());
            std::string preloaded;
            if (ini.Lookup(section, key, &preloaded) != ResultCode::Normal) preloaded = "\x01";
            ASSERT_EQ(std::string(expected), preloaded) << "seed " << seed << " file " << n << " [" << section << "] "
                                                        << key << "\n" << bytes;
            ++compared;
            fromFile += preloaded != "\x01";
        }
    }
    printf("%d generated files (seed %u), %zu reads compared, %zu found in the file\n", files, seed, compared, fromFile);
    // A good share of reads must find a value in the file, or the comparison proves little.
    EXPECT_GT(fromFile, compared / 5);
}
