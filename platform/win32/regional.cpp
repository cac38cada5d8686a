#include "platform/regional.h"

#include <windows.h>

namespace quorix::platform {
namespace {

bool UserLocaleText(LCTYPE item, std::string& out) {
  char buf[16];
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buf, sizeof buf);
  if (n <= 0) return false;
  out.assign(buf, static_cast<size_t>(n - 1));
  return true;
}

}  // namespace

RegionalSettings ReadRegionalSettings() {
  RegionalSettings r;
  std::string s;
  if (UserLocaleText(LOCALE_SDECIMAL, s) && !s.empty()) r.decimalSeparator = s[0];
  if (UserLocaleText(LOCALE_STHOUSAND, s)) r.thousandSeparator = s;
  if (UserLocaleText(LOCALE_SDATE, s) && !s.empty()) r.dateSeparator = s[0];
  return r;
}

}  // namespace quorix::platform
