// Opening and finishing a report.
#pragma once

#include <string_view>

namespace quorix::upaf {

bool OpenReport(std::string_view cnpjCpf, std::string_view stateRegistration,
                std::string_view municipalRegistration, std::string_view companyName);

bool FinishReport(std::string_view publicKey, std::string_view privateKey,
                  std::string_view fileName, bool signOnly);

}  // namespace quorix::upaf
