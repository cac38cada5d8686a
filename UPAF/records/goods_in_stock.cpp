// Goods in stock: one line per product with its signed stock quantity.
#include <cmath>

#include "UConst/messages.h"
#include "UPAF/records.h"

namespace quorix::upaf {
namespace {

enum Param : int {
  recordType,
  productCode,
  productDescription,
  unitOfMeasure,
  stockQuantity,
  stockDate,
};

bool Checks(const Args& a) {
  // Stock positions before 1899-12-30 are legitimate; only day zero is not.
  const double date = a.real(stockDate);
  return Require(FilledSingleLine(a.text(productCode)), msg::kInvalidProductCode) &&
         Require(Filled(a.text(productDescription)), msg::kInvalidProductDescription) &&
         Require(Filled(a.text(unitOfMeasure)), msg::kInvalidUnitOfMeasure) &&
         Require(date != 0 && !std::isnan(date), msg::kInvalidStockDate);
}

const RecordKind kGoodsInStock{
    /*typeLength=*/2,
    /*lineLength=*/103,
    /*entryClear=*/true,
    /*taxpayerCheck=*/true,
    /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(kTaxpayerCnpjCpf, 14),
        ZeroFilled(productCode, 14),
        Text(productDescription, 50),
        Text(unitOfMeasure, 6),
        SignedAmount(stockQuantity, 9),
        Date(stockDate),
    },
    Checks,
};

}  // namespace

bool RelacaoMercadoriaEstoque(std::string_view type, std::string_view code,
                              std::string_view description, std::string_view unit, double quantity,
                              double date) {
  const Arg args[] = {
      Arg::Text(type), Arg::Text(code),     Arg::Text(description),
      Arg::Text(unit), Arg::Real(quantity), Arg::Real(date),
  };
  return AssembleRecord(kGoodsInStock, Args(args, sizeof args / sizeof args[0]));
}

}  // namespace quorix::upaf
