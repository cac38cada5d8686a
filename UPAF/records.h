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
// Totals, Reduction Z list and detail, daily movement.
bool Totally(std::string_view recordType, std::string_view countedType);
bool RelacaoReducoesZ(std::string_view recordType, std::string_view serialNumber,
                      std::string_view mfAdditional, std::string_view ecfModel,
                      std::string_view userNumber, std::string_view crz, std::string_view coo,
                      std::string_view cro, double movementDate, double issueDate,
                      double issueTime, double grossSales, std::string_view issqnDiscountFlag);
bool DetalheReducaoZ(std::string_view recordType, std::string_view serialNumber,
                     std::string_view mfAdditional, std::string_view ecfModel,
                     std::string_view userNumber, std::string_view crz,
                     std::string_view totalizerCode, double accumulatedValue);
bool RelacaoMovimentoDiario(std::string_view recordType, double movementDay,
                            std::string_view longCode, std::string_view shortCode,
                            std::string_view firstNumber, std::string_view secondNumber,
                            std::string_view serialNumber, std::string_view thirdNumber,
                            std::string_view fourCharCode, double accountingValue, double taxBase,
                            double taxRate, double taxAmount, double exemptAmount,
                            double otherAmount);
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
// Anexo VI identification block.
bool HeaderAnexoVI(std::string_view recordType, std::string_view serialNumber,
                   std::string_view mfAdditional, std::string_view ecfType,
                   std::string_view ecfBrand, std::string_view ecfModel,
                   std::string_view firmwareVersion, double firmwareDate, double firmwareTime,
                   int32_t ecfOrderNumber, std::string_view softwareHouseFile, double periodStart,
                   double periodEnd, std::string_view versionCode);

}  // namespace quorix::upaf
