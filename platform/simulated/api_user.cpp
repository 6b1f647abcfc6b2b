// The simulated machine's Win32 operations of the user interface: texts, message boxes, windows, restart.
#include <cstring>

#include "platform/simulated/api_call.h"
#include "platform/simulated/message_box_answers.h"
#include "platform/simulated/text/cp932.h"

using namespace winsim;

namespace {

// Windows' handles of the desktop and of the described windows; values of our own choosing.
HWND const kDesktopWindow = reinterpret_cast<HWND>(0x0080);

HWND WindowHandle(size_t index) { return reinterpret_cast<HWND>(0x1000 + 4 * index); }

// The longest start of text that fits limit bytes without splitting a double-byte character.
size_t WholeCharactersWithin(const std::string &text, size_t limit) {
  size_t length = 0;
  while (length < text.size()) {
    size_t step = IsCp932LeadByte(static_cast<unsigned char>(text[length])) && length + 1 < text.size() ? 2 : 1;
    if (length + step > limit) break;
    length += step;
  }
  return length;
}

}  // namespace

extern "C" int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
  ApiCall call("LoadStringA",
               {HandleArgument(instance), NumberArgument(id), HandleArgument(buffer), SignedArgument(size)});
  Machine::State &state = call.machine();
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  if (call.Faulted()) return call.Fail(0, ERROR_NOT_ENOUGH_MEMORY);
  if (instance != state.module.instance) return call.Fail(0, ERROR_INVALID_HANDLE);
  if (buffer == nullptr || size <= 0 || id > 0xFFFF) return call.Fail(0, ERROR_INVALID_PARAMETER);
  const std::u16string *text = FindResourceString(state.module.strings, static_cast<uint16_t>(id), 0x0411);
  if (text == nullptr) return call.Fail(0, ERROR_RESOURCE_NAME_NOT_FOUND);
  std::string ansi = Utf16ToCp932(*text);
  size_t length = WholeCharactersWithin(ansi, static_cast<size_t>(size) - 1);
  std::memcpy(buffer, ansi.data(), length);
  buffer[length] = '\0';
  return call.Return(static_cast<int>(length));
}

extern "C" int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  ApiCall call("MessageBoxA", {HandleArgument(owner), TextArgument(text), TextArgument(caption), NumberArgument(type)});
  Machine::State &state = call.machine();
  MessageBoxRecord box;
  box.owner = owner;
  box.text = text ? text : "";
  // Windows puts "Error" on a box without a caption; the English word stands in for the Japanese one.
  box.caption = caption ? caption : "Error";
  box.style = type;
  if (call.Faulted()) {
    box.shown = false;
    state.boxes.push_back(box);
    return call.Fail(0, ERROR_NOT_ENOUGH_MEMORY);
  }
  state.boxes.push_back(box);
  size_t index = state.boxes.size() - 1;
  int answer = AnswerMessageBox(state, state.boxes[index]);
  state.boxes[index].answer = answer;
  return call.Return(answer);
}

extern "C" HWND WINAPI GetDesktopWindow(void) {
  ApiCall call("GetDesktopWindow", {}, Faultable::No);
  return call.Return(kDesktopWindow);
}

extern "C" HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
  ApiCall call("FindWindowA", {TextArgument(className), TextArgument(windowName)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail<HWND>(nullptr, ERROR_NOT_ENOUGH_MEMORY);
  for (size_t index = 0; index < state.windows.size(); ++index) {
    const Window &window = state.windows[index];
    if (!window.topLevel) continue;
    if (className != nullptr && !EqualIgnoringAsciiCase(window.className, className)) continue;
    if (windowName != nullptr && !EqualIgnoringAsciiCase(window.title, windowName)) continue;
    return call.Return(WindowHandle(index));
  }
  return call.Return<HWND>(nullptr);
}

extern "C" BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reserved) {
  ApiCall call("ExitWindowsEx", {NumberArgument(flags), NumberArgument(reserved)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_PRIVILEGE_NOT_HELD);
  state.restartRequests.push_back(flags);
  if (!state.restartResult) return call.Fail(FALSE, ERROR_PRIVILEGE_NOT_HELD);
  return call.Return(state.restartResult);
}
