// The Win32 names: MinGW-w64's own headers on the Windows builds, our simulated machine's subset on Linux.
#ifndef PLATFORM_WIN32_H
#define PLATFORM_WIN32_H

#ifdef _WIN32
#include <windows.h>
#include <winspool.h>
#include <ddeml.h>
#else
#include "platform/simulated/win32_declarations.h"
#endif

#endif
