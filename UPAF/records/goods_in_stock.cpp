// Goods in stock: one line per product with its signed stock quantity.
#include <cmath>

#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)         \
  X(recordType, Text)         \
  X(productCode, Text)        \
  X(productDescription, Text) \
  X(unitOfMeasure, Text)      \
  X(stockQuantity, Real)      \
  X(stockDate, Date)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

constexpr Check kChecks[] = {
    Must({productCode, is::kFilledSingleLine}, msg::kInvalidProductCode),
    Must({productDescription, is::kFilled}, msg::kInvalidProductDescription),
    Must({unitOfMeasure, is::kFilled}, msg::kInvalidUnitOfMeasure),
    Must({stockDate, is::kNotDayZero}, msg::kInvalidStockDate),
};

constexpr Field kLayout[] = {
    RecordType(2),
    Text(kTaxpayerCnpjCpf, 14, names::kTaxpayerCnpjCpf),
    Code(productCode, 14, names::kProductCode),
    Text(productDescription, 50, names::kProductDescription),
    Text(unitOfMeasure, 6, names::kUnitOfMeasure),
    SignedAmount(stockQuantity, 9, "quantidade em estoque"),
    Date(stockDate, "data do estoque"),
};

}  // namespace

constexpr RecordKind kGoodsInStock{
    RecordId::GoodsInStock,
    "mercadoria em estoque",
    /*typeLength=*/2,
    /*lineLength=*/103,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kGoodsInStock);

}  // namespace quorix::upaf::records
