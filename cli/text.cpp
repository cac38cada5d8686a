#include "text.h"

#include <cstdio>

#include "console.h"

namespace quorix::cli {
namespace {

// Windows-1252 from 0x80 to 0x9F; the rest is Latin-1, that is the byte's own
// code point.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromCp1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b; }

// The byte for a code point, or -1.
int ToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

size_t DecodeUtf8(std::string_view s, size_t at, char32_t& c) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b = byte(at);
  size_t n;
  char32_t min;
  if (b < 0x80) {
    c = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    n = 2, c = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, c = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, c = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = c << 6 | (byte(at + i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

std::string CodePointName(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

std::string Utf8FromCp1252(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (const char b : cp1252) AppendUtf8(out, FromCp1252(static_cast<unsigned char>(b)));
  return out;
}

std::string Cp1252FromUtf8(std::string_view utf8, std::string_view what) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    char32_t c = 0;
    const size_t n = DecodeUtf8(utf8, at, c);
    if (n == 0) {
      throw Failure(kUsageError, std::string(what) + ": texto que não é UTF-8 (byte " +
                                     std::to_string(at + 1) + ")");
    }
    const int b = ToCp1252(c);
    if (b < 0) {
      std::string shown;
      if (c >= 0xA0) {
        shown = " (\"";
        AppendUtf8(shown, c);
        shown += "\")";
      }
      throw Failure(kUsageError, std::string(what) + ": o caractere " + CodePointName(c) + shown +
                                     " não existe no Windows-1252");
    }
    out += static_cast<char>(b);
    at += n;
  }
  return out;
}

std::string PaddedTo(std::string s, size_t columns) {
  size_t shown = 0;
  for (unsigned char c : s) shown += (c & 0xC0) != 0x80;
  if (shown < columns) s.append(columns - shown, ' ');
  return s;
}

}  // namespace quorix::cli
