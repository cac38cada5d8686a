#include "UPAF/state.h"

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UFuncoes/field_rules.h"
#include "UFuncoes/software_house.h"

namespace quorix::upaf {

LibraryState gState;

bool TaxpayerCheck() {
  Taxpayer& t = State().taxpayer;
  if (t.judgedValid) return true;
  std::string message;
  // An open report stores a CPF zero-filled to 14 characters, where the CNPJ
  // rule would judge it; it is judged by the CPF rule it passed at opening.
  const std::string_view id =
      t.identifiedByCpf && t.cnpjCpf.size() == 14 && t.cnpjCpf.compare(0, 3, "000") == 0
          ? std::string_view(t.cnpjCpf).substr(3)
          : std::string_view(t.cnpjCpf);
  // Every line of a report asks again about the same identification: the
  // last verdict is kept with the text it was given for.
  static std::string checkedId;
  static bool checkedValid = false;
  if (id != checkedId) {
    const bool valid = rules::CheckDigitsValid(id);
    checkedId.assign(id);  // first: a failure here leaves the old pair intact
    checkedValid = valid;
  }
  if (t.cnpjCpf == msg::kCpfMask || t.cnpjCpf == msg::kCnpjMask || t.cnpjCpf.empty() ||
      !checkedValid)
    message.assign(msg::kInvalidCnpjCpf);
  if (t.companyName.empty()) message += msg::kInvalidCompanyName;
  if (t.stateRegistration.empty()) t.stateRegistration.assign(msg::kExempt);
  if (t.municipalRegistration.empty()) t.municipalRegistration.assign(msg::kExempt);
  if (message.empty()) {
    for (Taxpayer::Rendered& r : t.rendered) r.key = -1;
    t.judgedValid = true;
    return true;
  }
  SetLastError(message);
  return false;
}

bool AppendReportLine(std::string_view line) {
  try {
    ReportBuffer* report = State().report.get();
    if (!report) {
      SetLastError(msg::kNoOpenReport);
      return false;
    }
    report->Append(line);
    return true;
  } catch (const std::exception& e) {
    SetLastErrorNoThrow(FailureText(e));
    return false;
  }
}

void CloseReport(bool finishedWell) noexcept {
  LibraryState& s = State();
  s.taxpayer = Taxpayer{};
  s.report.reset();
  s.finishingReserve.reset();
  store::ClearSoftwareHouseData();
  if (finishedWell) SetLastErrorNoThrow({});
}

}  // namespace quorix::upaf
