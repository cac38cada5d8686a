// Entries of the totals, Reduction Z list and detail, and daily movement builders.
#include "exports/record_entry.h"
#include "quorix.h"

using quorix::boundary::Build;
using quorix::upaf::RecordId;

extern "C" {

quorix_bool QUORIX_CALL quorix_Totally(quorix_text recordType, quorix_text countedType) {
  return Build<RecordId::Totally>(recordType, countedType);
}

quorix_bool QUORIX_CALL quorix_RelacaoReducoesZ(quorix_text recordType, quorix_text serialNumber,
                                                quorix_text mfAdditional, quorix_text ecfModel,
                                                quorix_text userNumber, quorix_text crz,
                                                quorix_text coo, quorix_text cro,
                                                double movementDate, double issueDate,
                                                double issueTime, double grossSales,
                                                quorix_text issqnDiscountFlag) {
  return Build<RecordId::ReductionZList>(recordType, serialNumber, mfAdditional, ecfModel,
                                         userNumber, crz, coo, cro, movementDate, issueDate,
                                         issueTime, grossSales, issqnDiscountFlag);
}

quorix_bool QUORIX_CALL quorix_DetalheReducaoZ(quorix_text recordType, quorix_text serialNumber,
                                               quorix_text mfAdditional, quorix_text ecfModel,
                                               quorix_text userNumber, quorix_text crz,
                                               quorix_text totalizerCode, double accumulatedValue) {
  return Build<RecordId::ReductionZDetail>(recordType, serialNumber, mfAdditional, ecfModel,
                                           userNumber, crz, totalizerCode, accumulatedValue);
}

quorix_bool QUORIX_CALL quorix_RelacaoMovimentoDiario(
    quorix_text recordType, double movementDay, quorix_text longCode, quorix_text shortCode,
    quorix_text firstNumber, quorix_text secondNumber, quorix_text serialNumber,
    quorix_text thirdNumber, quorix_text fourCharCode, double accountingValue, double taxBase,
    double taxRate, double taxAmount, double exemptAmount, double otherAmount) {
  return Build<RecordId::DailyMovement>(recordType, movementDay, longCode, shortCode, firstNumber,
                                        secondNumber, serialNumber, thirdNumber, fourCharCode,
                                        accountingValue, taxBase, taxRate, taxAmount, exemptAmount,
                                        otherAmount);
}

}  // extern "C"
