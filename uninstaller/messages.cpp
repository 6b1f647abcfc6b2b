// Everything Veltrask says to the user: the one message-box operation, the start guard and the restart question.
#include "uninstaller/string_ids.h"
#include "uninstaller/uninstaller.h"

static char MessageText[512];
static char BoxTitle[128];
static char PrintManagerTitle[256];

int ShowTableMessage(HWND owner, UINT textId, UINT titleId, UINT style) {
  LoadStringA(ProgramInstance, textId, MessageText, sizeof MessageText);
  LoadStringA(ProgramInstance, titleId, BoxTitle, sizeof BoxTitle);
  return MessageBoxA(owner, MessageText, BoxTitle, style);
}

HWND FindPrintManagerWindow(void) {
  LoadStringA(ProgramInstance, IDS_PRINT_MANAGER_TITLE, PrintManagerTitle, sizeof PrintManagerTitle);
  return FindWindowA(NULL, PrintManagerTitle);
}

int ConfirmUninstall(void) {
  LPSTR commandLine = GetCommandLineA();
  HWND desktop = GetDesktopWindow();

  // Checked before the command line, so a running print manager is reported even to a bare start.
  if (FindPrintManagerWindow() != NULL) {
    ShowTableMessage(desktop, IDS_PRINT_MANAGER_RUNNING, IDS_BOX_TITLE, MB_OK | MB_ICONHAND);
    ShowTableMessage(desktop, IDS_UNINSTALL_CANCELLED, IDS_BOX_TITLE, MB_OK | MB_ICONASTERISK);
    return 0;
  }
  if (commandLine == NULL || lstrlenA(commandLine) == 0) return 0;

  // Only an explicit No refuses: a box that cannot be shown (0) lets the uninstall go ahead.
  if (ShowTableMessage(desktop, IDS_CONFIRM_UNINSTALL, IDS_BOX_TITLE, MB_YESNO | MB_ICONEXCLAMATION) == IDNO) {
    ShowTableMessage(desktop, IDS_UNINSTALL_CANCELLED, IDS_BOX_TITLE, MB_OK | MB_ICONASTERISK);
    return 0;
  }
  return 1;
}

int AskRestart(void) {
  HWND desktop = GetDesktopWindow();
  return ShowTableMessage(desktop, IDS_ASK_RESTART, IDS_BOX_TITLE, MB_YESNO | MB_ICONQUESTION) == IDNO ? 0 : 1;
}
