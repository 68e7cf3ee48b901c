#include "support/last_error.h"

#include <cstdarg>
#include <cstring>

#include "support/bounded_text.h"

LastError& LastError::ProcessRecord()
{
    // Constant-initialised: it exists empty before any static constructor runs.
    static LastError record{EmptyTag{}};
    return record;
}

LastError::LastError() { *this = ProcessRecord(); }

const char* SourceBaseName(const char* i_path)
{
    size_t length = strlen(i_path);
    for (size_t i = length >= 2 ? length - 2 : 0; i >= 1; --i) {
        if (i_path[i] == '\\') return i_path + i + 1;
    }
    return i_path;
}

void LastError::Set(const char* i_file, int i_line, const char* i_message)
{
    CopyText(m_file, i_file ? SourceBaseName(i_file) : "");
    m_line = i_line;
    CopyText(m_message, i_message ? i_message : "");
    m_valid = 1;
}

ResultCode LastError::CopyMessage(char* o_buf, size_t size) const
{
    if (!m_valid) return ResultCode::FlowError;
    CopyText(o_buf, size, m_message);
    return ResultCode::Normal;
}

const char* LastError::RecordedMessage()
{
    if (CopyMessage(m_text, sizeof m_text) < 0) return nullptr;
    return m_text;
}

int RecordFailure(const char* i_file, int i_line, const char* i_format, ...)
{
    if (i_file == nullptr) return -1;
    char line[1024];
    va_list args;
    va_start(args, i_format);
    FormatTextV(line, sizeof line, i_format ? i_format : "", args);
    va_end(args);
    LastError::ProcessRecord().Set(i_file, i_line, line);
    return 0;
}
