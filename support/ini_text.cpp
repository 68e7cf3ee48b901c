#include "support/ini_text.h"

#include <climits>
#include <cstdlib>

namespace {

enum class ParseState { BeforeFirstSection, SectionName, Key, Value };

}  // namespace

ini_parse_result_t ParseIniText(const std::string& i_text, IniCache& io_cache)
{
    ini_parse_result_t result;
    std::string section, key, value;
    ParseState state = ParseState::BeforeFirstSection;
    char previous = '\n';  // the start of the text counts as the start of a line

    for (size_t i = 0; i < i_text.size(); ++i) {
        const char byte = i_text[i];
        if (byte == '\r' && i + 1 < i_text.size() && i_text[i + 1] == '\n') continue;

        if (byte == '[' && previous == '\n') {
            section.clear();  // the key text is kept: it carries into the next section
            state = ParseState::SectionName;
        } else if (byte == ']' && state == ParseState::SectionName) {
            state = ParseState::Key;
        } else if (byte == '=' && state == ParseState::Key) {
            state = ParseState::Value;
        } else if (byte == '\n' && (state == ParseState::SectionName || state == ParseState::Key)) {
            // A line without '=' adds its bytes to the next key's name.
        } else if (byte == '\n' && state == ParseState::Value) {
            if (!io_cache.emplace(section + "." + key, value).second) {
                result.duplicate = true;
                result.key = key;
                result.value = value;
                return result;
            }
            key.clear();
            value.clear();
            state = ParseState::Key;
        } else if (state == ParseState::SectionName) {
            section += byte;
        } else if (state == ParseState::Key) {
            key += byte;
        } else if (state == ParseState::Value) {
            value += byte;
        }
        previous = byte;
    }
    // A pair that no line feed ends is not entered.
    return result;
}

int IniTextToInt(const std::string& i_value)
{
    // long long is 64 bits everywhere; a text beyond it saturates there first.
    long long value = strtoll(i_value.c_str(), nullptr, 10);
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
