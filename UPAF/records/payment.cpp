// Payment detail: one line per means of payment of a coupon or other
// document, with the amount paid and what of it was reversed.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)             \
  QUORIX_ECF_IDENTIFICATION(X)    \
  X(coo, Text)                    \
  X(ccf, Text)                    \
  X(gnf, Text)                    \
  X(paymentMethod, Text)          \
  X(amountPaid, Real)             \
  X(reversalIndicator, Character) \
  X(reversedAmount, Real)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// A means made of blanks passes: only an absent one is refused. The
// comparisons are written so that a value that is not a number fails too.
constexpr Check kChecks[] = {
    Must({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
    MustValues(
        {{paymentMethod, is::kNotEmpty},
         {amountPaid, is::kAboveZero},
         {reversedAmount, is::kAtLeastZero}},
        {ShownText(msg::kPaymentValues, paymentMethod), Shown(msg::kPaymentAmount, amountPaid),
         Shown(msg::kPaymentReversed, reversedAmount)}),
};

constexpr auto kLayout = EcfIdentified({
    Counter(coo, 6, "COO"),
    Counter(ccf, 6, "CCF"),
    Counter(gnf, 6, "GNF"),
    Text(paymentMethod, 15, "meio de pagamento"),
    Amount(amountPaid, 13, "valor pago"),
    CharacterAsPassed(reversalIndicator, "indicador de estorno"),
    Amount(reversedAmount, 13, "valor estornado"),
});

}  // namespace

constexpr RecordKind kPayment{
    RecordId::Payment,
    "detalhe de pagamento",
    /*typeLength=*/3,
    /*lineLength=*/106,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kPayment);

}  // namespace quorix::upaf::records
