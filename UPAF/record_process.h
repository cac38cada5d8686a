// What a record kind's own code asks of the process that builds its line:
// the tables are shared with programs that hold no report and no last error
// of their own (the quorix program, the fuzzers), so they reach those only
// through this, which the record frame gives them in Args.
#pragma once

#include <string_view>

#include "UPAF/record_kinds.h"

namespace quorix::upaf {

class ReportBuffer;

class RecordProcess {
 public:
  // Replaces the last error message.
  virtual void SetMessage(std::string_view message) = 0;
  // The open report, null when none is.
  virtual const ReportBuffer* Report() const = 0;
  // A taxpayer item of the open report or a software-house item.
  virtual std::string_view Stored(Source source) = 0;
  // Writes a taxpayer item by the text field rendering at the field's width.
  virtual char* PutTaxpayerItem(char* at, const Field& f) = 0;

 protected:
  ~RecordProcess() = default;
};

}  // namespace quorix::upaf
