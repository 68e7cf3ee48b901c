// Settings text: ParseIniText on raw bytes never throws and never reads past the
// text; the cache only grows as the text goes on.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "support/ini_text.h"

namespace {

ini_parse_result_t Parse(const std::string& text, IniCache& cache)
{
    try {
        return ParseIniText(text, cache);
    } catch (...) {
        FUZZ_CHECK(!"ParseIniText threw");
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    IniCache cache;
    ini_parse_result_t result = Parse(text, cache);

    size_t lineFeeds = 0;
    for (char c : text) lineFeeds += c == '\n';
    FUZZ_CHECK(cache.size() + (result.duplicate ? 1 : 0) <= lineFeeds);  // only a line feed enters a pair
    for (const auto& entry : cache) {
        FUZZ_CHECK(entry.first.find('.') != std::string::npos);
        FUZZ_CHECK(entry.first.find('\n') == std::string::npos);
        FUZZ_CHECK(entry.second.find('\n') == std::string::npos);
    }
    if (result.duplicate) {
        FUZZ_CHECK(result.key.find('\n') == std::string::npos);
        FUZZ_CHECK(result.value.find('\n') == std::string::npos);
    }

    // Every prefix holds a part of the whole text's cache; a prefix that already
    // stopped at a duplicate holds all of it.
    if (size == 0) return 0;
    size_t cut = data[0] % size;
    IniCache partial;
    ini_parse_result_t partResult = Parse(text.substr(0, cut), partial);
    for (const auto& entry : partial) {
        auto found = cache.find(entry.first);
        FUZZ_CHECK(found != cache.end() && found->second == entry.second);
    }
    if (partResult.duplicate) {
        FUZZ_CHECK(result.duplicate && partial == cache);
        FUZZ_CHECK(partResult.key == result.key && partResult.value == result.value);
    }
    return 0;
}
