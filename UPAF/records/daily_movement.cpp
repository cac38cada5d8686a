// Daily movement line: one day's book-keeping amounts of an ECF under the
// open report's CNPJ/CPF. The six codes and numbers are the host's own and
// are placed without any test.
#include "UConst/messages.h"
#include "UPAF/records.h"
#include "UPAF/state.h"

namespace quorix::upaf {
namespace {

enum Param : int {
  recordType,
  movementDay,
  longCode,
  shortCode,
  firstNumber,
  secondNumber,
  serialNumber,
  thirdNumber,
  fourCharCode,
  accountingValue,
  taxBase,
  taxRate,
  taxAmount,
  exemptAmount,
  otherAmount,
  kParamCount
};

bool AmountsValid(const Args& a) {
  return RequireValues(
      Positive(a.real(accountingValue)) && NotNegative(a.real(taxBase)) &&
          NotNegative(a.real(taxRate)) && NotNegative(a.real(taxAmount)) &&
          NotNegative(a.real(exemptAmount)) && NotNegative(a.real(otherAmount)),
      {Shown(msg::kMovementAccountingValue, accountingValue), Shown(msg::kMovementTaxBase, taxBase),
       Shown(msg::kMovementTaxRate, taxRate), Shown(msg::kMovementTaxAmount, taxAmount),
       Shown(msg::kMovementExemptAmount, exemptAmount),
       Shown(msg::kMovementOtherAmount, otherAmount)},
      a);
}

// A day that is not a finite number is refused here, never rendered.
bool Checks(const Args& a) {
  return Require(Filled(a.text(serialNumber)), msg::kInvalidSerialNumber) &&
         Require(Positive(a.real(movementDay)), msg::kInvalidPeriod) && AmountsValid(a);
}

const RecordKind kDailyMovement{
    /*typeLength=*/3, /*lineLength=*/148,
    /*entryClear=*/true, /*taxpayerCheck=*/true, /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(kTaxpayerCnpjCpf, 14),
        Date(movementDay),
        Text(longCode, 10),
        Text(shortCode, 2),
        ZeroFilled(firstNumber, 6),
        ZeroFilled(secondNumber, 6),
        Text(serialNumber, 20),
        ZeroFilled(thirdNumber, 6),
        Text(fourCharCode, 4),
        Amount(accountingValue, 13),
        Amount(taxBase, 13),
        Amount(taxRate, 4),
        Amount(taxAmount, 13),
        Amount(exemptAmount, 13),
        Amount(otherAmount, 13),
    },
    Checks,
};

}  // namespace

bool RelacaoMovimentoDiario(std::string_view type, double day, std::string_view longCodeText,
                            std::string_view shortCodeText, std::string_view first,
                            std::string_view second, std::string_view serial,
                            std::string_view third, std::string_view fourChars, double accounting,
                            double base, double rate, double tax, double exempt, double other) {
  const Arg args[kParamCount] = {
      Arg::Text(type),          Arg::Real(day),    Arg::Text(longCodeText),
      Arg::Text(shortCodeText), Arg::Text(first),  Arg::Text(second),
      Arg::Text(serial),        Arg::Text(third),  Arg::Text(fourChars),
      Arg::Real(accounting),    Arg::Real(base),   Arg::Real(rate),
      Arg::Real(tax),           Arg::Real(exempt), Arg::Real(other),
  };
  return AssembleRecord(kDailyMovement, Args(args, kParamCount));
}

}  // namespace quorix::upaf
