#pragma once
// A named lock per file, so that two hosts never interleave their saves of it. It never
// refuses and never stalls: it asks only for the rights a waiter needs (a lock made
// first by an elevated host lets a normal one in), waits in short steps that answer the
// messages sent to the thread, and after its wait the caller goes on without it.
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
