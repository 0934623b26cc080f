#ifndef PLATFORM_WIN32_WIN32_API_H
#define PLATFORM_WIN32_WIN32_API_H

/// The one header that portable code includes for the Win32 types and calls it
/// uses: the real <windows.h> in the Win32 build, our subset natively.
#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "win32_subset.h"
#endif

#endif  // PLATFORM_WIN32_WIN32_API_H
