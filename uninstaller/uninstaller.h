// Veltrask's steps and the run settings they share, all owned by the run sequence's program.
#ifndef UNINSTALLER_UNINSTALLER_H
#define UNINSTALLER_UNINSTALLER_H

#include "platform/windows_services.h"

// Held from the start of the run to its end; every step loads its texts through ProgramInstance.
extern HINSTANCE ProgramInstance;
extern char GroupName[256];
extern char InstallPath[512];
extern char PrintManagerProgram[512];

// Messages and prompts.
int ShowTableMessage(HWND owner, UINT textId, UINT titleId, UINT style);
HWND FindPrintManagerWindow(void);
int ConfirmUninstall(void);  // 1: go ahead; 0: the run ends
int AskRestart(void);        // 1: restart Windows; 0: not

// Companion uninstall hand-off.
int RunCompanionUninstaller(void);  // 1: go ahead; 0: the run ends
int RunAndWait(LPSTR commandLine);  // 1: started and ended; 0: not started (after text 3)
void RemoveInstallDirectory(void);

#endif
