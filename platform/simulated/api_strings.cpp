// The simulated machine's ANSI string operations: lstr* and wsprintfA.
#include <cstdarg>
#include <cstring>
#include <string>

#include "platform/simulated/api_call.h"
#include "platform/simulated/text/cp932.h"

using namespace winsim;

extern "C" int WINAPI lstrlenA(LPCSTR text) {
  ApiCall call("lstrlenA", {TextArgument(text)}, Faultable::No);
  return call.Return(text ? static_cast<int>(std::strlen(text)) : 0);
}

extern "C" int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) {
  ApiCall call("lstrcmpiA", {TextArgument(a), TextArgument(b)}, Faultable::No);
  return call.Return(CompareIgnoringAsciiCase(a ? a : "", b ? b : ""));
}

extern "C" int WINAPI lstrcmpA(LPCSTR a, LPCSTR b) {
  ApiCall call("lstrcmpA", {TextArgument(a), TextArgument(b)}, Faultable::No);
  int order = std::strcmp(a ? a : "", b ? b : "");
  return call.Return(order < 0 ? -1 : order > 0 ? 1 : 0);
}

extern "C" LPSTR WINAPI lstrcatA(LPSTR destination, LPCSTR source) {
  ApiCall call("lstrcatA", {TextArgument(destination), TextArgument(source)}, Faultable::No);
  if (destination == nullptr || source == nullptr) return call.Return<LPSTR>(nullptr);
  std::strcat(destination, source);
  return call.Return(destination);
}

extern "C" LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source) {
  ApiCall call("lstrcpyA", {TextArgument(source)}, Faultable::No);
  if (destination == nullptr || source == nullptr) return call.Return<LPSTR>(nullptr);
  std::strcpy(destination, source);
  return call.Return(destination);
}

extern "C" LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int size) {
  ApiCall call("lstrcpynA", {TextArgument(source), SignedArgument(size)}, Faultable::No);
  if (destination == nullptr || source == nullptr || size <= 0) return call.Return<LPSTR>(nullptr);
  int length = 0;
  while (length < size - 1 && source[length] != '\0') {
    destination[length] = source[length];
    ++length;
  }
  destination[length] = '\0';
  return call.Return(destination);
}

namespace {

// wsprintfA writes at most this many bytes, the terminating NUL included.
const size_t kFormatLimit = 1024;

std::string Pad(std::string text, size_t width, bool left, char fill) {
  if (text.size() >= width) return text;
  std::string padding(width - text.size(), fill);
  if (left) return text + std::string(width - text.size(), ' ');
  if (fill == '0' && !text.empty() && text[0] == '-') return "-" + padding + text.substr(1);
  return padding + text;
}

// The conversions of wsprintfA: c, d, i, u, x, X, s with flags -, #, 0, a width, a precision, and l or h sizes.
std::string Format(const char *format, va_list arguments) {
  std::string out;
  for (const char *p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    ++p;
    bool left = false, alternate = false;
    char fill = ' ';
    for (;; ++p) {
      if (*p == '-')
        left = true;
      else if (*p == '#')
        alternate = true;
      else if (*p == '0')
        fill = '0';
      else
        break;
    }
    size_t width = 0;
    while (*p >= '0' && *p <= '9') width = width * 10 + static_cast<size_t>(*p++ - '0');
    long precision = -1;
    if (*p == '.') {
      ++p;
      precision = 0;
      while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
    }
    if (*p == 'l' || *p == 'h') ++p;
    std::string piece;
    switch (*p) {
      case 'c':
        piece = std::string(1, static_cast<char>(va_arg(arguments, int)));
        break;
      case 'd':
      case 'i':
        piece = std::to_string(va_arg(arguments, int));
        break;
      case 'u':
        piece = std::to_string(va_arg(arguments, unsigned));
        break;
      case 'x':
      case 'X': {
        char digits[16];
        std::snprintf(digits, sizeof digits, *p == 'x' ? "%x" : "%X", va_arg(arguments, unsigned));
        piece = digits;
        if (alternate) piece = (*p == 'x' ? "0x" : "0X") + piece;
        break;
      }
      case 's': {
        const char *text = va_arg(arguments, const char *);
        piece = text ? text : "(null)";
        if (precision >= 0 && piece.size() > static_cast<size_t>(precision)) piece.resize(precision);
        break;
      }
      case '\0':
        return out;
      default:
        // An unknown conversion is copied as its character, as wsprintfA does.
        piece = std::string(1, *p);
        break;
    }
    out += Pad(piece, width, left, *p == 's' || *p == 'c' ? ' ' : fill);
  }
  return out;
}

int FormatInto(const char *name, LPSTR buffer, LPCSTR format, va_list arguments) {
  ApiCall call(name, {TextArgument(format)}, Faultable::No);
  if (buffer == nullptr || format == nullptr) return call.Return(0);
  std::string text = Format(format, arguments);
  if (text.size() > kFormatLimit - 1) text.resize(kFormatLimit - 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return call.Return(static_cast<int>(text.size()));
}

}  // namespace

extern "C" int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int length = FormatInto("wsprintfA", buffer, format, arguments);
  va_end(arguments);
  return length;
}

extern "C" int WINAPI wvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments) {
  return FormatInto("wvsprintfA", buffer, format, arguments);
}
