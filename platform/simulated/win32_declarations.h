// The Win32 names that the kit's product code uses, declared for the simulated Windows 95 machine on Linux.
//
// Product code never includes this file directly: it includes platform/windows_services.h, which picks
// MinGW-w64's own headers on the Windows builds and this subset on Linux. The types keep their Win32 widths
// (DWORD and LONG are 32 bits on LP64 as well), and every function is implemented by the simulated machine
// (platform/simulated/api_*.cpp), which records and can fail each call.
#ifndef PLATFORM_SIMULATED_WIN32_DECLARATIONS_H
#define PLATFORM_SIMULATED_WIN32_DECLARATIONS_H

#include <stdarg.h>
#include <stdint.h>

#define WINAPI
#define WINAPIV
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int DWORD;
typedef int LONG;
typedef unsigned int UINT;
typedef int INT;
typedef char CHAR;
typedef CHAR *LPSTR;
typedef const CHAR *LPCSTR;
typedef BYTE *LPBYTE;
typedef WORD *LPWORD;
typedef DWORD *LPDWORD;
typedef LONG *LPLONG;
typedef BOOL *LPBOOL;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef void *HANDLE;
typedef HANDLE *LPHANDLE;

struct HINSTANCE__;
typedef struct HINSTANCE__ *HINSTANCE;
typedef HINSTANCE HMODULE;
struct HWND__;
typedef struct HWND__ *HWND;
struct HKEY__;
typedef struct HKEY__ *HKEY;
typedef HKEY *PHKEY;

#define TRUE 1
#define FALSE 0
#ifndef NULL
#define NULL 0
#endif

#define MAX_PATH 260
#define INFINITE 0xFFFFFFFFu
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

// Last-error codes.
#define ERROR_SUCCESS 0
#define ERROR_INVALID_FUNCTION 1
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_TOO_MANY_OPEN_FILES 4
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_BAD_FORMAT 11
#define ERROR_INVALID_DRIVE 15
#define ERROR_CURRENT_DIRECTORY 16
#define ERROR_NO_MORE_FILES 18
#define ERROR_WRITE_FAULT 29
#define ERROR_READ_FAULT 30
#define ERROR_SHARING_VIOLATION 32
#define ERROR_HANDLE_DISK_FULL 39
#define ERROR_BAD_NETPATH 53
#define ERROR_FILE_EXISTS 80
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_INVALID_NAME 123
#define ERROR_DIR_NOT_EMPTY 145
#define ERROR_ALREADY_EXISTS 183
#define ERROR_DIRECTORY 267
#define ERROR_PRIVILEGE_NOT_HELD 1314
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814

// Files.
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;

typedef struct _WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;

// Processes.
#define STARTF_USESHOWWINDOW 0x00000001u
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_SHOW 5
#define SW_SHOWDEFAULT 10
#define CREATE_DEFAULT_ERROR_MODE 0x04000000u
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define STILL_ACTIVE 0x00000103u

typedef struct _STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *LPPROCESS_INFORMATION;

// User interface.
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONHAND 0x00000010u
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0u
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

#define EWX_LOGOFF 0
#define EWX_SHUTDOWN 1
#define EWX_REBOOT 2
#define EWX_FORCE 4
#define EWX_POWEROFF 8

#ifdef __cplusplus
extern "C" {
#endif

// Kernel: errors, modules, strings.
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
int WINAPI lstrlenA(LPCSTR text);
int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b);
int WINAPI lstrcmpA(LPCSTR a, LPCSTR b);
LPSTR WINAPI lstrcatA(LPSTR destination, LPCSTR source);
LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source);
LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int size);

// Kernel: directories and files.
UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer);
BOOL WINAPI SetCurrentDirectoryA(LPCSTR path);
HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                          DWORD flagsAndAttributes, HANDLE templateFile);
BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped);
BOOL WINAPI DeleteFileA(LPCSTR name);
BOOL WINAPI CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists);
BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security);
BOOL WINAPI RemoveDirectoryA(LPCSTR path);
DWORD WINAPI GetFileAttributesA(LPCSTR name);
UINT WINAPI GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName);
HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA findData);
BOOL WINAPI FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA findData);
BOOL WINAPI FindClose(HANDLE find);

// Kernel: profile strings.
DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                      LPCSTR fileName);
BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
DWORD WINAPI GetProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size);
BOOL WINAPI WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value);

// Kernel: processes and handles.
LPSTR WINAPI GetCommandLineA(void);
void WINAPI GetStartupInfoA(LPSTARTUPINFOA startupInfo);
LPSTR WINAPI GetEnvironmentStrings(void);
BOOL WINAPI CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                           LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                           LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                           LPPROCESS_INFORMATION processInformation);
DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
BOOL WINAPI CloseHandle(HANDLE handle);

// User interface and resources.
int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HWND WINAPI GetDesktopWindow(void);
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName);
BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reserved);
int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...);
int WINAPI wvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments);

// The program's own entry, called by the machine when it starts a deliverable.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

#ifdef __cplusplus
}
#endif

#endif
