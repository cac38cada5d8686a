// Field rules: the small set of pure functions that turn a host value into
// the text of a fixed-width report field. The core is the Put* forms, which
// write into memory the caller gives (a report line is assembled in place in
// the report buffer, no temporary strings); Rendered() turns any of them into
// a new text, for the open report's stored items, messages and tests.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quorix::rules {

enum class Justify { Left, Right };

// Removes every byte from 0 to 32 at both ends.
std::string_view Trim(std::string_view text);

// Keeps only 0-9, A-Z and a-z, in their order.
std::string AlphanumericFilter(std::string_view text);

// Adds "0" on the left (or right) up to width; never cuts.
std::string ZeroFill(std::string_view text, int width, Justify side = Justify::Left);

// Trims, folds accents, blanks what is outside the allowed set, cuts or fills
// to exactly width and upper-cases. A fill that is not a letter or digit is a blank.
std::string TextField(std::string_view text, int width, Justify justify = Justify::Left,
                      char fill = ' ');

// Number formats of the report fields: ",0", ",0.00" and ",0.000".
enum class Decimals : int { None = 0, Two = 2, Three = 3 };

// Digits of |value| rounded to the given decimals (half away from zero, on the
// value's 18 significant digits), zero-filled on the left to width, never cut.
// A value that is not a finite number raises a Failure.
std::string NumberRendering(double value, Decimals decimals, int width);

// An amount whose sign stays in the field: a value below zero (decided on the
// value as passed, before rounding) gives "-" and the amount of its opposite
// at width - 1, so that -0.001 still reads as negative; otherwise the amount
// at width. Not finite: a Failure, as for every number.
std::string SignedAmountRendering(double value, int width);
// The format a host's count of decimals selects: 0 and 3 their own, every
// other count (1, negative, too large) hundredths.
constexpr Decimals DecimalsForCount(int32_t count) {
  return count == 0 ? Decimals::None : count == 3 ? Decimals::Three : Decimals::Two;
}

// The value as the user reads it: minus sign, thousands separators and the
// decimal separator of the regional settings (",0.00" style). A value that is
// not finite is shown as NAN, INF or -INF (messages only, never a line).
std::string FormatNumber(double value, Decimals decimals);

// Decimal digits with a leading "-" when negative, zero-filled on the left.
std::string IntegerRendering(int32_t value, int width);

// A day count since 1899-12-30 (fraction: time of day) as "yyyyMMdd" and as
// "hhmmss". A value outside the years 1 to 9999, or not finite, raises a Failure.
std::string DateRendering(double date);
std::string TimeRendering(double time);

// "dd/MM/yyyy" with the regional date separator, for messages.
std::string FormatDayMonthYear(double date);

bool CheckDigitsValid(std::string_view cpfOrCnpj);

// The same renderings written at `at`, returning the end of what they wrote:
// the report's lines are assembled in place in the report buffer. The caller
// provides the room each needs (see the k...Room constants; a width above them
// needs width bytes). The ones every line calls are inline, below.
// The alphanumeric filter, then the text field rendering (left, blank fill).
char* PutAlphanumericField(char* at, std::string_view text, int width);
// Digits a finite double can take with three decimals, a carry and a sign.
inline constexpr int kNumberRoom = 330;
char* PutSignedAmount(char* at, double value, int width);
inline constexpr int kIntegerRoom = 11;
char* PutDate(char* at, double date);  // 8 bytes
char* PutTime(char* at, double time);  // 6 bytes

