#pragma once
// Icons read from a file or a package, kept per name and size by the set of hints for as
// long as it lives: its hints borrow them, and reading them again at every showing would
// open the file or ask the shell each time.
#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "support/owners.h"

class IconCache {
public:
    // The icon kept for name at size; the first time, read() makes it (null: there is none,
    // which is remembered too and not asked again).
    template <typename Read>
    HICON Find(const std::wstring& name, int size, Read read)
    {
        auto key = std::make_pair(name, size);
        auto found = m_icons.find(key);
        if (found != m_icons.end()) return found->second.Get();
        // The entry first: a failed allocation then leaves no icon without an owner.
        IconOwner& icon = m_icons.emplace(key, IconOwner()).first->second;
        icon.Reset(read());
        return icon.Get();
    }

private:
    std::map<std::pair<std::wstring, int>, IconOwner> m_icons;
};

// The program icons and the Store logos, which the hints' icon search reads.
struct hint_icon_caches_t {
    IconCache programs;
    IconCache logos;
};
