# The plain rules of this floor (no window handle in sight): built into the plug-in by
# CMakeLists.txt beside this file, and natively with clang under the sanitizers and the
# fuzzers by native/CMakeLists.txt, which takes them from here.
set(ZLVN_RECORDS_RULES version_rule.cpp)
