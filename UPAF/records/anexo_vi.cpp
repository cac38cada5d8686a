// Anexo VI identification block: the ECF, the taxpayer, the software house
// and its program (loaded from the host's software-house file at every call)
// and the reported period.
#include "UConst/messages.h"
#include "UFuncoes/software_house.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

using namespace store;

#define PARAMETERS(X)        \
  X(recordType, Text)        \
  X(serialNumber, Text)      \
  X(mfAdditional, Text)      \
  X(ecfType, Text)           \
  X(ecfBrand, Text)          \
  X(ecfModel, Text)          \
  X(firmwareVersion, Text)   \
  X(firmwareDate, Date)      \
  X(firmwareTime, Time)      \
  X(ecfOrderNumber, Integer) \
  X(softwareHouseFile, Text) \
  X(periodStart, Date)       \
  X(periodEnd, Date)         \
  X(versionCode, Text)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// Plain comparisons, as the period has always been judged: NaN passes them.
bool NotZero(const Args& a, int p, std::string_view) { return a.real(p) != 0; }
bool NotAfterPeriodEnd(const Args& a, int p, std::string_view) {
  return !(a.real(p) > a.real(periodEnd));
}
constexpr Predicate kNotZero{"diferente de zero", NotZero};
constexpr Predicate kNotAfterPeriodEnd{"n\xE3o depois de periodEnd", NotAfterPeriodEnd};

// Run after the frame loaded the software-house file; the period's message
// shows both dates.
constexpr Check kChecks[] = {
    MustAppending({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
    MustValues(
        {{periodStart, kNotZero}, {periodEnd, kNotZero}, {periodStart, kNotAfterPeriodEnd}},
        {ShownDate(msg::kInvalidPeriod, periodStart), ShownDate(msg::kPeriodAnd, periodEnd)}),
};

constexpr Field kLayout[] = {
    RecordType(3),
    Text(serialNumber, 20, names::kSerialNumber),
    Text(mfAdditional, 1, names::kMfAdditional),
    Text(ecfType, 7, names::kEcfType),
    Text(ecfBrand, 20, names::kEcfBrand),
    Text(ecfModel, 20, names::kEcfModel),
    Text(firmwareVersion, 10, "vers\xE3o do software b\xE1sico do ECF"),
    DateOrBlanks(firmwareDate, "data do software b\xE1sico do ECF"),
    TimeOrBlanks(firmwareTime, "hora do software b\xE1sico do ECF"),
    Integer(ecfOrderNumber, 3, "n\xFAmero de ordem do ECF"),
    Text(kTaxpayerCnpjCpf, 14, names::kTaxpayerCnpjCpf),
    Text(kTaxpayerStateRegistration, 14, names::kTaxpayerStateRegistration),
    Text(SoftwareHouseItem(kShCnpj), 14, "CNPJ da software house"),
    Text(SoftwareHouseItem(kShStateRegistration), 14, "inscri\xE7\xE3o estadual da software house"),
    Text(SoftwareHouseItem(kShMunicipalRegistration), 14,
         "inscri\xE7\xE3o municipal da software house"),
    Text(SoftwareHouseItem(kShCompanyName), 40, "raz\xE3o social da software house"),
    Text(SoftwareHouseItem(kShSoftwareName), 40, "nome do programa"),
    Text(SoftwareHouseItem(kShSoftwareVersion), 10, "vers\xE3o do programa"),
    Text(SoftwareHouseItem(kShMainFileMd5), 32, "MD5 do programa"),
    Date(periodStart,
         "data de in\xED"
         "cio do per\xED"
         "odo"),
    Date(periodEnd,
         "data de fim do per\xED"
         "odo"),
    Text(versionCode, 4,
         "c\xF3"
         "digo da vers\xE3o"),
};

}  // namespace

constexpr RecordKind kAnexoVI{
    RecordId::AnexoVI,
    "identifica\xE7\xE3o do Anexo VI",
    /*typeLength=*/3,
    /*lineLength=*/310,
    kParameters,
    kLayout,
    Frame{kChecks}
        .LoadingSoftwareHouse(softwareHouseFile)
        .KeepingOlderMessage()
        .WithFailures(Failures::ChainedAfterChecks),
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kAnexoVI);

}  // namespace quorix::upaf::records
