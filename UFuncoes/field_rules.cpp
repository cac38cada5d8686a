#include "UFuncoes/field_rules.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "platform/regional.h"

namespace quorix::rules {
namespace {

// TDateTime day 0 is 1899-12-30; these are 0001-01-01 and 9999-12-31.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;
constexpr int64_t kMsPerDay = 86400000;

double CheckedDayPart(double value) {
  if (!std::isfinite(value)) throw Failure(msg::kNotANumber);
  const double day = std::trunc(value);
  if (day < kFirstDay || day > kLastDay) throw Failure(msg::kDateOutOfRange);
  return day;
}

struct CivilDate {
  int year, month, day;
};

// Days since 1899-12-30 to the proleptic Gregorian calendar. The days of the
// years 1 to 9999 fit 32 bits, which the 32-bit build divides without a call.
CivilDate ToCivil(int32_t days) {
  const int32_t z = days - 25569 + 719468;  // shift to days since 0000-03-01
  const int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int32_t doe = z - era * 146097;
  const int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int32_t mp = (5 * doy + 2) / 153;
  const int d = doy - (153 * mp + 2) / 5 + 1;
  const int m = mp < 10 ? mp + 3 : mp - 9;
  const int32_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return {y, m, d};
}

void PutDigits(char* at, int value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// Digits of round(|value| * 10^decimals), halves away from zero, decided on
// the 18 significant digits of the value's decimal expansion. At least
// decimals + 1 digits, so that one digit always stands before the decimals.
void AppendScaledDigits(std::string& out, double value, int decimals) {
  if (!std::isfinite(value)) throw Failure(msg::kNotANumber);
  char buf[40];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
  // buf holds "d.ddddddddddddddddde+XX"
  char digits[18];
  digits[0] = buf[0];
  std::memcpy(digits + 1, buf + 2, 17);
  int exponent = 0;
  std::from_chars(buf + 20 + (buf[20] == '+' ? 1 : 0), res.ptr, exponent);

  const int keep = exponent + decimals + 1;  // digits at or above the last decimal
  const size_t start = out.size();
  if (keep <= 0) {
    out.push_back(keep == 0 && digits[0] >= '5' ? '1' : '0');
  } else if (keep >= 18) {
    out.append(digits, 18);
    out.append(static_cast<size_t>(keep - 18), '0');
  } else {
    out.append(digits, static_cast<size_t>(keep));
    if (digits[keep] >= '5') {
      size_t i = out.size();
      while (i > start && out[i - 1] == '9') out[--i] = '0';
      if (i > start)
        ++out[i - 1];
      else
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(start), '1');
    }
  }
  // Drop leading zeros, then restore the minimum of decimals + 1 digits.
  size_t first = start;
  while (first + 1 < out.size() && out[first] == '0') ++first;
  out.erase(start, first - start);
  const size_t have = out.size() - start;
  const size_t need = static_cast<size_t>(decimals) + 1;
  if (have < need) out.insert(start, need - have, '0');
}

}  // namespace

std::string_view Trim(std::string_view text) { return detail::Trimmed(text); }

namespace detail {

// kFieldTable applied to n bytes. Texts are mostly printable ASCII, which the
// table only upper-cases: a machine word of such bytes is mapped at once, any
// other word byte by byte. Each test below adds a constant per byte to bytes
// under 0x80, so no carry crosses into the next byte.
// Where SSE2 is there (every x86-64), sixteen bytes at once, the last block
// overlapping the one before, and only the bytes that are not printable ASCII
// go through the table; 8 to 15 bytes are one block of two overlapping
// halves. The 32-bit build is not assumed to have it.
#ifdef __SSE2__
namespace {

// The printable bytes of w upper-cased; bit k of `others` set for each byte
// k that is not printable ASCII or is '?', which the table must map.
inline __m128i MapPrintable(__m128i w, unsigned& others) {
  const __m128i below = _mm_set1_epi8(0x1F), above = _mm_set1_epi8(0x7F),
                question = _mm_set1_epi8('?'), beforeA = _mm_set1_epi8('a' - 1),
                pastZ = _mm_set1_epi8('z' + 1), caseBit = _mm_set1_epi8(0x20);
  // Signed compares: bytes from 0x80 are negative, so not above 0x1F.
  const __m128i printable =
      _mm_andnot_si128(_mm_cmpeq_epi8(w, question),
                       _mm_and_si128(_mm_cmpgt_epi8(w, below), _mm_cmpgt_epi8(above, w)));
  others = ~static_cast<unsigned>(_mm_movemask_epi8(printable)) & 0xFFFFu;
  const __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(w, beforeA), _mm_cmpgt_epi8(pastZ, w));
  return _mm_sub_epi8(w, _mm_and_si128(lower, caseBit));
}

}  // namespace
#endif

void PutFieldCharsLong(char* to, const char* from, size_t n) {
#ifdef __SSE2__
  if (n < 16) {
    // Bytes 0-7 and n-8 to n-1: the halves overlap by 16 - n bytes.
    const size_t high = n - 8;
    const __m128i w =
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(from)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + high)));
    unsigned others;
    const __m128i mapped = MapPrintable(w, others);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(to), mapped);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(to + high), _mm_unpackhi_epi64(mapped, mapped));
    for (; others; others &= others - 1) {
      const unsigned k = static_cast<unsigned>(__builtin_ctz(others));
      const size_t at = k < 8 ? k : high + (k - 8);
      to[at] = detail::FieldChar(from[at]);
    }
    return;
  }
  for (size_t i = 0;;) {
    unsigned others;
    const __m128i mapped =
        MapPrintable(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)), others);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), mapped);
    for (; others; others &= others - 1) {
      const size_t k = i + static_cast<unsigned>(__builtin_ctz(others));
      to[k] = detail::FieldChar(from[k]);
    }
    if (i + 16 == n) return;
    i = i + 32 <= n ? i + 16 : n - 16;
  }
