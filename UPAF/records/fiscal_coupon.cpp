// Fiscal coupon: one line per coupon an ECF issued, with its counters, its
// subtotal adjustments, its net total and its buyer.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)           \
  QUORIX_ECF_IDENTIFICATION(X)  \
  X(ccf, Text)                  \
  X(coo, Text)                  \
  X(issueStartDate, Date)       \
  X(subtotal, Real)             \
  X(subtotalDiscount, Real)     \
  X(discountKind, Character)    \
  X(subtotalIncrease, Real)     \
  X(increaseKind, Character)    \
  X(netTotal, Real)             \
  X(cancelIndicator, Character) \
  X(cancelledIncrease, Real)    \
  X(adjustmentOrder, Character) \
  X(buyerName, Text)            \
  X(buyerId, Text)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// The amounts are compared as "not below zero" so that a value that is not a
// number fails too.
constexpr Check kChecks[] = {
    Must({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
    MustValues(
        {{subtotal, is::kAtLeastZero},
         {netTotal, is::kAtLeastZero},
         {subtotalIncrease, is::kAtLeastZero},
         {subtotalDiscount, is::kAtLeastZero}},
        {Shown(msg::kCouponValues, subtotalDiscount), Shown(msg::kCouponIncrease, subtotalIncrease),
         Shown(msg::kCouponSubtotal, subtotal), Shown(msg::kCouponTotal, netTotal)}),
    Must({issueStartDate, is::kAboveZero}, msg::kInvalidPeriod),
};

constexpr auto kLayout = EcfIdentified({
    Counter(ccf, 6, "CCF"),
    Counter(coo, 6, "COO"),
    Date(issueStartDate,
         "data de in\xED"
         "cio da emiss\xE3o"),
    Amount(subtotal, 14, "subtotal"),
    Amount(subtotalDiscount, 13, "desconto sobre o subtotal"),
    Character(discountKind, "tipo do desconto"),
    Amount(subtotalIncrease, 13, "acr\xE9scimo sobre o subtotal"),
    Character(increaseKind, "tipo do acr\xE9scimo"),
    Amount(netTotal, 14, names::kNetTotal),
    Character(cancelIndicator, names::kCancelIndicator),
    Amount(cancelledIncrease, 13, names::kCancelledIncrease),
    Character(adjustmentOrder, "ordem de aplica\xE7\xE3o de desconto e acr\xE9scimo"),
    Text(buyerName, 40, "nome do adquirente"),
    Alphanumeric(buyerId, 14, "CPF/CNPJ do adquirente"),
});

}  // namespace

constexpr RecordKind kFiscalCoupon{
    RecordId::FiscalCoupon, "cupom fiscal",
    /*typeLength=*/3,
    /*lineLength=*/191,     kParameters,    kLayout, Frame{kChecks}, Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kFiscalCoupon);

}  // namespace quorix::upaf::records
