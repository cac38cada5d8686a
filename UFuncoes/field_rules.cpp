#include "UFuncoes/field_rules.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "platform/regional.h"

namespace quorix::rules {
namespace {

bool IsAlphanumeric(unsigned char c) {
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
constexpr std::array<char, 256> kFieldTable = MakeFieldTable();

char FieldChar(char c) { return kFieldTable[static_cast<unsigned char>(c)]; }

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

std::string_view Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(b, e - b);
}

std::string AlphanumericFilter(std::string_view text) {
  std::string out;
  for (char c : text)
    if (IsAlphanumeric(static_cast<unsigned char>(c))) out.push_back(c);
  return out;
}

namespace {

// Small copies stay out of the C runtime's memcpy: the one a 32-bit Windows
// host loads costs several times more for a few bytes, and GCC would turn
// these loops back into calls.
#if defined(__GNUC__) && !defined(__clang__)
#define QUORIX_PLAIN_LOOP __attribute__((optimize("no-tree-loop-distribute-patterns")))
#else
#define QUORIX_PLAIN_LOOP
#endif
QUORIX_PLAIN_LOOP char* CopyBytes(char* at, const char* from, size_t count) {
  for (size_t i = 0; i < count; ++i) at[i] = from[i];
  return at + count;
}

QUORIX_PLAIN_LOOP char* Repeat(char* at, char c, size_t count) {
  for (size_t i = 0; i < count; ++i) at[i] = c;
  return at + count;
}

}  // namespace

char* PutAsPassed(char* at, std::string_view text) {
  return CopyBytes(at, text.data(), text.size());
}

char* PutZeroFill(char* at, std::string_view text, int width) {
  if (width > static_cast<int>(text.size())) at = Repeat(at, '0', width - text.size());
  return CopyBytes(at, text.data(), text.size());
}

std::string ZeroFill(std::string_view text, int width, Justify side) {
  if (side == Justify::Left)
    return Rendered(RoomFor(width, text.size()),
                    [&](char* at) { return PutZeroFill(at, text, width); });
  std::string out(text);
  if (width > static_cast<int>(text.size())) out.append(width - text.size(), '0');
  return out;
}

namespace {

// kFieldTable applied to n bytes. Texts are mostly printable ASCII, which the
// table only upper-cases: a machine word of such bytes is mapped at once, any
// other word byte by byte. Each test below adds a constant per byte to bytes
// under 0x80, so no carry crosses into the next byte.
void PutFieldChars(char* to, const char* from, size_t n) {
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
      for (size_t k = i; k < i + sizeof(Word); ++k) to[k] = FieldChar(from[k]);
      continue;
    }
    const Word fromA = (w + kOnes * (0x80 - 'a')) & kHigh;
    const Word pastZ = (w + kOnes * (0x80 - 'z' - 1)) & kHigh;
    w -= (fromA & ~pastZ) >> 2;  // 0x80 >> 2 is the case bit, 0x20
    std::memcpy(to + i, &w, sizeof w);
  }
  for (; i < n; ++i) to[i] = FieldChar(from[i]);
}

}  // namespace

char* PutTextField(char* at, std::string_view text, int width, Justify justify, char fill) {
  if (width <= 0) return at;
  const size_t n = static_cast<size_t>(width);
  fill = IsAlphanumeric(static_cast<unsigned char>(fill)) ? FieldChar(fill) : ' ';
  text = Trim(text);
  const size_t used = text.size() < n ? text.size() : n;
  if (justify == Justify::Left) {
    PutFieldChars(at, text.data(), used);
    Repeat(at + used, fill, n - used);
  } else {
    const char* src = text.data() + (text.size() - used);
    char* dst = Repeat(at, fill, n - used);
    PutFieldChars(dst, src, used);
  }
  return at + n;
}

char* PutAlphanumericField(char* at, std::string_view text, int width) {
  if (width <= 0) return at;
  const size_t n = static_cast<size_t>(width);
  size_t used = 0;
  for (size_t i = 0; i < text.size() && used < n; ++i)
    if (IsAlphanumeric(static_cast<unsigned char>(text[i]))) at[used++] = FieldChar(text[i]);
  Repeat(at + used, ' ', n - used);
  return at + n;
}

std::string TextField(std::string_view text, int width, Justify justify, char fill) {
  return Rendered(RoomFor(width, 0),
                  [&](char* at) { return PutTextField(at, text, width, justify, fill); });
}

char* PutCharField(char* at, char c) {
  *at = static_cast<unsigned char>(c) <= 32 ? ' ' : FieldChar(c);
  return at + 1;
}

char* PutCharAsPassed(char* at, char c) {
  *at = static_cast<unsigned char>(c) < 32 ? ' ' : c;
  return at + 1;
}

namespace {

// Decimal digits of n, most significant first, at the end of buf; returns the
// first. Below 2^32 the arithmetic stays 32-bit (no division calls in the
// 32-bit build), two digits a step.
char* DigitsOf(uint64_t n, char* end) {
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

// Most values of a line lie far from a rounding tie once scaled: the binary
// product then rounds exactly as the 18-digit decimal expansion would, and the
// digits come straight from an integer. Returns null, having written nothing,
// for values near a tie, too large for exact integers, or not finite.
char* PutScaledDigitsFast(char* at, double value, int decimals, int width) {
  static constexpr double kScale[] = {1, 10, 100, 1000};
  const double scaled = std::fabs(value) * kScale[decimals];
  if (!(scaled < 4503599627370496.0)) return nullptr;  // 2^52
  // Below 2^52 the conversion cuts exactly what floor would.
  const uint64_t whole = static_cast<uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(whole);
  // The margin covers the product's rounding error and the 18-digit cut, by far.
  if (std::fabs(fraction - 0.5) <= scaled * 1e-15 + 1e-300) return nullptr;
  char buf[20];
  char* const end = buf + sizeof buf;
  const char* p = DigitsOf(whole + (fraction > 0.5 ? 1 : 0), end);
  const int length = static_cast<int>(end - p);
  const int least = width > decimals + 1 ? width : decimals + 1;
  if (least > length) at = Repeat(at, '0', static_cast<size_t>(least - length));
  return CopyBytes(at, p, static_cast<size_t>(length));
}

}  // namespace

char* PutNumber(char* at, double value, Decimals decimals, int width) {
  if (char* end = PutScaledDigitsFast(at, value, static_cast<int>(decimals), width)) return end;
  std::string digits;
  AppendScaledDigits(digits, value, static_cast<int>(decimals));
  return PutZeroFill(at, digits, width);
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

char* PutInteger(char* at, int32_t value, int width) {
  char buf[12];
  char* const end = buf + sizeof buf;
  // The magnitude as unsigned, so that the most negative value has one too.
  const uint32_t magnitude =
      value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char* p = DigitsOf(magnitude, end);
  if (value < 0) *--p = '-';
  return PutZeroFill(at, std::string_view(p, static_cast<size_t>(end - p)), width);
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
    if (!IsAlphanumeric(static_cast<unsigned char>(ch))) continue;
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
