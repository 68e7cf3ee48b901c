#pragma once
// One snapshot of the host's window list, read through a host table of its own.
#include <climits>
#include <cstddef>
#include <new>

#include "plugin/records/host_api.h"
#include "plugin/records/zlvn_interface.h"

class GetZlvnList {
public:
    // Slack for a list that grows between the count and the read.
    static constexpr int kExtraRecords = 10;

    GetZlvnList() : m_count(0), m_buf(nullptr), m_end(nullptr), m_read(false)
    {
        int ignored = 0;  // the size on the counting call is of no account
        m_count = m_api.GetList(nullptr, &ignored);
        if (m_count <= 0) {
            m_read = m_count == 0;  // an empty list; a negative count is a host that failed
            return;
        }
        long long capacity = static_cast<long long>(m_count) + kExtraRecords;
        long long bytes = capacity * static_cast<long long>(sizeof(ZlvnList));
        if (bytes > INT_MAX) return;  // no buffer can be made: the list is not read
        int size = static_cast<int>(bytes);
        m_buf = new (std::nothrow) unsigned char[size]();
        if (m_buf == nullptr) return;
        int read = m_api.GetList(m_buf, &size);
        m_end = m_buf;
        if (read < 0) return;
        if (read > capacity) read = static_cast<int>(capacity);
        m_end = m_buf + read * sizeof(ZlvnList);
        m_read = true;
    }
    ~GetZlvnList() { delete[] m_buf; }
    GetZlvnList(const GetZlvnList&) = delete;
    GetZlvnList& operator=(const GetZlvnList&) = delete;

    const ZlvnList* begin() const { return reinterpret_cast<const ZlvnList*>(m_buf); }
    const ZlvnList* end() const { return m_buf ? reinterpret_cast<const ZlvnList*>(m_end) : nullptr; }
    int Count() const { return m_count; }
    // False when the list could not be read (no buffer, or the host failed): then the
    // snapshot holds no records, and they say nothing about the host's list.
    bool Read() const { return m_read; }

private:
    ZlvnAPI m_api;
    int m_count;
    unsigned char* m_buf;
    unsigned char* m_end;
    bool m_read;
};
