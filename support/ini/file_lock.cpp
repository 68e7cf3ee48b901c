#include "support/ini/file_lock.h"

#include <cstdint>

#include "support/pumped_wait.h"

namespace {

// Another host's save takes milliseconds; one that hangs longer does not hold ours. The
// replace is whole on its own: the lock only keeps two saves from interleaving.
constexpr DWORD kLockWaitMs = 1000;

}  // namespace

std::wstring FileLockName(const std::wstring& i_path)
{
    std::wstring upper = i_path;
    if (!upper.empty()) CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : upper) hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
    wchar_t name[64];
    wsprintfW(name, L"Local\\ZlvnHint-%08lx%08lx", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash & 0xFFFFFFFFu));
    return name;
}

// Full access would be refused on a mutex that an elevated host made first.
FileLock::FileLock(const std::wstring& i_path)
    : m_mutex(CreateMutexExW(nullptr, FileLockName(i_path).c_str(), 0, SYNCHRONIZE | MUTEX_MODIFY_STATE))
{
    // Abandoned counts as owned: a host was stopped while it held the lock; the file is
    // whole all the same.
    if (m_mutex.Valid()) m_owned = WaitAnsweringSentMessages(m_mutex.Get(), kLockWaitMs);
}

// Released here; the member closes the handle after.
FileLock::~FileLock()
{
    if (m_owned) ReleaseMutex(m_mutex.Get());
}
