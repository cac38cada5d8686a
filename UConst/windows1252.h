// Windows-1252, the library's one character set: what its bytes 0x80-0x9F
// stand for (the rest of 0x00-0xFF is Latin-1, code point = byte).
#pragma once

#include <string_view>

namespace quorix {

// Unicode code points of the bytes 0x80-0x9F; the five bytes the code page
// leaves undefined keep their own value.
inline constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline constexpr bool IsUndefinedInWindows1252(unsigned char b) {
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

inline constexpr char32_t Windows1252CodePoint(unsigned char b) {
  return b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b;
}

}  // namespace quorix
