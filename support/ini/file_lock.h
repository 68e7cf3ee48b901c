#pragma once
// A named lock per file, so that two hosts never interleave their saves of it. It never
// stalls a save and never fails one: it asks only for the rights a waiter needs, waits in
// short steps that answer the messages sent to the thread (the host's code, and calls of
// the plug-in from it, may run there), and when it cannot be had (a lock that an elevated
// host made first may still refuse a normal one) or its wait ends, the caller goes on
// without it: the replace is whole on its own.
#include <windows.h>

#include <string>

#include "support/owners.h"

// "Local\ZlvnHint-" and a hash of the upper-cased path (a mutex name may not hold '\').
std::wstring FileLockName(const std::wstring& i_path);

class FileLock {
public:
    explicit FileLock(const std::wstring& i_path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Owned() const { return m_owned; }

private:
    HandleOwner m_mutex;
    bool m_owned = false;
};
