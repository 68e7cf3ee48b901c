#pragma once
// The support library's module-wide variables, each with why it stays module-wide. Each
// is used by one file only and has internal linkage there (a function-local static, or a
// variable in an unnamed namespace); none is declared here for another file.
//
// support/dpi_awareness.cpp
//   DpiFunctions(): the system's DPI functions, looked up once, for every scope and
//     measurement; a seam for tests (support/seam.h).
//   t_hostContext: per thread, the context the host's thread had before the outermost of
//     our DPI scopes. A host function or timer we run from inside a scope needs it back,
//     and no object reaches from that scope to the host's code.
// support/dwm_window.cpp
//   DwmGetWindowAttributeFn(): dwmapi's attribute reader, looked up once; a seam for tests.
// support/last_error.cpp
//   LastError::ProcessRecord(): the record of the latest failure, which the shell reads
//     after any support call; constant-initialised, so it exists before static constructors.
