// The report line builders, one per record kind; each lives in its own file
// under records/ with its layout table and its checks.
#pragma once

#include <string_view>

#include "UPAF/record_frame.h"

namespace quorix::upaf {

bool Header(std::string_view recordType);

}  // namespace quorix::upaf
