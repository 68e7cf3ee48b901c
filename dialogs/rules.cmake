# The plain rules of this floor (no window handle in sight): built into the plug-in by
# CMakeLists.txt beside this file, and natively with clang under the sanitizers and the
# fuzzers by native/CMakeLists.txt, which takes them from here.
set(ZLVN_SHORTCUT_RULES shortcut_text.cpp)
set(ZLVN_DIALOG_RULES dialog_rules.cpp)
