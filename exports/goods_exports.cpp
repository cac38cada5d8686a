// Entries of the DAV issued, goods in stock and goods and services builders.
#include "exports/record_entry.h"
#include "quorix.h"

using quorix::boundary::Build;
using quorix::upaf::RecordId;

extern "C" {

quorix_bool QUORIX_CALL quorix_RelacaoDavEmitido(quorix_text recordType, quorix_text serialNumber,
                                                 quorix_text mfAdditional, quorix_text ecfType,
                                                 quorix_text ecfBrand, quorix_text ecfModel,
                                                 int32_t coo, quorix_text davNumber, double davDate,
                                                 quorix_text davTitle, double davTotal) {
  return Build<RecordId::DavIssued>(recordType, serialNumber, mfAdditional, ecfType, ecfBrand,
                                    ecfModel, coo, davNumber, davDate, davTitle, davTotal);
}

quorix_bool QUORIX_CALL quorix_RelacaoMercadoriaEstoque(quorix_text recordType,
                                                        quorix_text productCode,
                                                        quorix_text productDescription,
                                                        quorix_text unitOfMeasure,
                                                        double stockQuantity, double stockDate) {
  return Build<RecordId::GoodsInStock>(recordType, productCode, productDescription, unitOfMeasure,
                                       stockQuantity, stockDate);
}

quorix_bool QUORIX_CALL quorix_RelacaoMercadoriaServicos(
    quorix_text recordType, quorix_text productCode, quorix_text productDescription,
    quorix_text unitOfMeasure, quorix_slot roundingIndicator, quorix_slot productionIndicator,
    quorix_slot taxSituation, double taxRate, double unitPrice) {
  return Build<RecordId::GoodsAndServices>(recordType, productCode, productDescription,
                                           unitOfMeasure, roundingIndicator, productionIndicator,
                                           taxSituation, taxRate, unitPrice);
}

}  // extern "C"
