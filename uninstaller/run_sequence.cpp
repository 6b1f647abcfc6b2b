// Veltrask's entry point: the uninstall as one fixed series of steps, from the settings to the restart question.
#include "uninstaller/string_ids.h"
#include "uninstaller/uninstaller.h"

HINSTANCE ProgramInstance;
char GroupName[256];
char InstallPath[512];
char PrintManagerProgram[512];

static char ProductIniName[128];

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ProgramInstance = instance;
  LoadStringA(instance, IDS_PRODUCT_INI, ProductIniName, sizeof ProductIniName);
  // The profile operation drops the default's trailing blank, so a missing value arrives empty.
  GetPrivateProfileStringA("General", "GroupName", " ", GroupName, sizeof GroupName, ProductIniName);
  GetPrivateProfileStringA("General", "InstallPath", " ", InstallPath, sizeof InstallPath, ProductIniName);
  GetPrivateProfileStringA("Driver", "ExecuteFile", " ", PrintManagerProgram, sizeof PrintManagerProgram,
                           ProductIniName);

  if (!ConfirmUninstall()) return 0;
  if (!RunCompanionUninstaller()) return 0;

  RemoveInstallDirectory();

  if (AskRestart()) return ExitWindowsEx(EWX_REBOOT, 0);
  return 0;
}
