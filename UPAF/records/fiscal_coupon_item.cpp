// Fiscal coupon item: one line per item of a coupon, after the coupon's own
// line. The widest record of a report and the most frequent one.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)               \
  QUORIX_ECF_IDENTIFICATION(X)      \
  X(coo, Text)                      \
  X(ccf, Text)                      \
  X(itemNumber, Text)               \
  X(productCode, Text)              \
  X(productDescription, Text)       \
  X(quantity, Real)                 \
  X(unitOfMeasure, Text)            \
  X(unitValue, Real)                \
  X(itemDiscount, Real)             \
  X(itemIncrease, Real)             \
  X(netTotal, Real)                 \
  X(totalizerCode, Text)            \
  X(cancelIndicator, Character)     \
  X(cancelledQuantity, Real)        \
  X(cancelledValue, Real)           \
  X(cancelledIncrease, Real)        \
  X(roundingIndicator, Character)   \
  X(productionIndicator, Character) \
  X(quantityDecimals, Integer)      \
  X(unitValueDecimals, Integer)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// Written so that a value that is not a number fails too. The quantity is
// shown in hundredths whatever its own count of decimals.
constexpr Check kChecks[] = {
    Must({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
    Must({productCode, is::kFilled}, msg::kInvalidProductCode),
    Must({productDescription, is::kFilled}, msg::kInvalidProductDescription),
    Must({unitOfMeasure, is::kFilled}, msg::kInvalidUnitOfMeasure),
    MustValues({{quantity, is::kAboveZero}}, {Shown(msg::kInvalidQuantity, quantity)}),
    Must({roundingIndicator, is::kOneOf, "AT"}, msg::kInvalidRoundingIndicator),
    Must({productionIndicator, is::kOneOf, "PT"}, msg::kInvalidProductionIndicator),
    MustValues({{netTotal, is::kAboveZero},
                {itemIncrease, is::kAtLeastZero},
                {itemDiscount, is::kAtLeastZero},
                {unitValue, is::kAboveZero}},
               {Shown(msg::kItemValues, unitValue), Shown(msg::kItemDiscount, itemDiscount),
                Shown(msg::kItemIncrease, itemIncrease), Shown(msg::kItemTotal, netTotal)}),
};

constexpr auto kLayout = EcfIdentified({
    Counter(coo, 6, "COO"),
    Counter(ccf, 6, "CCF"),
    Counter(itemNumber, 3, "n\xFAmero do item"),
    Text(productCode, 14, names::kProductCode),
    Text(productDescription, 100, names::kProductDescription),
    NumberByCount(quantity, quantityDecimals, 7, "quantidade"),
    Text(unitOfMeasure, 3, names::kUnitOfMeasure),
    Amount(unitValue, 8, "valor unit\xE1rio"),
    Amount(itemDiscount, 8, "desconto sobre o item"),
    Amount(itemIncrease, 8, "acr\xE9scimo sobre o item"),
    Amount(netTotal, 14, names::kNetTotal),
    Text(totalizerCode, 7, names::kTotalizerCode),
    Character(cancelIndicator, names::kCancelIndicator),
    Amount(cancelledQuantity, 7, "quantidade cancelada"),  // hundredths, whatever the count says
    Amount(cancelledValue, 13, "valor cancelado"),
    Amount(cancelledIncrease, 13, names::kCancelledIncrease),
    Character(roundingIndicator, names::kRoundingIndicator),
    Character(productionIndicator, names::kProductionIndicator),
    Integer(quantityDecimals, 1, "casas decimais da quantidade"),
    Integer(unitValueDecimals, 1, "casas decimais do valor unit\xE1rio"),
});

}  // namespace

constexpr RecordKind kFiscalCouponItem{
    RecordId::FiscalCouponItem,
    "item do cupom fiscal",
    /*typeLength=*/3,
    /*lineLength=*/268,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kFiscalCouponItem);

}  // namespace quorix::upaf::records
