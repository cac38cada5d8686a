// DAV issued: one line per auxiliary sales document the program issued.
#include <cstdint>

#include "UConst/messages.h"
#include "UPAF/records.h"

namespace quorix::upaf {
namespace {

enum Param : int {
  recordType,
  serialNumber,
  mfAdditional,
  ecfType,
  ecfBrand,
  ecfModel,
  coo,
  davNumber,
  davDate,
  davTitle,
  davTotal,
};

bool Checks(const Args& a) {
  // Written so that a date that is not a number is refused too.
  return Require(FilledSingleLine(a.text(davNumber)), msg::kInvalidDavNumber) &&
         Require(a.real(davDate) > 0, msg::kInvalidDavDate);
}

const RecordKind kDavIssued{
    /*typeLength=*/2,
    /*lineLength=*/149,
    /*entryClear=*/true,
    /*taxpayerCheck=*/true,
    /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(kTaxpayerCnpjCpf, 14),
        Text(serialNumber, 20),
        Text(mfAdditional, 1),
        Text(ecfType, 7),
        Text(ecfBrand, 20),
        Text(ecfModel, 20),
        Integer(coo, 6),
        ZeroFilled(davNumber, 13),
        Date(davDate),
        Text(davTitle, 30),
        Amount(davTotal, 8),
    },
    Checks,
};

}  // namespace

bool RelacaoDavEmitido(std::string_view type, std::string_view serial, std::string_view mf,
                       std::string_view ecf, std::string_view brand, std::string_view model,
                       int32_t cooValue, std::string_view number, double date,
                       std::string_view title, double total) {
  const Arg args[] = {
      Arg::Text(type),  Arg::Text(serial), Arg::Text(mf),          Arg::Text(ecf),
      Arg::Text(brand), Arg::Text(model),  Arg::Integer(cooValue), Arg::Text(number),
      Arg::Real(date),  Arg::Text(title),  Arg::Real(total),
  };
  return AssembleRecord(kDavIssued, Args(args, sizeof args / sizeof args[0]));
}

}  // namespace quorix::upaf
