#pragma once
// A null pointer handed to a support-library operation is a programming error, not
// a failure to report: the process ends, naming the parameter, source file and line.

#include "support/source_file.h"

[[noreturn]] void FailNullArgument(const char* i_name, const char* i_file, int i_line);

#define ZLVN_ASSERT_ARG(param) \
    ((param) != nullptr ? (void)0 : FailNullArgument(#param, ZLVN_SOURCE_FILE, __LINE__))
