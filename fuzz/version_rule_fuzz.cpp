// The version rule: the "version " prefix is skipped exactly, and the range test is
// the bytewise order of the texts (lower <= version < upper).
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "plugin/records/version_rule.h"

namespace {

// Bytewise order, each byte unsigned, as strcmp compares.
int Order(const std::string& a, const std::string& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Up to three texts split at NUL bytes: the version, then bounds of our own.
    std::string parts[3];
    size_t part = 0;
    for (size_t i = 0; i < size && part < 3; ++i) {
        if (data[i] == 0) ++part;
        else parts[part] += static_cast<char>(data[i]);
    }
    std::unique_ptr<char[]> version = ExactCString(parts[0].data(), parts[0].size());

    const char* rest = SkipVersionPrefix(version.get());
    bool prefixed = parts[0].compare(0, 8, "version ") == 0;
    FUZZ_CHECK(rest == version.get() + (prefixed ? 8 : 0));

    const std::string host = rest;
    FUZZ_CHECK(VersionInRange(rest, kHostVersionLower, kHostVersionUpper) ==
               (Order(host, kHostVersionLower) >= 0 && Order(host, kHostVersionUpper) < 0));
    std::unique_ptr<char[]> lower = ExactCString(parts[1].data(), parts[1].size());
    std::unique_ptr<char[]> upper = ExactCString(parts[2].data(), parts[2].size());
    bool inRange = VersionInRange(rest, lower.get(), upper.get());
    FUZZ_CHECK(inRange == (Order(host, parts[1]) >= 0 && Order(host, parts[2]) < 0));
    if (inRange) FUZZ_CHECK(Order(parts[1], parts[2]) < 0);  // an empty range accepts nothing
    return 0;
}
