#include "UPAF/process_state.h"

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UFuncoes/field_rules.h"

namespace quorix {

upaf::ProcessState upaf::gProcess;

std::string& LastErrorText() noexcept { return upaf::gProcess.lastError; }

}  // namespace quorix

namespace quorix::upaf {

void ProcessState::Reset() noexcept {
  // The report first: its blocks go to the spares, which are freed after it.
  report.reset();
  finishingReserve.reset();
  spareBlocks.FreeAll();
  taxpayer = Taxpayer{};
  lastVerdict = CheckDigitsVerdict{};
  softwareHouse = store::SoftwareHouseData{};
  lastError = std::string();
  scratchLine = std::string();
}

bool TaxpayerCheck() {
  ProcessState& s = Process();
  Taxpayer& t = s.taxpayer;
  if (t.judgedValid) return true;
  std::string message;
  // An open report stores a CPF zero-filled to 14 characters, where the CNPJ
  // rule would judge it; it is judged by the CPF rule it passed at opening.
  const std::string_view id =
      t.identifiedByCpf && t.cnpjCpf.size() == 14 && t.cnpjCpf.compare(0, 3, "000") == 0
          ? std::string_view(t.cnpjCpf).substr(3)
          : std::string_view(t.cnpjCpf);
  CheckDigitsVerdict& verdict = s.lastVerdict;
  if (id != verdict.id) {
    const bool valid = rules::CheckDigitsValid(id);
    verdict.id.assign(id);  // first: a failure here leaves the old pair intact
    verdict.valid = valid;
  }
  if (t.cnpjCpf == msg::kCpfMask || t.cnpjCpf == msg::kCnpjMask || t.cnpjCpf.empty() ||
      !verdict.valid)
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
    ReportBuffer* report = Process().report.get();
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
  ProcessState& s = Process();
  s.taxpayer = Taxpayer{};
  s.report.reset();
  s.finishingReserve.reset();
  s.softwareHouse.Clear();
  if (finishedWell) SetLastErrorNoThrow({});
}

}  // namespace quorix::upaf