namespace detail {

inline bool IsAlphanumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// What the text field rendering makes of each byte: the allowed characters
// upper-cased, accented letters folded to their base letter, anything else a blank.
constexpr std::array<char, 256> MakeFieldTable() {
  std::array<char, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = ' ';
  for (int c = 32; c <= 126; ++c) {
    if (c == '?') continue;
    t[c] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  const struct {
    const char* codes;
    char letter;
  } folds[] = {
      {"\xC0\xC1\xC2\xC3\xC4\xE0\xE1\xE2\xE3\xE4", 'A'},
      {"\xC7\xE7", 'C'},
      {"\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB", 'E'},
      {"\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF", 'I'},
      {"\xD1\xF1", 'N'},
      {"\xD2\xD3\xD4\xD6\xF2\xF3\xF4\xF6", 'O'},
      {"\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC", 'U'},
  };
  for (const auto& f : folds)
    for (const char* p = f.codes; *p; ++p) t[static_cast<unsigned char>(*p)] = f.letter;
  return t;
}
inline constexpr std::array<char, 256> kFieldTable = MakeFieldTable();
inline char FieldChar(char c) { return kFieldTable[static_cast<unsigned char>(c)]; }

// Small copies and fills stay out of the C runtime: the memcpy and memset a
// 32-bit Windows host loads cost several times more for a few bytes, and a
// call costs more than the bytes on every target. Eight bytes a store, the
// last store overlapping the one before, so that no byte-by-byte tail is
// left. The empty asm keeps GCC from turning the loops back into calls.
inline char* Copy(char* at, const char* from, size_t count) {
  if (count >= 8) {
    uint64_t w;
    for (size_t i = 0; i + 8 < count; i += 8) {
      std::memcpy(&w, from + i, 8);
      std::memcpy(at + i, &w, 8);
      __asm__("" : "+r"(i));
    }
    std::memcpy(&w, from + count - 8, 8);
    std::memcpy(at + count - 8, &w, 8);
  } else if (count >= 4) {
    uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + count - 4, 4);
    std::memcpy(at, &head, 4);
    std::memcpy(at + count - 4, &tail, 4);
  } else if (count >= 2) {
    uint16_t head, tail;
    std::memcpy(&head, from, 2);
    std::memcpy(&tail, from + count - 2, 2);
    std::memcpy(at, &head, 2);
    std::memcpy(at + count - 2, &tail, 2);
  } else if (count == 1) {
    *at = *from;
  }
  return at + count;
}

inline char* Fill(char* at, char c, size_t count) {
#ifdef __SSE2__
  // Sixteen bytes a store where SSE2 is there: the long text fields are
  // mostly fill.
  if (count >= 16) {
    const __m128i w = _mm_set1_epi8(c);
    for (size_t i = 0; i + 16 < count; i += 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i), w);
      __asm__("" : "+r"(i));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at + count - 16), w);
    return at + count;
  }
#endif
  if (count >= 8) {
    const uint64_t w = 0x0101010101010101u * static_cast<unsigned char>(c);
    for (size_t i = 0; i + 8 < count; i += 8) {
      std::memcpy(at + i, &w, 8);
      __asm__("" : "+r"(i));
    }
    std::memcpy(at + count - 8, &w, 8);
  } else if (count >= 4) {
    const uint32_t w = 0x01010101u * static_cast<unsigned char>(c);
    std::memcpy(at, &w, 4);
    std::memcpy(at + count - 4, &w, 4);
  } else if (count >= 2) {
    const uint16_t w = static_cast<uint16_t>(0x0101u * static_cast<unsigned char>(c));
    std::memcpy(at, &w, 2);
    std::memcpy(at + count - 2, &w, 2);
  } else if (count == 1) {
    *at = c;
  }
  return at + count;
}

// Removes every byte from 0 to 32 at both ends.
inline std::string_view Trimmed(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return std::string_view(text.data() + b, e - b);
}

// kFieldTable applied to n bytes.
void PutFieldCharsLong(char* to, const char* from, size_t n);
inline void PutFieldChars(char* to, const char* from, size_t n) {
  if (n >= 8) return PutFieldCharsLong(to, from, n);
  for (size_t i = 0; i < n; ++i) to[i] = FieldChar(from[i]);
}

// Decimal digits of n, most significant first, at the end of buf; returns the
// first. Below 2^32 the arithmetic stays 32-bit (no division calls in the
// 32-bit build), two digits a step.
inline char* DigitsOf(uint64_t n, char* end) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* p = end;
  while (n > 0xFFFFFFFFu) {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  uint32_t m = static_cast<uint32_t>(n);
  while (m >= 100) {
    const uint32_t pair = (m % 100) * 2;
    m /= 100;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  }
  if (m >= 10) {
    *--p = kPairs[m * 2 + 1];
    *--p = kPairs[m * 2];
  } else {
    *--p = static_cast<char>('0' + m);
  }
  return p;
}

// The rounding of a value near a tie, or too large for exact integers.
char* PutNumberSlow(char* at, double value, Decimals decimals, int width);

}  // namespace detail

inline char* PutAsPassed(char* at, std::string_view text) {
  return detail::Copy(at, text.data(), text.size());
}

inline char* PutZeroFill(char* at, std::string_view text, int width) {
  if (width > static_cast<int>(text.size()))
    at = detail::Fill(at, '0', static_cast<size_t>(width) - text.size());
  return detail::Copy(at, text.data(), text.size());
}

