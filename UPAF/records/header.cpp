// Identification header: the record type and the open report's taxpayer.
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X) X(recordType, Text)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

constexpr Field kLayout[] = {
    RecordType(2),
    Text(kTaxpayerCnpjCpf, 14, names::kTaxpayerCnpjCpf),
    Text(kTaxpayerStateRegistration, 14, names::kTaxpayerStateRegistration),
    Text(kTaxpayerMunicipalRegistration, 14, "inscri\xE7\xE3o municipal do contribuinte"),
    Text(kTaxpayerCompanyName, 50, "raz\xE3o social do contribuinte"),
};

}  // namespace

constexpr RecordKind kHeader{
    RecordId::Header,
    "cabe\xE7"
    "alho de identifica\xE7\xE3o",
    /*typeLength=*/2,
    /*lineLength=*/94,
    kParameters,
    kLayout,
    Frame{}.KeepingOlderMessage().WithFailures(Failures::Unchained),
    Compiled<kLayout>(),
};
QUORIX_CHECK_RECORD_KIND(kHeader);

}  // namespace quorix::upaf::records
