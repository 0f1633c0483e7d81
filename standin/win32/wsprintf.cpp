// wsprintfA: the formatting of USER, with its 1024-byte output limit. Conversions: c, d, i,
// u, x, X, s and %%, with the flags '-', '0' and '#', a width, a precision, and the size
// prefixes 'l' (32-bit LONG/DWORD, as on Windows) and 'h'. Floating point is not offered,
// as on Windows; an unknown conversion character is copied as it stands.
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <string>

namespace {

constexpr size_t kMaxOutput = 1024;  // bytes, the terminating NUL included

std::string Digits(uint32_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

struct Conversion {
  bool left = false;
  bool zero = false;
  bool alternate = false;
  int width = 0;
  int precision = -1;
  bool shortValue = false;
};

void Pad(std::string& out, const std::string& body, const std::string& prefix,
         const Conversion& conversion, bool numeric) {
  size_t length = prefix.size() + body.size();
  size_t padding = conversion.width > 0 && static_cast<size_t>(conversion.width) > length
                       ? static_cast<size_t>(conversion.width) - length
                       : 0;
  if (conversion.left) {
    out += prefix + body + std::string(padding, ' ');
  } else if (conversion.zero && numeric) {
    out += prefix + std::string(padding, '0') + body;
  } else {
    out += std::string(padding, ' ') + prefix + body;
  }
}

std::string Format(const char* format, va_list args) {
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    const char* conversionStart = p;
    Conversion conversion;
    for (++p; *p == '-' || *p == '0' || *p == '#'; ++p) {
      if (*p == '-') conversion.left = true;
      if (*p == '0') conversion.zero = true;
      if (*p == '#') conversion.alternate = true;
    }
    for (; *p >= '0' && *p <= '9'; ++p) conversion.width = conversion.width * 10 + (*p - '0');
    if (*p == '.') {
      conversion.precision = 0;
      for (++p; *p >= '0' && *p <= '9'; ++p)
        conversion.precision = conversion.precision * 10 + (*p - '0');
    }
    if (*p == 'l') {
      ++p;
    } else if (*p == 'h') {
      conversion.shortValue = true;
      ++p;
    }
    switch (*p) {
      case '%':
        out += '%';
        break;
      case 'c':
        Pad(out, std::string(1, static_cast<char>(va_arg(args, int))), "", conversion, false);
        break;
      case 's': {
        const char* text = va_arg(args, const char*);
        std::string body = text != nullptr ? text : "(null)";
        if (conversion.precision >= 0 && body.size() > static_cast<size_t>(conversion.precision)) {
          body.resize(static_cast<size_t>(conversion.precision));
        }
        Pad(out, body, "", conversion, false);
        break;
      }
      case 'd':
      case 'i': {
        int32_t value = static_cast<int32_t>(va_arg(args, int));
        if (conversion.shortValue) value = static_cast<int16_t>(value);
        uint32_t magnitude =
            value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        std::string body = Digits(magnitude, 10, false);
        if (conversion.precision > static_cast<int>(body.size())) {
          body.insert(0, static_cast<size_t>(conversion.precision) - body.size(), '0');
        }
        Pad(out, body, value < 0 ? "-" : "", conversion, true);
        break;
      }
      case 'u':
      case 'x':
      case 'X': {
        uint32_t value = va_arg(args, unsigned int);
        if (conversion.shortValue) value = static_cast<uint16_t>(value);
        unsigned base = *p == 'u' ? 10 : 16;
        std::string body = Digits(value, base, *p == 'X');
        if (conversion.precision > static_cast<int>(body.size())) {
          body.insert(0, static_cast<size_t>(conversion.precision) - body.size(), '0');
        }
        std::string prefix = conversion.alternate && base == 16 ? (*p == 'X' ? "0X" : "0x") : "";
        Pad(out, body, prefix, conversion, true);
        break;
      }
      case '\0':
        // A lone '%' at the end: keep it and stop.
        out.append(conversionStart);
        return out;
      default:
        out += *p;
        break;
    }
  }
  return out;
}

}  // namespace

extern "C" int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
  if (lpOut == nullptr || lpFmt == nullptr) return 0;
  va_list args;
  va_start(args, lpFmt);
  std::string text = Format(lpFmt, args);
  va_end(args);
  if (text.size() > kMaxOutput - 1) text.resize(kMaxOutput - 1);
  text.copy(lpOut, text.size());
  lpOut[text.size()] = '\0';
  return static_cast<int>(text.size());
}
