// Identification header: the record type and the open report's taxpayer.
#include "UPAF/records.h"

namespace quorix::upaf {
namespace {

enum Param : int { recordType };

const RecordKind kHeader{
    /*typeLength=*/2, /*lineLength=*/94,
    /*entryClear=*/false, /*taxpayerCheck=*/true, /*failureChaining=*/false,
    {
        AsPassed(recordType),
        Text(kTaxpayerCnpjCpf, 14),
        Text(kTaxpayerStateRegistration, 14),
        Text(kTaxpayerMunicipalRegistration, 14),
        Text(kTaxpayerCompanyName, 50),
    },
};

}  // namespace

bool Header(std::string_view type) {
  const Arg args[] = {Arg::Text(type)};
  return AssembleRecord(kHeader, Args(args, 1));
}

}  // namespace quorix::upaf