inline char* PutTextField(char* at, std::string_view text, int width,
                          Justify justify = Justify::Left, char fill = ' ') {
  if (width <= 0) return at;
  const size_t n = static_cast<size_t>(width);
  fill = detail::IsAlphanumeric(static_cast<unsigned char>(fill)) ? detail::FieldChar(fill) : ' ';
  text = detail::Trimmed(text);
  const size_t used = text.size() < n ? text.size() : n;
  if (justify == Justify::Left) {
    detail::PutFieldChars(at, text.data(), used);
    detail::Fill(at + used, fill, n - used);
  } else {
    const char* src = text.data() + (text.size() - used);
    char* dst = detail::Fill(at, fill, n - used);
    detail::PutFieldChars(dst, src, used);
  }
  return at + n;
}

inline char* PutCharField(char* at, char c) {
  *at = static_cast<unsigned char>(c) <= 32 ? ' ' : detail::FieldChar(c);
  return at + 1;
}

inline char* PutCharAsPassed(char* at, char c) {
  *at = static_cast<unsigned char>(c) < 32 ? ' ' : c;
  return at + 1;
}

// Most values of a line lie far from a rounding tie once scaled: the binary
// product then rounds exactly as the 18-digit decimal expansion would, and the
// digits come straight from an integer. Returns null, having written nothing,
// for values near a tie, too large for exact integers, or not finite.
[[gnu::always_inline]] inline char* PutScaledDigitsFast(char* at, double value, int decimals,
                                                        int width) {
  static constexpr double kScale[] = {1, 10, 100, 1000};
  const double scaled = std::fabs(value) * kScale[decimals];
  if (!(scaled < 4503599627370496.0)) return nullptr;  // 2^52
  // Below 2^52 the conversion cuts exactly what floor would.
  const uint64_t whole = static_cast<uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(whole);
  // The margin covers the product's rounding error and the 18-digit cut, by far.
  if (std::fabs(fraction - 0.5) <= scaled * 1e-15 + 1e-300) return nullptr;
  const uint64_t digits = whole + (fraction > 0.5 ? 1 : 0);
  const int least = width > decimals + 1 ? width : decimals + 1;
  // Digits that fit in the field's zeros are written over them, in place.
  static constexpr uint64_t kFits[] = {1,
                                       10,
                                       100,
                                       1000,
                                       10000,
                                       100000,
                                       1000000,
                                       10000000,
                                       100000000,
                                       1000000000,
                                       10000000000,
                                       100000000000,
                                       1000000000000,
                                       10000000000000,
                                       100000000000000,
                                       1000000000000000,
                                       10000000000000000};
  if (least < static_cast<int>(std::size(kFits)) && digits < kFits[least]) {
    detail::Fill(at, '0', static_cast<size_t>(least));
    detail::DigitsOf(digits, at + least);
    return at + least;
  }
  char buf[20];
  char* const end = buf + sizeof buf;
  const char* p = detail::DigitsOf(digits, end);
  const int length = static_cast<int>(end - p);
  if (least > length) at = detail::Fill(at, '0', static_cast<size_t>(least - length));
  return detail::Copy(at, p, static_cast<size_t>(length));
}

[[gnu::always_inline]] inline char* PutNumber(char* at, double value, Decimals decimals,
                                              int width) {
  // Zero, the most frequent value of many fields, is only its zeros.
  if (value == 0) {
    const int least =
        width > static_cast<int>(decimals) + 1 ? width : static_cast<int>(decimals) + 1;
    return detail::Fill(at, '0', static_cast<size_t>(least));
  }
  if (char* end = PutScaledDigitsFast(at, value, static_cast<int>(decimals), width)) return end;
  return detail::PutNumberSlow(at, value, decimals, width);
}

inline char* PutInteger(char* at, int32_t value, int width) {
  char buf[12];
  char* const end = buf + sizeof buf;
  // The magnitude as unsigned, so that the most negative value has one too.
  const uint32_t magnitude =
      value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char* p = detail::DigitsOf(magnitude, end);
  if (value < 0) *--p = '-';
  return PutZeroFill(at, std::string_view(p, static_cast<size_t>(end - p)), width);
}

// What `put` (a Put* rendering bound to its arguments) writes, as a new text;
// `room`: the most it may write.
template <class Put>
std::string Rendered(size_t room, Put&& put) {
  std::string out(room, '\0');
  out.resize(static_cast<size_t>(put(&out[0]) - out.data()));
  return out;
}
inline size_t RoomFor(int width, size_t least) {
  return width > 0 && static_cast<size_t>(width) > least ? static_cast<size_t>(width) : least;
}

}  // namespace quorix::rules