#endif
  using Word = uintptr_t;
  constexpr Word kOnes = ~Word(0) / 0xFF;  // 0x0101...
  constexpr Word kHigh = kOnes * 0x80;
  size_t i = 0;
  for (; i + sizeof(Word) <= n; i += sizeof(Word)) {
    Word w;
    std::memcpy(&w, from + i, sizeof w);
    const bool plain = (w & kHigh) == 0 &&                                       // all below 0x80
                       ((w + kOnes * 0x60) & kHigh) == kHigh &&                  // all from 0x20
                       ((w + kOnes) & kHigh) == 0 &&                             // none is 0x7F
                       (((w ^ (kOnes * '?')) + kOnes * 0x7F) & kHigh) == kHigh;  // no '?'
    if (!plain) {
      for (size_t k = i; k < i + sizeof(Word); ++k) to[k] = detail::FieldChar(from[k]);
      continue;
    }
    const Word fromA = (w + kOnes * (0x80 - 'a')) & kHigh;
    const Word pastZ = (w + kOnes * (0x80 - 'z' - 1)) & kHigh;
    w -= (fromA & ~pastZ) >> 2;  // 0x80 >> 2 is the case bit, 0x20
    std::memcpy(to + i, &w, sizeof w);
  }
  for (; i < n; ++i) to[i] = detail::FieldChar(from[i]);
}

char* PutNumberSlow(char* at, double value, Decimals decimals, int width) {
  std::string digits;
  AppendScaledDigits(digits, value, static_cast<int>(decimals));
  return PutZeroFill(at, digits, width);
}

}  // namespace detail

std::string AlphanumericFilter(std::string_view text) {
  std::string out;
  for (char c : text)
    if (detail::IsAlphanumeric(static_cast<unsigned char>(c))) out.push_back(c);
  return out;
}

std::string ZeroFill(std::string_view text, int width, Justify side) {
  if (side == Justify::Left)
    return Rendered(RoomFor(width, text.size()),
                    [&](char* at) { return PutZeroFill(at, text, width); });
  std::string out(text);
  if (width > static_cast<int>(text.size())) out.append(width - text.size(), '0');
  return out;
}

char* PutAlphanumericField(char* at, std::string_view text, int width) {
  if (width <= 0) return at;
  const size_t n = static_cast<size_t>(width);
  size_t used = 0;
  for (size_t i = 0; i < text.size() && used < n; ++i)
    if (detail::IsAlphanumeric(static_cast<unsigned char>(text[i])))
      at[used++] = detail::FieldChar(text[i]);
  detail::Fill(at + used, ' ', n - used);
  return at + n;
}

std::string TextField(std::string_view text, int width, Justify justify, char fill) {
  return Rendered(RoomFor(width, 0),
                  [&](char* at) { return PutTextField(at, text, width, justify, fill); });
}

