// Daily movement line: one day's book-keeping amounts of an ECF under the
// open report's CNPJ/CPF. The six codes and numbers are the host's own and
// are placed without any test.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)      \
  X(recordType, Text)      \
  X(movementDay, Date)     \
  X(longCode, Text)        \
  X(shortCode, Text)       \
  X(firstNumber, Text)     \
  X(secondNumber, Text)    \
  X(serialNumber, Text)    \
  X(thirdNumber, Text)     \
  X(fourCharCode, Text)    \
  X(accountingValue, Real) \
  X(taxBase, Real)         \
  X(taxRate, Real)         \
  X(taxAmount, Real)       \
  X(exemptAmount, Real)    \
  X(otherAmount, Real)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// A day that is not a finite number is refused here, never rendered.
constexpr Check kChecks[] = {
    Must({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
    Must({movementDay, is::kPositive}, msg::kInvalidPeriod),
    MustValues(
        {{accountingValue, is::kPositive},
         {taxBase, is::kNotNegative},
         {taxRate, is::kNotNegative},
         {taxAmount, is::kNotNegative},
         {exemptAmount, is::kNotNegative},
         {otherAmount, is::kNotNegative}},
        {Shown(msg::kMovementAccountingValue, accountingValue),
         Shown(msg::kMovementTaxBase, taxBase), Shown(msg::kMovementTaxRate, taxRate),
         Shown(msg::kMovementTaxAmount, taxAmount), Shown(msg::kMovementExemptAmount, exemptAmount),
         Shown(msg::kMovementOtherAmount, otherAmount)}),
};

constexpr Field kLayout[] = {
    RecordType(3),
    Text(kTaxpayerCnpjCpf, 14, names::kTaxpayerCnpjCpf),
    Date(movementDay, "dia do movimento"),
    Text(longCode, 10,
         "primeiro c\xF3"
         "digo"),
    Text(shortCode, 2,
         "segundo c\xF3"
         "digo"),
    Counter(firstNumber, 6, "primeiro n\xFAmero"),
    Counter(secondNumber, 6, "segundo n\xFAmero"),
    Text(serialNumber, 20, names::kSerialNumber),
    Counter(thirdNumber, 6, "terceiro n\xFAmero"),
    Text(fourCharCode, 4,
         "terceiro c\xF3"
         "digo"),
    Amount(accountingValue, 13,
           "valor cont\xE1"
           "bil"),
    Amount(taxBase, 13, "base de c\xE1lculo"),
    Amount(taxRate, 4, names::kTaxRate),
    Amount(taxAmount, 13, "valor do imposto"),
    Amount(exemptAmount, 13, "valor isento"),
    Amount(otherAmount, 13, "valor de outras"),
};

}  // namespace

constexpr RecordKind kDailyMovement{
    RecordId::DailyMovement,
    "movimento di\xE1rio",
    /*typeLength=*/3,
    /*lineLength=*/148,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kDailyMovement);

}  // namespace quorix::upaf::records
