#pragma once
// Functions looked up by name come untyped; they are called through their real signature.
#include <windows.h>

template <typename Fn>
Fn As(FARPROC proc) { return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc)); }
