#include "platform/regional.h"

namespace quorix::platform {
namespace {

// Read while the library is being loaded, as hosts expect: changing the
// system settings later does not affect a loaded library.
RegionalSettings& Settings() {
  static RegionalSettings settings = ReadRegionalSettings();
  return settings;
}
const RegionalSettings& kLoadTimeRead = Settings();

}  // namespace

const RegionalSettings& Regional() { return Settings(); }

void OverrideRegionalForTests(const RegionalSettings& settings) { Settings() = settings; }

}  // namespace quorix::platform
