// Entries of the totals, Reduction Z list and detail, and daily movement builders.
#include "UPAF/records.h"
#include "exports/boundary.h"
#include "quorix.h"

using quorix::boundary::Guarded;
using quorix::boundary::TextArg;

extern "C" {

quorix_bool QUORIX_CALL quorix_Totally(quorix_text recordType, quorix_text countedType) {
  TextArg type(recordType), counted(countedType);
  return Guarded([&] { return quorix::upaf::Totally(type.view(), counted.view()); });
}

quorix_bool QUORIX_CALL quorix_RelacaoReducoesZ(quorix_text recordType, quorix_text serialNumber,
                                                quorix_text mfAdditional, quorix_text ecfModel,
                                                quorix_text userNumber, quorix_text crz,
                                                quorix_text coo, quorix_text cro,
                                                double movementDate, double issueDate,
                                                double issueTime, double grossSales,
                                                quorix_text issqnDiscountFlag) {
  TextArg type(recordType), serial(serialNumber), mf(mfAdditional), model(ecfModel),
      user(userNumber), z(crz), o(coo), r(cro), flag(issqnDiscountFlag);
  return Guarded([&] {
    return quorix::upaf::RelacaoReducoesZ(type.view(), serial.view(), mf.view(), model.view(),
                                          user.view(), z.view(), o.view(), r.view(), movementDate,
                                          issueDate, issueTime, grossSales, flag.view());
  });
}

quorix_bool QUORIX_CALL quorix_DetalheReducaoZ(quorix_text recordType, quorix_text serialNumber,
                                               quorix_text mfAdditional, quorix_text ecfModel,
                                               quorix_text userNumber, quorix_text crz,
                                               quorix_text totalizerCode, double accumulatedValue) {
  TextArg type(recordType), serial(serialNumber), mf(mfAdditional), model(ecfModel),
      user(userNumber), z(crz), totalizer(totalizerCode);
  return Guarded([&] {
    return quorix::upaf::DetalheReducaoZ(type.view(), serial.view(), mf.view(), model.view(),
                                         user.view(), z.view(), totalizer.view(), accumulatedValue);
  });
}

quorix_bool QUORIX_CALL quorix_RelacaoMovimentoDiario(
    quorix_text recordType, double movementDay, quorix_text longCode, quorix_text shortCode,
    quorix_text firstNumber, quorix_text secondNumber, quorix_text serialNumber,
    quorix_text thirdNumber, quorix_text fourCharCode, double accountingValue, double taxBase,
    double taxRate, double taxAmount, double exemptAmount, double otherAmount) {
  TextArg type(recordType), lc(longCode), sc(shortCode), n1(firstNumber), n2(secondNumber),
      serial(serialNumber), n3(thirdNumber), fc(fourCharCode);
  return Guarded([&] {
    return quorix::upaf::RelacaoMovimentoDiario(type.view(), movementDay, lc.view(), sc.view(),
                                                n1.view(), n2.view(), serial.view(), n3.view(),
                                                fc.view(), accountingValue, taxBase, taxRate,
                                                taxAmount, exemptAmount, otherAmount);
  });
}

}  // extern "C"
