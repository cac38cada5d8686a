// Entries of the ECF document lines: fiscal coupons, their items, other
// documents and payments.
#include "exports/record_entry.h"
#include "quorix.h"

using quorix::boundary::Build;
using quorix::upaf::RecordId;

extern "C" {

quorix_bool QUORIX_CALL quorix_RelacaoCupomFiscal(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text ccf, quorix_text coo,
    double issueStartDate, double subtotal, double subtotalDiscount, quorix_slot discountKind,
    double subtotalIncrease, quorix_slot increaseKind, double netTotal, quorix_slot cancelIndicator,
    double cancelledIncrease, quorix_slot adjustmentOrder, quorix_text buyerName,
    quorix_text buyerId) {
  return Build<RecordId::FiscalCoupon>(
      recordType, serialNumber, mfAdditional, ecfModel, userNumber, ccf, coo, issueStartDate,
      subtotal, subtotalDiscount, discountKind, subtotalIncrease, increaseKind, netTotal,
      cancelIndicator, cancelledIncrease, adjustmentOrder, buyerName, buyerId);
}

quorix_bool QUORIX_CALL quorix_DetalheCupomFiscal(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text ccf,
    quorix_text itemNumber, quorix_text productCode, quorix_text productDescription,
    double quantity, quorix_text unitOfMeasure, double unitValue, double itemDiscount,
    double itemIncrease, double netTotal, quorix_text totalizerCode, quorix_slot cancelIndicator,
    double cancelledQuantity, double cancelledValue, double cancelledIncrease,
    quorix_slot roundingIndicator, quorix_slot productionIndicator, int32_t quantityDecimals,
    int32_t unitValueDecimals) {
  return Build<RecordId::FiscalCouponItem>(
      recordType, serialNumber, mfAdditional, ecfModel, userNumber, coo, ccf, itemNumber,
      productCode, productDescription, quantity, unitOfMeasure, unitValue, itemDiscount,
      itemIncrease, netTotal, totalizerCode, cancelIndicator, cancelledQuantity, cancelledValue,
      cancelledIncrease, roundingIndicator, productionIndicator, quantityDecimals,
      unitValueDecimals);
}

quorix_bool QUORIX_CALL quorix_RelacaoDemaisDoctosEcf(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text gnf, quorix_text grg,
    quorix_text cdc, quorix_text documentSymbol, double issueEndDate, double issueEndTime) {
  return Build<RecordId::OtherDocument>(recordType, serialNumber, mfAdditional, ecfModel,
                                        userNumber, coo, gnf, grg, cdc, documentSymbol,
                                        issueEndDate, issueEndTime);
}

quorix_bool QUORIX_CALL quorix_DetalheDemaisDoctosEcf(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text ccf, quorix_text gnf,
    quorix_text paymentMethod, double amountPaid, quorix_slot reversalIndicator,
    double reversedAmount) {
  return Build<RecordId::Payment>(recordType, serialNumber, mfAdditional, ecfModel, userNumber, coo,
                                  ccf, gnf, paymentMethod, amountPaid, reversalIndicator,
                                  reversedAmount);
}

}  // extern "C"
