// The report line builders, one per record kind; each lives in its own file
// under records/ with its layout table and its checks.
#pragma once

#include <cstdint>
#include <string_view>

#include "UPAF/record_frame.h"

namespace quorix::upaf {

bool Header(std::string_view recordType);

// DAV issued, goods in stock, goods and services table.
bool RelacaoDavEmitido(std::string_view recordType, std::string_view serialNumber,
                       std::string_view mfAdditional, std::string_view ecfType,
                       std::string_view ecfBrand, std::string_view ecfModel, int32_t coo,
                       std::string_view davNumber, double davDate, std::string_view davTitle,
                       double davTotal);
bool RelacaoMercadoriaEstoque(std::string_view recordType, std::string_view productCode,
                              std::string_view productDescription, std::string_view unitOfMeasure,
                              double stockQuantity, double stockDate);
bool RelacaoMercadoriaServicos(std::string_view recordType, std::string_view productCode,
                               std::string_view productDescription, std::string_view unitOfMeasure,
                               uint32_t roundingIndicator, uint32_t productionIndicator,
                               uint32_t taxSituation, double taxRate, double unitPrice);

}  // namespace quorix::upaf
