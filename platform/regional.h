// The user's regional number and date separators, read once when the library
// is loaded (Windows: the user's locale settings; POSIX: LC_NUMERIC and
// LC_TIME of the process environment, without touching the process locale).
#pragma once

#include <string>

namespace quorix::platform {

struct RegionalSettings {
  char decimalSeparator = '.';
  std::string thousandSeparator = ",";  // may be empty: no grouping
  char dateSeparator = '/';
};

const RegionalSettings& Regional();

// Reads the settings from the system again (what loading does).
RegionalSettings ReadRegionalSettings();

// For unit tests of the rules only: replaces the settings of this copy of the code.
void OverrideRegionalForTests(const RegionalSettings& settings);

}  // namespace quorix::platform
