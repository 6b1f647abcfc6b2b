// The Win32 names: MinGW-w64's own headers on the Windows builds, our simulated machine's subset on Linux.
#ifndef PLATFORM_WIN32_H
#define PLATFORM_WIN32_H

#ifdef _WIN32
// windows.h first: the other two build on its types.
#include <windows.h>

#include <ddeml.h>
#include <winspool.h>
#else
#include "platform/simulated/win32_declarations.h"
#endif

#endif
