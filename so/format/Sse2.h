#pragma once
// Whether the compiler may use SSE2. Every x86-64 processor has it; the 32-bit
// Windows build targets processors that may not, and takes the plain code.
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define ZOBELSO_SSE2 1
#include <emmintrin.h>
#else
#define ZOBELSO_SSE2 0
#endif
