#include "platform/regional.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string_view>

namespace quorix::platform {
namespace {

// Separators come from the environment's locale, which may be UTF-8; the
// library speaks Windows-1252, so map the few multi-byte separators in use
// (no-break spaces) and keep single bytes as they are.
std::string ToWindows1252(std::string_view s) {
  if (s.size() <= 1) return std::string(s);
  if (s == "\xC2\xA0" || s == "\xE2\x80\xAF" || s == "\xE2\x80\x89") return "\xA0";
  if (s == "\xE2\x80\x99") return "'";
  return " ";
}

char DateSeparatorOf(std::string_view format) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%') {
      ++i;
      while (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
      continue;
    }
    return format[i];
  }
  return '/';
}

}  // namespace

RegionalSettings ReadRegionalSettings() {
  RegionalSettings r;
  locale_t loc = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return r;
  const std::string decimal = ToWindows1252(nl_langinfo_l(RADIXCHAR, loc));
  if (decimal.size() == 1) r.decimalSeparator = decimal[0];
  r.thousandSeparator = ToWindows1252(nl_langinfo_l(THOUSEP, loc));
  r.dateSeparator = DateSeparatorOf(nl_langinfo_l(D_FMT, loc));
  freelocale(loc);
  return r;
}

}  // namespace quorix::platform
