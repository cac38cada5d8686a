#include "UFuncoes/grand_total.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UFuncoes/scrambled_ini.h"
#include "platform/regional.h"

namespace quorix::store {
namespace {

constexpr int kSignificantDigits = 15;
constexpr std::string_view kUnknownEcfTotal = "0";

void SetMessage(std::string_view first, std::string_view second) {
  std::string message(first);
  message += second;
  SetLastError(message);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The largest doubles round, at 15 digits, to a text above the largest
// double: 1.79769313486232E308. Such a text was written by an update that
// succeeded, so it reads back as the largest double rather than failing
// every later read of that ECF. `plain` is "[-]digits[.digits]e[+]digits",
// out of range upwards; it is compared a power of ten lower, in range.
bool IsLargestWrittenTotal(const std::string& plain, size_t at) {
  const size_t digits = at + 1 + (plain[at + 1] == '+' ? 1 : 0);
  long long exponent = 0;
  const auto [end, ec] =
      std::from_chars(plain.data() + digits, plain.data() + plain.size(), exponent);
  if (ec != std::errc() || end != plain.data() + plain.size()) return false;
  const std::string lower = plain.substr(0, at + 1) + std::to_string(exponent - 1);
  double tenth = 0;
  const auto res = std::from_chars(lower.data(), lower.data() + lower.size(), tenth);
  return res.ec == std::errc() && std::fabs(tenth) <= 1.79769313486232e307;
}

}  // namespace

std::string GeneralNumberFormat(double value, char decimalSeparator) {
  if (!std::isfinite(value)) throw Failure(msg::kNotANumber);
  if (value == 0) return "0";
  char buf[40];
  // "d.dddddddddddddde+XX": the value rounded to 15 significant digits.
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                 std::chars_format::scientific, kSignificantDigits - 1);
  const char* ePos = static_cast<const char*>(std::memchr(buf, 'e', res.ptr - buf));
  std::string digits;
  for (const char* p = buf; p < ePos; ++p)
    if (IsDigit(*p)) digits.push_back(*p);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent10 = 0;
  std::from_chars(ePos + 1 + (ePos[1] == '+' ? 1 : 0), res.ptr, exponent10);
  // As 0.d1d2...dn x 10^e.
  const int e = exponent10 + 1;
  const int n = static_cast<int>(digits.size());

  std::string out;
  if (value < 0) out.push_back('-');
  if (e >= -3 && e <= kSignificantDigits) {
    if (e <= 0) {
      out.push_back('0');
    } else {
      out.append(digits, 0, static_cast<size_t>(e < n ? e : n));
      if (n < e) out.append(static_cast<size_t>(e - n), '0');
    }
    if (n > e) {
      out.push_back(decimalSeparator);
      if (e < 0) out.append(static_cast<size_t>(-e), '0');
      out.append(digits, static_cast<size_t>(e > 0 ? e : 0), std::string::npos);
    }
  } else {
    out.push_back(digits[0]);
    if (n > 1) {
      out.push_back(decimalSeparator);
      out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    out += std::to_string(e - 1);
  }
  return out;
}

bool ParseGeneralNumber(std::string_view text, char decimalSeparator, double& value) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  // Rewritten in the one form from_chars reads, whatever the separator.
  std::string plain;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain.push_back('-');
    ++i;
  }
  size_t mantissaDigits = 0;
  bool separatorSeen = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      plain.push_back(c);
      ++mantissaDigits;
    } else if (c == decimalSeparator && !separatorSeen) {
      plain.push_back('.');
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    plain.push_back('e');
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
    size_t exponentDigits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++exponentDigits) plain.push_back(text[i]);
    if (exponentDigits == 0) return false;
  }
  if (i != n) return false;
  double parsed = 0;
  const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
  if (res.ptr != plain.data() + plain.size()) return false;
  if (res.ec == std::errc::result_out_of_range) {
    // Too small to tell from zero reads as zero; too large is no number,
    // except what the format itself writes for the largest totals.
    const size_t at = plain.find('e');
    if (at == std::string::npos) return false;
    if (plain.find('-', at) != std::string::npos) {
      parsed = plain[0] == '-' ? -0.0 : 0.0;
    } else if (!IsLargestWrittenTotal(plain, at)) {
      return false;
    } else {
      parsed = plain[0] == '-' ? -DBL_MAX : DBL_MAX;
    }
  } else if (res.ec != std::errc()) {
    return false;
  }
  value = parsed;
  return true;
}

bool UpdateGrandTotal(std::string_view serialNumber, double grandTotal,
                      std::string_view iniFileName) {
  if (iniFileName.empty()) {
    SetInvalidFile(iniFileName);
    return false;
  }
  if (RefusedNulFileName(iniFileName)) return false;
  if (serialNumber.empty()) {
    SetMessage(msg::kInvalidSerialNumber, serialNumber);
    return false;
  }
  try {
    const std::string text = GeneralNumberFormat(grandTotal, platform::Regional().decimalSeparator);
    ScrambledIni ini(iniFileName);
    ini.WriteScrambledValue(serialNumber, kGrandTotalKey, text);
    ini.Commit();
    if (ini.FileExists()) return true;
  } catch (const std::exception& e) {
    SetInvalidFile(iniFileName, e);
    return false;
  }
  SetInvalidFile(iniFileName);
  return false;
}

bool GetGrandTotal(std::string_view serialNumber, double* grandTotal,
                   std::string_view iniFileName) {
  if (RefusedNulFileName(iniFileName)) return false;
  ScrambledIni ini(iniFileName);
  if (iniFileName.empty() || !ini.FileExists()) {
    SetInvalidFile(iniFileName);
    return false;
  }
  if (serialNumber.empty()) {
    SetMessage(msg::kInvalidSerialNumber, serialNumber);
    return false;
  }
  double working = 0.0;
  bool result = false;
  try {
    const std::string text = ini.ReadScrambledValue(serialNumber, kGrandTotalKey, kUnknownEcfTotal);
    ini.Commit();
    double parsed = 0;
    if (!ParseGeneralNumber(text, platform::Regional().decimalSeparator, parsed)) {
      std::string failure(msg::kNotAFloatBefore);
      failure += text;
      failure += msg::kNotAFloatAfter;
      throw Failure(failure);
    }
    working = parsed;
    result = true;
  } catch (const std::exception& e) {
    SetInvalidFile(iniFileName, e);
  }
  if (grandTotal) *grandTotal = working;
  return result;
}

}  // namespace quorix::store
