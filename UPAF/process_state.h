// Everything the library keeps from one call of a host to the next, in one
// object: the last error message, the open report (its taxpayer, its lines
// and the memory it holds), the software-house data of the last load, and
// the places lines are assembled in when they cannot go to the report. The
// exports take turns on its lock for their whole call, so nothing in it is
// guarded on its own; code below UPAF/ reaches its own part through the
// functions its layer declares (the last error message, for one), which are
// defined here.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "UFuncoes/field_rules.h"
#include "UFuncoes/software_house.h"
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

// The check digits' verdict on the last identification judged: reports of
// one taxpayer follow each other, and the verdict outlives each of them.
struct CheckDigitsVerdict {
  std::string id;
  bool valid = false;
};

struct ProcessState {
  // The lock every export holds for its whole call: hosts may call from
  // several threads (a timer or a payment terminal's callback beside the
  // sales screen). Re-entrant, since a host list filled by
  // quorix_GetDataSoftwareHouse may call back in.
  std::recursive_mutex turn;

  std::string lastError;
  // Declared before the report, whose blocks go back to it when it ends, so
  // that it outlives the report when the process ends with one open.
  SpareBlocks spareBlocks;
  store::SoftwareHouseData softwareHouse;
  Taxpayer taxpayer;
  CheckDigitsVerdict lastVerdict;
  std::unique_ptr<ReportBuffer> report;  // none while no report is open
  // Memory held while a report is open and freed when it is finished, so
  // that finishing a report that filled memory still has room to work.
  std::unique_ptr<char[]> finishingReserve;
  // Where a line is assembled when it cannot go to the report buffer (no
  // report open, or no memory for its room there): reused, so it grows once.
  std::string scratchLine;

  // Back to how the library loaded: no report, no message, no data, and no
  // memory kept. The lock is left as it is.
  void Reset() noexcept;
};

// Constructed when the library loads, before any call can reach it; a plain
// object, so that reaching it is no call and no guard on every line.
extern ProcessState gProcess;
inline ProcessState& Process() { return gProcess; }

// Validates the stored identification; empty registrations become "ISENTO".
bool TaxpayerCheck();

// Adds a finished line to the report buffer.
bool AppendReportLine(std::string_view line);

// Empties the identification, destroys the report buffer and empties the
// software-house data; the last error message is emptied too unless the
// finishing call failed.
void CloseReport(bool finishedWell) noexcept;

}  // namespace quorix::upaf
