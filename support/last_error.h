#pragma once
// The record of the support library's latest failure. There is one process-wide
// record; every recorded failure overwrites it whole. A LastError constructed by a
// caller is a snapshot of that record, taken at construction.
#include <cstddef>
#include <cstdint>

#include "support/result_code.h"
#include "support/source_file.h"

class LastError {
public:
    // Takes a snapshot of the process-wide record.
    LastError();

    // Stores the base name of i_file (see SourceBaseName), the line and the message,
    // each text cut at 255 characters, and marks the record valid.
    void Set(const char* i_file, int i_line, const char* i_message);

    // Forgets the recorded failure.
    void Clear() { *this = LastError(EmptyTag{}); }

    // FlowError when nothing has been recorded; otherwise the message, cut to size - 1.
    ResultCode CopyMessage(char* o_buf, size_t size) const;
    // The message in a buffer of this record, or null when nothing has been recorded.
    const char* RecordedMessage();

    bool IsValid() const { return m_valid != 0; }
    const char* File() const { return m_file; }
    int Line() const { return m_line; }
    const char* Message() const { return m_message; }

    // The one record that RecordFailure writes.
    static LastError& ProcessRecord();

private:
    struct EmptyTag {};
    constexpr explicit LastError(EmptyTag) {}

    uint8_t m_valid = 0;
    char m_file[256] = {};
    int32_t m_line = 0;
    char m_message[256] = {};
    char m_text[1024] = {};
};

// The part of a source path after its last backslash, where that backslash is
// neither the path's first nor its last character; otherwise the whole path.
// A trailing backslash thus never yields an empty name.
const char* SourceBaseName(const char* i_path);

// Formats one line (cut at 1023 characters) and stores it in the process-wide
// record. Returns 0, or -1 without recording anything when i_file is null.
int RecordFailure(const char* i_file, int i_line, const char* i_format, ...)
    __attribute__((format(gnu_printf, 3, 4)));

#define ZLVN_RECORD_FAILURE(...) RecordFailure(ZLVN_SOURCE_FILE, __LINE__, __VA_ARGS__)
