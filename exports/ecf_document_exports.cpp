// Entries of the ECF document lines: fiscal coupons, their items, other
// documents and payments.
#include "UPAF/records.h"
#include "exports/boundary.h"
#include "quorix.h"

using quorix::boundary::Guarded;
using quorix::boundary::TextArg;

extern "C" {

quorix_bool QUORIX_CALL quorix_RelacaoCupomFiscal(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text ccf, quorix_text coo,
    double issueStartDate, double subtotal, double subtotalDiscount, quorix_slot discountKind,
    double subtotalIncrease, quorix_slot increaseKind, double netTotal, quorix_slot cancelIndicator,
    double cancelledIncrease, quorix_slot adjustmentOrder, quorix_text buyerName,
    quorix_text buyerId) {
  TextArg type(recordType), serial(serialNumber), mf(mfAdditional), model(ecfModel),
      user(userNumber), ccfText(ccf), cooText(coo), name(buyerName), id(buyerId);
  return Guarded([&] {
    return quorix::upaf::RelacaoCupomFiscal(
        type.view(), serial.view(), mf.view(), model.view(), user.view(), ccfText.view(),
        cooText.view(), issueStartDate, subtotal, subtotalDiscount, discountKind, subtotalIncrease,
        increaseKind, netTotal, cancelIndicator, cancelledIncrease, adjustmentOrder, name.view(),
        id.view());
  });
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
  TextArg type(recordType), serial(serialNumber), mf(mfAdditional), model(ecfModel),
      user(userNumber), cooText(coo), ccfText(ccf), item(itemNumber), code(productCode),
      description(productDescription), unit(unitOfMeasure), totalizer(totalizerCode);
  return Guarded([&] {
    return quorix::upaf::DetalheCupomFiscal(
        type.view(), serial.view(), mf.view(), model.view(), user.view(), cooText.view(),
        ccfText.view(), item.view(), code.view(), description.view(), quantity, unit.view(),
        unitValue, itemDiscount, itemIncrease, netTotal, totalizer.view(), cancelIndicator,
        cancelledQuantity, cancelledValue, cancelledIncrease, roundingIndicator,
        productionIndicator, quantityDecimals, unitValueDecimals);
  });
}

quorix_bool QUORIX_CALL quorix_RelacaoDemaisDoctosEcf(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text gnf, quorix_text grg,
    quorix_text cdc, quorix_text documentSymbol, double issueEndDate, double issueEndTime) {
  TextArg type(recordType), serial(serialNumber), mf(mfAdditional), model(ecfModel),
      user(userNumber), cooText(coo), gnfText(gnf), grgText(grg), cdcText(cdc),
      symbol(documentSymbol);
  return Guarded([&] {
    return quorix::upaf::RelacaoDemaisDoctosEcf(
        type.view(), serial.view(), mf.view(), model.view(), user.view(), cooText.view(),
        gnfText.view(), grgText.view(), cdcText.view(), symbol.view(), issueEndDate, issueEndTime);
  });
}

quorix_bool QUORIX_CALL quorix_DetalheDemaisDoctosEcf(
    quorix_text recordType, quorix_text serialNumber, quorix_text mfAdditional,
    quorix_text ecfModel, quorix_text userNumber, quorix_text coo, quorix_text ccf, quorix_text gnf,
    quorix_text paymentMethod, double amountPaid, quorix_slot reversalIndicator,
    double reversedAmount) {
  TextArg type(recordType), serial(serialNumber), mf(mfAdditional), model(ecfModel),
      user(userNumber), cooText(coo), ccfText(ccf), gnfText(gnf), method(paymentMethod);
  return Guarded([&] {
    return quorix::upaf::DetalheDemaisDoctosEcf(type.view(), serial.view(), mf.view(), model.view(),
                                                user.view(), cooText.view(), ccfText.view(),
                                                gnfText.view(), method.view(), amountPaid,
                                                reversalIndicator, reversedAmount);
  });
}

}  // extern "C"
