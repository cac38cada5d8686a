// The reader of report files (quorix check / show) on arbitrary bytes:
//   - it never crashes and reads the same bytes the same way twice;
//   - its lines tile the file: each starts where the previous one ended,
//     and a recognised line has its record kind's length;
//   - every finding names a line of the file and positions inside it;
//   - a file it finds nothing wrong with holds only recognised lines, at
//     most one EAD line and that one last;
//   - every field of a recognised line decodes.
#include <algorithm>
#include <string>
#include <string_view>

#include "UPAF/report_reader.h"
#include "support.h"

namespace {

constexpr std::string_view kHarness = "report_reader_fuzzer";

namespace reader = quorix::upaf::reader;

void CheckLines(std::string_view file, const reader::Reading& r) {
  size_t offset = 0;
  for (size_t i = 0; i < r.lines.size(); ++i) {
    const reader::Line& l = r.lines[i];
    if (l.number != i + 1) fuzz::Violation(kHarness, "lines out of order");
    if (l.offset != offset || l.offset + l.length > file.size())
      fuzz::Violation(kHarness, "lines do not tile the file");
    if (l.kind && l.kind->lineLength != l.length)
      fuzz::Violation(kHarness, "a line recognised by another kind's length");
    if (l.kind && l.ead) fuzz::Violation(kHarness, "a line both a record and the EAD line");
    offset = l.offset + l.length;
    if (file.substr(offset, 2) == "\r\n")
      offset += 2;
    else if (offset < file.size() && file[offset] == '\n')
      ++offset;  // a line ended by LF alone is a finding, not a lost line
    else if (offset < file.size())
      fuzz::Violation(kHarness, "a line that ends before its line end");
  }
  if (offset < file.size()) fuzz::Violation(kHarness, "bytes after the last line");
}

void CheckFindings(const reader::Reading& r) {
  for (const reader::Finding& f : r.findings) {
    if (f.line < 1 || f.line > r.lines.size() + 1)
      fuzz::Violation(kHarness, "a finding on a line the file does not have");
    if (f.first > f.last || f.what.empty() || f.field.empty())
      fuzz::Violation(kHarness, "a finding without positions or text");
    if (f.line <= r.lines.size() && f.last > std::max<size_t>(r.lines[f.line - 1].length, 1))
      fuzz::Violation(kHarness, "a finding past the end of its line");
  }
  if (!r.findings.empty()) return;
  size_t eads = 0;
  for (const reader::Line& l : r.lines) {
    if (!l.kind && !l.ead) fuzz::Violation(kHarness, "a sound file with an unknown line");
    eads += l.ead ? 1 : 0;
  }
  if (eads > 1 || (eads == 1 && !r.lines.back().ead))
    fuzz::Violation(kHarness, "a sound file whose EAD line is doubled or not last");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const reader::Reading first = reader::Read(file);
  const reader::Reading second = reader::Read(file);
  if (first.lines.size() != second.lines.size() || first.findings.size() != second.findings.size())
    fuzz::Violation(kHarness, "the same bytes read two ways");
  CheckLines(file, first);
  CheckFindings(first);
  for (const reader::Line& l : first.lines) {
    if (!l.kind) continue;
    const std::string_view text = file.substr(l.offset, l.length);
    for (size_t i = 0; i < l.kind->layout.size; ++i) (void)reader::Decode(*l.kind, i, text);
  }
  return 0;
}
