#pragma once
// Outcome of every support-library operation: 0 for success, a negative code for
// a failure. Converts to and from a plain 32-bit integer.
#include <cstdint>

class ResultCode {
public:
    // The codes of the library's operations. CLibraryError stays in the set for a duplicate
    // key in the settings file, though the reader, which keeps the first as the system's
    // profile reader does, no longer returns it.
    enum Code : int32_t {
        Normal = 0,
        InvalidArgument = -1,
        NoMemory = -3,
        CLibraryError = -4,
        WindowsApiError = -5,
        FlowError = -7,
        NoExist = -8,
        WrongState = -10,  // no row in the table
        EndOfTable = -9999,
    };

    constexpr ResultCode(int32_t code = Normal) : m_code(code) {}
    constexpr operator int32_t() const { return m_code; }

private:
    int32_t m_code;
};
static_assert(sizeof(ResultCode) == 4, "a result code is a 32-bit integer");

struct result_code_row_t {
    int32_t code;
    char text[64];
};

// Every code with its text, in a fixed order, closed by the EndOfTable row.
extern const result_code_row_t kResultCodeTable[];
