// The process-wide state shared by the exports: the taxpayer identification
// of the open report and the report buffer (the last error message lives in
// UConst/last_error.h). The exports take turns on one process-wide lock, so
// nothing here is guarded on its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "UFuncoes/field_rules.h"
#include "UPAF/report_buffer.h"

namespace quorix::upaf {

struct Taxpayer {
  std::string cnpjCpf;
  std::string stateRegistration;
  std::string municipalRegistration;
  std::string companyName;
  // The open report's taxpayer was identified by an 11-digit CPF: the stored
  // 14-character rendering then carries the CPF in its last 11 characters.
  bool identifiedByCpf = false;
  // The items above passed TaxpayerCheck and have not changed since: every
  // line of a report asks again, and the answer stays until they change.
  bool judgedValid = false;
  // Each item as a line's field renders it, kept while the items stay judged
  // valid: the same for every line of the report.
  struct Rendered {
    int width = -1;
    rules::Justify justify = rules::Justify::Left;
    char fill = ' ';
    std::string bytes;
  };
  Rendered rendered[4];
};

struct LibraryState {
  Taxpayer taxpayer;
  std::unique_ptr<ReportBuffer> report;  // none while no report is open
  // Memory held while a report is open and freed when it is finished, so
  // that finishing a report that filled memory still has room to work.
  std::unique_ptr<char[]> finishingReserve;
};

LibraryState& State();

// Validates the stored identification; empty registrations become "ISENTO".
bool TaxpayerCheck();

// Adds a finished line to the report buffer.
bool AppendReportLine(std::string_view line);

// Empties the identification, destroys the report buffer and empties the
// software-house data; the last error message is emptied too unless the
// finishing call failed.
void CloseReport(bool finishedWell) noexcept;

}  // namespace quorix::upaf