std::string NumberRendering(double value, Decimals decimals, int width) {
  return Rendered(RoomFor(width, kNumberRoom),
                  [&](char* at) { return PutNumber(at, value, decimals, width); });
}

char* PutSignedAmount(char* at, double value, int width) {
  if (value < 0) {
    *at = '-';
    return PutNumber(at + 1, -value, Decimals::Two, width - 1);
  }
  return PutNumber(at, value, Decimals::Two, width);
}

std::string SignedAmountRendering(double value, int width) {
  return Rendered(RoomFor(width, kNumberRoom + 1),
                  [&](char* at) { return PutSignedAmount(at, value, width); });
}

std::string FormatNumber(double value, Decimals decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const auto& regional = platform::Regional();
  std::string digits;
  AppendScaledDigits(digits, value, static_cast<int>(decimals));
  const size_t intLen = digits.size() - static_cast<size_t>(decimals);
  std::string out;
  if (value < 0) out.push_back('-');
  for (size_t i = 0; i < intLen; ++i) {
    if (i > 0 && (intLen - i) % 3 == 0) out.append(regional.thousandSeparator);
    out.push_back(digits[i]);
  }
  if (decimals != Decimals::None) {
    out.push_back(regional.decimalSeparator);
    out.append(digits, intLen, std::string::npos);
  }
  return out;
}

std::string IntegerRendering(int32_t value, int width) {
  return Rendered(RoomFor(width, kIntegerRoom),
                  [&](char* at) { return PutInteger(at, value, width); });
}

char* PutDate(char* at, double date) {
  const CivilDate d = ToCivil(static_cast<int32_t>(CheckedDayPart(date)));
  PutDigits(at, d.year, 4);
  PutDigits(at + 4, d.month, 2);
  PutDigits(at + 6, d.day, 2);
  return at + 8;
}

std::string DateRendering(double date) {
  return Rendered(8, [&](char* at) { return PutDate(at, date); });
}

char* PutTime(char* at, double time) {
  const double day = CheckedDayPart(time);
  int64_t ms = std::llround(std::fabs(time - day) * static_cast<double>(kMsPerDay));
  // A fraction a hair below the next day must not print as 24:00:00.
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  const int seconds = static_cast<int>(static_cast<int32_t>(ms) / 1000);
  PutDigits(at, seconds / 3600, 2);
  PutDigits(at + 2, seconds / 60 % 60, 2);
  PutDigits(at + 4, seconds % 60, 2);
  return at + 6;
}

std::string TimeRendering(double time) {
  return Rendered(6, [&](char* at) { return PutTime(at, time); });
}

std::string FormatDayMonthYear(double date) {
  const CivilDate d = ToCivil(static_cast<int32_t>(CheckedDayPart(date)));
  const char sep = platform::Regional().dateSeparator;
  char buf[10];
  PutDigits(buf, d.day, 2);
  buf[2] = sep;
  PutDigits(buf + 3, d.month, 2);
  buf[5] = sep;
  PutDigits(buf + 6, d.year, 4);
  return std::string(buf, 10);
}

bool CheckDigitsValid(std::string_view cpfOrCnpj) {
  char c[14];
  size_t n = 0;
  for (char ch : cpfOrCnpj) {
    if (!detail::IsAlphanumeric(static_cast<unsigned char>(ch))) continue;
    if (n == sizeof c) return false;
    c[n++] = ch;
  }
  if (n != 11 && n != 14) return false;
  auto value = [&](size_t i) { return static_cast<int>(static_cast<unsigned char>(c[i])) - 48; };
  auto checkDigit = [](int sum) {
    const int r = 11 - sum % 11;
    return r >= 10 ? 0 : r;
  };
  // Weights run from `top` down to 2, restarting at 9 for the CNPJ.
  auto weightedSum = [&](size_t count, int top, bool cnpj) {
    int sum = 0, w = top;
    for (size_t i = 0; i < count; ++i) {
      sum += value(i) * w;
      w = (w == 2 && cnpj) ? 9 : w - 1;
    }
    return sum;
  };
  if (n == 11) {
    const int d1 = checkDigit(weightedSum(9, 10, false));
    if (d1 != value(9)) return false;
    const int d2 = checkDigit(weightedSum(9, 11, false) + 2 * d1);
    return d2 == value(10);
  }
  const int d1 = checkDigit(weightedSum(12, 5, true));
  if (d1 != value(12)) return false;
  return checkDigit(weightedSum(13, 6, true)) == value(13);
}

}  // namespace quorix::rules
