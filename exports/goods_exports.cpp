// Entries of the DAV issued, goods in stock and goods and services builders.
#include "UPAF/records.h"
#include "exports/boundary.h"
#include "quorix.h"

using quorix::boundary::Guarded;
using quorix::boundary::TextArg;

extern "C" {

quorix_bool QUORIX_CALL quorix_RelacaoDavEmitido(quorix_text recordType, quorix_text serialNumber,
                                                 quorix_text mfAdditional, quorix_text ecfType,
                                                 quorix_text ecfBrand, quorix_text ecfModel,
                                                 int32_t coo, quorix_text davNumber, double davDate,
                                                 quorix_text davTitle, double davTotal) {
  TextArg type(recordType), serial(serialNumber), mf(mfAdditional), ecf(ecfType), brand(ecfBrand),
      model(ecfModel), number(davNumber), title(davTitle);
  return Guarded([&] {
    return quorix::upaf::RelacaoDavEmitido(type.view(), serial.view(), mf.view(), ecf.view(),
                                           brand.view(), model.view(), coo, number.view(), davDate,
                                           title.view(), davTotal);
  });
}

quorix_bool QUORIX_CALL quorix_RelacaoMercadoriaEstoque(quorix_text recordType,
                                                        quorix_text productCode,
                                                        quorix_text productDescription,
                                                        quorix_text unitOfMeasure,
                                                        double stockQuantity, double stockDate) {
  TextArg type(recordType), code(productCode), description(productDescription), unit(unitOfMeasure);
  return Guarded([&] {
    return quorix::upaf::RelacaoMercadoriaEstoque(type.view(), code.view(), description.view(),
                                                  unit.view(), stockQuantity, stockDate);
  });
}

quorix_bool QUORIX_CALL quorix_RelacaoMercadoriaServicos(
    quorix_text recordType, quorix_text productCode, quorix_text productDescription,
    quorix_text unitOfMeasure, quorix_slot roundingIndicator, quorix_slot productionIndicator,
    quorix_slot taxSituation, double taxRate, double unitPrice) {
  TextArg type(recordType), code(productCode), description(productDescription), unit(unitOfMeasure);
  return Guarded([&] {
    return quorix::upaf::RelacaoMercadoriaServicos(
        type.view(), code.view(), description.view(), unit.view(), roundingIndicator,
        productionIndicator, taxSituation, taxRate, unitPrice);
  });
}

}  // extern "C"
