#pragma once
// The reporting source file's name, without the build machine's folders.
#if defined(__FILE_NAME__)
#define ZLVN_SOURCE_FILE __FILE_NAME__
#else
#define ZLVN_SOURCE_FILE __FILE__
#endif
