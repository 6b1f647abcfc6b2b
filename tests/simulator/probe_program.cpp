// A small program run by the simulated machine in tests: shows what it received, asks, or loads a text.
#include "platform/win32.h"

// The tail "ask" asks a question and ends with its answer; "load N" loads text 1 or 2 (N = size, text 2 when
// N is followed by a '+') and ends with LoadStringA's count. Every run first shows its command line.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
  MessageBoxA(NULL, GetCommandLineA(), tail, MB_OK);
  if (lstrcmpA(tail, "ask") == 0) return MessageBoxA(NULL, "question", "ask", MB_YESNO | MB_ICONQUESTION);
  if (tail[0] == 'l' && tail[1] == 'o' && tail[2] == 'a' && tail[3] == 'd' && tail[4] == ' ') {
    int size = 0;
    LPSTR digit = tail + 5;
    while (*digit >= '0' && *digit <= '9') size = size * 10 + (*digit++ - '0');
    UINT id = *digit == '+' ? 2 : 1;
    char text[64];
    int count = LoadStringA(instance, id, text, size);
    MessageBoxA(NULL, text, "loaded", MB_OK);
    return count;
  }
  return 0;
}
