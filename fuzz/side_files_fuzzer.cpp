// The side-file readers on arbitrary files, through the exports:
//   - quorix_GetDataSoftwareHouse always reads a file that exists; reading
//     it again gives the same texts and lists and writes nothing (the first
//     read may store the defaults of absent keys, once);
//   - quorix_GetInfoTotalizadorECF read twice gives the same result and
//     value and writes nothing the second time; a failed read writes nothing;
//   - a grand total stored by quorix_UpdateTotalizadorGeralECF reads back to
//     15 significant digits, and leaves the software-house data as they
//     were; a refused update leaves the file as it was and says why.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "support.h"

namespace {

constexpr std::string_view kHarness = "side_files_fuzzer";

using Strings = std::vector<std::string>;

quorix_bool QUORIX_CALL Clear(void* context, char**) {
  static_cast<Strings*>(context)->clear();
  return 1;
}

quorix_bool QUORIX_CALL Append(void* context, quorix_text text, char**) {
  static_cast<Strings*>(context)->emplace_back(text, static_cast<size_t>(quorix_text_length(text)));
  return 1;
}

struct HouseData {
  bool ok = false;
  Strings texts, auxFiles, auxDigests;
  bool operator==(const HouseData& o) const {
    return ok == o.ok && texts == o.texts && auxFiles == o.auxFiles && auxDigests == o.auxDigests;
  }
};

HouseData ReadHouse(const std::string& path) {
  HouseData d;
  char* outs[13] = {};
  const quorix_string_list files{&d.auxFiles, Clear, Append}, digests{&d.auxDigests, Clear, Append};
  const fuzz::HostText file(path);
  d.ok = quorix_GetDataSoftwareHouse(&outs[0], &outs[1], &outs[2], &outs[3], &outs[4], &outs[5],
                                     &outs[6], &outs[7], &outs[8], &outs[9], &outs[10], &outs[11],
                                     &outs[12], &files, &digests, file);
  for (char*& out : outs) d.texts.push_back(fuzz::TakeText(kHarness, out));
  return d;
}

struct Total {
  bool ok = false;
  double value = 0;
  bool operator==(const Total& o) const {
    return ok == o.ok && std::memcmp(&value, &o.value, sizeof value) == 0;
  }
};

Total ReadTotal(const std::string& serial, const std::string& path) {
  Total t;
  const fuzz::HostText s(serial), file(path);
  t.ok = quorix_GetInfoTotalizadorECF(s, &t.value, file);
  if (!t.ok && fuzz::LastError(kHarness).empty())
    fuzz::Violation(kHarness, "a grand-total read failed without a message");
  return t;
}

std::string Contents(const std::string& path) {
  std::string bytes;
  if (!fuzz::ReadFile(path, bytes)) fuzz::Violation(kHarness, "the side file is gone");
  return bytes;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

const double kTotals[] = {0,      1234.5,     1500,    0.0001,  0.00001, 1e15, 999999999999999,
                          -12.25, 1234567.89, DBL_MAX, DBL_MIN, -0.0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    const std::string folder = fuzz::ScratchFolder() + "/side";
    fuzz::ResetFolder(folder);
    return folder + "/side.ini";
  }();
  FuzzedDataProvider in(data, size);
  fuzz::WriteFile(path, in.ConsumeRandomLengthString(8192));
  const std::string serial = in.ConsumeRandomLengthString(24);
  const size_t pick = in.ConsumeIntegral<uint8_t>();
  const double total =
      pick < 128 ? kTotals[pick % std::size(kTotals)] : in.ConsumeFloatingPoint<double>();

  const HouseData house = ReadHouse(path);
  if (!house.ok)
    fuzz::Violation(kHarness, "software-house read failed: " + fuzz::LastError(kHarness));
  for (const Strings* list : {&house.auxFiles, &house.auxDigests})
    for (const std::string& entry : *list)
      if (entry.empty()) fuzz::Violation(kHarness, "an empty list entry handed out");
  for (const Strings* list : {&house.texts, &house.auxFiles, &house.auxDigests})
    for (const std::string& text : *list)
      if (text.size() > 2047) fuzz::Violation(kHarness, "a text longer than the store reads");
  const std::string afterFirstRead = Contents(path);
  if (!(ReadHouse(path) == house)) fuzz::Violation(kHarness, "a second read gives other data");
  if (Contents(path) != afterFirstRead) fuzz::Violation(kHarness, "a second read wrote the file");

  const Total first = ReadTotal(serial, path);
  const std::string afterTotalRead = Contents(path);
  if (!first.ok && afterTotalRead != afterFirstRead)
    fuzz::Violation(kHarness, "a failed grand-total read wrote the file");
  if (!(ReadTotal(serial, path) == first))
    fuzz::Violation(kHarness, "a second grand-total read gives another result");
  if (Contents(path) != afterTotalRead)
    fuzz::Violation(kHarness, "a second grand-total read wrote the file");

  const fuzz::HostText s(serial), file(path);
  if (!quorix_UpdateTotalizadorGeralECF(s, total, file)) {
    if (fuzz::LastError(kHarness).empty())
      fuzz::Violation(kHarness, "an update refused without a message");
    if (Contents(path) != afterTotalRead) fuzz::Violation(kHarness, "a refused update wrote");
    return 0;
  }
  const Total stored = ReadTotal(serial, path);
  // Below the normal range the register keeps nothing but zero.
  const double expected = std::fabs(total) < DBL_MIN ? 0 : total;
  if (!stored.ok || std::fabs(stored.value - expected) > std::fabs(expected) * 1e-14)
    fuzz::Violation(kHarness, "a grand total does not read back: stored " + Number(total) +
                                  ", read " + (stored.ok ? Number(stored.value) : "nothing"));
  if (!(ReadHouse(path) == house))
    fuzz::Violation(kHarness, "a grand-total update changed the software-house data");
  return 0;
}
