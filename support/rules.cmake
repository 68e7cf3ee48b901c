# The plain rules of this floor (no window handle in sight): built into the plug-in by
# CMakeLists.txt beside this file, and natively with clang under the sanitizers and the
# fuzzers by native/CMakeLists.txt, which takes them from here.
set(ZLVN_TEXT_RULES bounded_text.cpp)
set(ZLVN_SUPPORT_RULES colour_text.cpp ini/ini_edit.cpp ini/ini_encoding.cpp ini/ini_text.cpp)
