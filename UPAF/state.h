// The process-wide state shared by the exports: the taxpayer identification
// of the open report and the report buffer (the last error message lives in
// UConst/last_error.h). The exports take turns on one process-wide lock, so
// nothing here is guarded on its own.
#pragma once

#include <cstdint>
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
    // The width, justification and fill it was rendered at; -1 for none.
    int32_t key = -1;
    std::string bytes;
    static int32_t Key(int width, rules::Justify justify, char fill) {
      return static_cast<int32_t>((static_cast<uint32_t>(width) << 9) |
                                  (justify == rules::Justify::Right ? 0x100u : 0u) |
                                  static_cast<unsigned char>(fill));
    }
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

// Constructed when the library loads, before any call can reach it; a plain
// object, so that reaching it is no call and no guard on every line.
extern LibraryState gState;
inline LibraryState& State() { return gState; }

// Validates the stored identification; empty registrations become "ISENTO".
bool TaxpayerCheck();

// Adds a finished line to the report buffer.
bool AppendReportLine(std::string_view line);

// Empties the identification, destroys the report buffer and empties the
// software-house data; the last error message is emptied too unless the
// finishing call failed.
void CloseReport(bool finishedWell) noexcept;

}  // namespace quorix::upaf
