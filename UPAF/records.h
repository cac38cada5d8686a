// The report line builders, one per record kind; each lives in its own file
// under records/ with its layout table and its checks.
#pragma once

#include <cstdint>
#include <string_view>

#include "UPAF/record_frame.h"

namespace quorix::upaf {

bool Header(std::string_view recordType);

bool HeaderAnexoVI(std::string_view recordType, std::string_view serialNumber,
                   std::string_view mfAdditional, std::string_view ecfType,
                   std::string_view ecfBrand, std::string_view ecfModel,
                   std::string_view firmwareVersion, double firmwareDate, double firmwareTime,
                   int32_t ecfOrderNumber, std::string_view softwareHouseFile, double periodStart,
                   double periodEnd, std::string_view versionCode);

}  // namespace quorix::upaf
