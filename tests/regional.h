// Regional settings are read when the library loads, so each setting's tests
// run in a child process of their own, started by main() with the setting in
// place (POSIX: the locale environment; Windows: the user's settings in the
// registry). Tests of a setting live in the test suite named by `suite`.
#pragma once

namespace qt {

struct RegionalCase {
  const char* suite;        // e.g. "RegionalPtBr"
  const char* posixLocale;  // LC_ALL for the child on POSIX
  const char* decimal;      // sDecimal
  const char* thousand;     // sThousand
  const char* date;         // sDate
  const char* shortDate;    // sShortDate, which holds the date separator too
};

inline constexpr RegionalCase kRegionalCases[] = {
    {"RegionalPtBr", "pt_BR.UTF-8", ",", ".", "/", "dd/MM/yyyy"},
    {"RegionalEnUs", "en_US.UTF-8", ".", ",", "/", "M/d/yyyy"},
    {"RegionalC", "C", ".", "", "/", "MM/dd/yyyy"},
    {"RegionalDeDe", "de_DE.UTF-8", ",", ".", ".", "dd.MM.yyyy"},
};

// The setting this process runs under, or null in the parent process.
const RegionalCase* CurrentRegional();

}  // namespace qt
