// The report line builders, one per record kind; each lives in its own file
// under records/ with its layout table and its checks.
#pragma once

#include <cstdint>
#include <string_view>

#include "UPAF/record_frame.h"

namespace quorix::upaf {

bool Header(std::string_view recordType);

// ECF documents. Character arguments take the host's 4-byte slot.
bool RelacaoCupomFiscal(std::string_view recordType, std::string_view serialNumber,
                        std::string_view mfAdditional, std::string_view ecfModel,
                        std::string_view userNumber, std::string_view ccf, std::string_view coo,
                        double issueStartDate, double subtotal, double subtotalDiscount,
                        uint32_t discountKind, double subtotalIncrease, uint32_t increaseKind,
                        double netTotal, uint32_t cancelIndicator, double cancelledIncrease,
                        uint32_t adjustmentOrder, std::string_view buyerName,
                        std::string_view buyerId);
bool DetalheCupomFiscal(std::string_view recordType, std::string_view serialNumber,
                        std::string_view mfAdditional, std::string_view ecfModel,
                        std::string_view userNumber, std::string_view coo, std::string_view ccf,
                        std::string_view itemNumber, std::string_view productCode,
                        std::string_view productDescription, double quantity,
                        std::string_view unitOfMeasure, double unitValue, double itemDiscount,
                        double itemIncrease, double netTotal, std::string_view totalizerCode,
                        uint32_t cancelIndicator, double cancelledQuantity, double cancelledValue,
                        double cancelledIncrease, uint32_t roundingIndicator,
                        uint32_t productionIndicator, int32_t quantityDecimals,
                        int32_t unitValueDecimals);
bool RelacaoDemaisDoctosEcf(std::string_view recordType, std::string_view serialNumber,
                            std::string_view mfAdditional, std::string_view ecfModel,
                            std::string_view userNumber, std::string_view coo,
                            std::string_view gnf, std::string_view grg, std::string_view cdc,
                            std::string_view documentSymbol, double issueEndDate,
                            double issueEndTime);
bool DetalheDemaisDoctosEcf(std::string_view recordType, std::string_view serialNumber,
                            std::string_view mfAdditional, std::string_view ecfModel,
                            std::string_view userNumber, std::string_view coo,
                            std::string_view ccf, std::string_view gnf,
                            std::string_view paymentMethod, double amountPaid,
                            uint32_t reversalIndicator, double reversedAmount);

}  // namespace quorix::upaf
