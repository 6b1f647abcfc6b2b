// The companion uninstaller's run, the check that the print manager's program went with it, and the removal of
// the install directory.
#include "uninstaller/string_ids.h"
#include "uninstaller/uninstaller.h"

static const char kProgramProbe[] = "qm*.exe";

static STARTUPINFOA StartupRecord;
static PROCESS_INFORMATION ProcessRecord;
static WIN32_FIND_DATAA FoundEntry;

// The companion command: what follows the blank after the program's own name. The name is skipped as Windows
// skips it (a quoted name ends at its closing quote, so a blank inside the quotes does not count). NULL when no
// blank follows the name; the empty text when nothing follows the blank.
static LPSTR CompanionCommand(LPSTR commandLine) {
  LPSTR cursor = commandLine;
  if (*cursor == '"') {
    cursor++;
    while (*cursor != '\0' && *cursor != '"') cursor++;
    if (*cursor == '\0') return NULL;
  }
  while (*cursor != '\0' && *cursor != ' ') cursor++;
  if (*cursor == '\0') return NULL;
  return cursor + 1;
}

// Whether a directory entry matches the name or pattern; the search handle is not kept.
static BOOL DirectoryEntryExists(LPCSTR pattern) {
  HANDLE search = FindFirstFileA(pattern, &FoundEntry);
  if (search == INVALID_HANDLE_VALUE) return FALSE;
  FindClose(search);
  return TRUE;
}

int RunAndWait(LPSTR commandLine) {
  GetStartupInfoA(&StartupRecord);
  if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, GetEnvironmentStrings(), NULL, &StartupRecord,
                      &ProcessRecord)) {
    ShowTableMessage(GetDesktopWindow(), IDS_BAD_COMMAND_LINE, IDS_BOX_TITLE, MB_OK | MB_ICONHAND);
    return 0;
  }
  // A failed wait still counts as the end of the process: the check that follows decides.
  WaitForSingleObject(ProcessRecord.hProcess, INFINITE);
  CloseHandle(ProcessRecord.hProcess);
  CloseHandle(ProcessRecord.hThread);
  return 1;
}

int RunCompanionUninstaller(void) {
  LPSTR companion = CompanionCommand(GetCommandLineA());
  // Whether the companion ran does not decide: only the print manager's program being gone does.
  if (companion != NULL) {
    RunAndWait(companion);
  } else {
    ShowTableMessage(GetDesktopWindow(), IDS_BAD_COMMAND_LINE, IDS_BOX_TITLE, MB_OK | MB_ICONHAND);
  }
  if (DirectoryEntryExists(PrintManagerProgram)) {
    ShowTableMessage(GetDesktopWindow(), IDS_UNINSTALL_CANCELLED, IDS_BOX_TITLE, MB_OK | MB_ICONASTERISK);
    return 0;
  }
  return 1;
}

void RemoveInstallDirectory(void) {
  // The probe is relative on purpose: it looks in the directory Veltrask was started from, not the install one.
  if (DirectoryEntryExists(kProgramProbe)) return;
  RemoveDirectoryA(InstallPath);
}
