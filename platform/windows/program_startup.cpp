// The process entry point of the Windows builds: what a C runtime's start-up would do before calling WinMain.
#include "platform/win32.h"

// The command line less the program's own name, the way a C runtime hands it to WinMain: a quoted name ends at
// its closing quote, an unquoted one at the first blank or tab, and the blanks and tabs after it are skipped.
static LPSTR CommandTail(LPSTR commandLine) {
  LPSTR cursor = commandLine;
  if (*cursor == '"') {
    cursor++;
    while (*cursor != '\0' && *cursor != '"') cursor++;
    if (*cursor == '"') cursor++;
  } else {
    while (*cursor != '\0' && *cursor != ' ' && *cursor != '\t') cursor++;
  }
  while (*cursor == ' ' || *cursor == '\t') cursor++;
  return cursor;
}

// Linked as the image's entry point (-e), so it must never return: ExitProcess ends the process with WinMain's
// result as its exit code.
extern "C" void WINAPI ProgramStartup(void) {
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, CommandTail(GetCommandLineA()), show));
}
