// Anexo VI identification block: the ECF, the taxpayer, the software house
// and its program (loaded from the host's software-house file at every call)
// and the reported period.
#include "UConst/messages.h"
#include "UFuncoes/software_house.h"
#include "UPAF/records.h"
#include "UPAF/state.h"

namespace quorix::upaf {
namespace {

using namespace store;

enum Param : int {
  recordType,
  serialNumber,
  mfAdditional,
  ecfType,
  ecfBrand,
  ecfModel,
  firmwareVersion,
  firmwareDate,
  firmwareTime,
  ecfOrderNumber,
  softwareHouseFile,
  periodStart,
  periodEnd,
  versionCode,
  kParamCount
};

// The file is loaded before the serial number and the period are looked at,
// so a default it lacked is stored even when those checks then fail.
bool Checks(const Args& args) {
  if (!LoadSoftwareHouseData(args.text(softwareHouseFile))) return false;
  if (rules::Trim(args.text(serialNumber)).empty()) {
    std::string message(msg::kInvalidSerialNumber);
    message += args.text(serialNumber);
    SetLastError(message);
    return false;
  }
  const double start = args.real(periodStart), end = args.real(periodEnd);
  if (start == 0 || end == 0 || start > end) {
    std::string message(msg::kInvalidPeriod);
    message += rules::FormatDayMonthYear(start);
    message += msg::kPeriodAnd;
    message += rules::FormatDayMonthYear(end);
    SetLastError(message);
    return false;
  }
  return true;
}

const RecordKind kAnexoVI{
    /*typeLength=*/3,
    /*lineLength=*/310,
    /*entryClear=*/false,
    /*taxpayerCheck=*/true,
    /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(serialNumber, 20),
        Text(mfAdditional, 1),
        Text(ecfType, 7),
        Text(ecfBrand, 20),
        Text(ecfModel, 20),
        Text(firmwareVersion, 10),
        DateOrBlanks(firmwareDate),
        TimeOrBlanks(firmwareTime),
        Integer(ecfOrderNumber, 3),
        Text(kTaxpayerCnpjCpf, 14),
        Text(kTaxpayerStateRegistration, 14),
        Text(SoftwareHouseItem(kShCnpj), 14),
        Text(SoftwareHouseItem(kShStateRegistration), 14),
        Text(SoftwareHouseItem(kShMunicipalRegistration), 14),
        Text(SoftwareHouseItem(kShCompanyName), 40),
        Text(SoftwareHouseItem(kShSoftwareName), 40),
        Text(SoftwareHouseItem(kShSoftwareVersion), 10),
        Text(SoftwareHouseItem(kShMainFileMd5), 32),
        Date(periodStart),
        Date(periodEnd),
        Text(versionCode, 4),
    },
    Checks,
    /*secondType=*/-1,
    /*chainedChecks=*/false,
};

}  // namespace

bool HeaderAnexoVI(std::string_view type, std::string_view serial, std::string_view mf,
                   std::string_view ecfTypeText, std::string_view brand, std::string_view model,
                   std::string_view firmware, double fwDate, double fwTime, int32_t order,
                   std::string_view shFile, double start, double end, std::string_view version) {
  const Arg args[kParamCount] = {
      Arg::Text(type),   Arg::Text(serial),   Arg::Text(mf),       Arg::Text(ecfTypeText),
      Arg::Text(brand),  Arg::Text(model),    Arg::Text(firmware), Arg::Real(fwDate),
      Arg::Real(fwTime), Arg::Integer(order), Arg::Text(shFile),   Arg::Real(start),
      Arg::Real(end),    Arg::Text(version),
  };
  return AssembleRecord(kAnexoVI, Args(args, kParamCount));
}

}  // namespace quorix::upaf
