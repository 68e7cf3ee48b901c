// On well-formed files (unique names, exact case, no spaces, no comments) preload
// must read every key exactly as the system's profile reader does.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/ini_file.h"
#include "tests/common/temp_dir.h"

namespace {

struct generated_file_t {
    std::string text;
    std::vector<std::pair<std::string, std::string>> keys;  // (section, key)
};

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

// Names unique without regard to case, since the system's reader ignores case.
std::string UniqueName(std::mt19937& random, std::set<std::string>& used)
{
    static const char kFirst[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    static const char kRest[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.-";
    for (;;) {
        std::string name(1, kFirst[random() % (sizeof kFirst - 1)]);
        size_t length = random() % 12;
        for (size_t i = 0; i < length; ++i) name += kRest[random() % (sizeof kRest - 1)];
        if (used.insert(Lower(name)).second) return name;
    }
}

std::string Value(std::mt19937& random)
{
    static const char kChars[] = "ABCXYZabcxyz0123456789_.,:/\\-+#!?()[]{}<>@$%&*=|~^";
    std::string value;
    if (random() % 3 == 0) value = "0x" + std::to_string(random() % 1000000);
    size_t length = random() % 8 == 0 ? 0 : random() % 80;
    for (size_t i = 0; i < length; ++i) value += kChars[random() % (sizeof kChars - 1)];
    return value;
}

generated_file_t Generate(std::mt19937& random)
{
    generated_file_t file;
    const char* eol = random() % 2 ? "\r\n" : "\n";
    std::set<std::string> sections;
    size_t sectionCount = 1 + random() % 6;
    for (size_t s = 0; s < sectionCount; ++s) {
        std::string section = UniqueName(random, sections);
        file.text += "[" + section + "]" + eol;
        std::set<std::string> keys;
        size_t keyCount = random() % 12;
        for (size_t k = 0; k < keyCount; ++k) {
            std::string key = UniqueName(random, keys);
            file.text += key + "=" + Value(random) + eol;
            file.keys.emplace_back(section, key);
        }
    }
    return file;
}

}  // namespace

TEST(PreloadAgainstSystemReader, EveryKeyOfGeneratedFilesReadsTheSame)
{
    TempDir dir;
    std::mt19937 random(3);  // fixed seed: the same files on every run
    size_t compared = 0;
    for (int n = 0; n < 300; ++n) {
        generated_file_t file = Generate(random);
        std::string path = dir.File("gen" + std::to_string(n) + ".ini");
        WriteWholeFile(path, file.text);

        IniFile ini;
        ASSERT_EQ(ResultCode::Normal, ini.Open(path.c_str(), IniFile::ModePreload)) << "file " << n;
        for (const auto& [section, key] : file.keys) {
            char expected[512];
            GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01missing", expected, sizeof expected, path.c_str());
            std::string preloaded;
            ini.ReadString(section.c_str(), key.c_str(), "\x01missing", &preloaded);
            ASSERT_EQ(std::string(expected), preloaded) << "file " << n << " [" << section << "] " << key << "\n"
                                                        << file.text;
            ++compared;
        }
        ini.Close();
    }
    EXPECT_GT(compared, 4000u);
}
