// The one header through which the kit's product code reaches Windows: the Win32 names and the text-file service.
#ifndef PLATFORM_WINDOWS_SERVICES_H
#define PLATFORM_WINDOWS_SERVICES_H

#include "platform/text_file.h"
#include "platform/win32.h"

#endif
