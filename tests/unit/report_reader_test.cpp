// Lines of every record kind built by the record frame and read back by the
// reader give back the values passed, and a sound file holds no finding.
#include "UPAF/report_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "UConst/last_error.h"
#include "UPAF/record_frame.h"
#include "UPAF/report.h"
#include "side_files_support.h"
#include "support.h"
#include "unit_support.h"

namespace {

using namespace quorix::upaf;

std::string TypeOf(size_t kindIndex, size_t typeLength) {
  std::string type = "R";
  type += static_cast<char>('A' + kindIndex);
  if (typeLength == 3) type += '1';
  return type;
}

// The first field that shows parameter `p`.
const Field* FieldOf(const RecordKind& kind, size_t p) {
  for (const Field& f : kind.layout)
    if (f.source.kind == SourceKind::Parameter && static_cast<size_t>(f.source.index) == p)
      return &f;
  return nullptr;
}

// A value that the field's rendering keeps as passed: capitals and digits
// that fill or fit the width, amounts of two decimals, whole seconds. "T" is
// every indicator's accepted letter.
std::string SampleFor(const RecordKind& kind, size_t kindIndex, size_t p,
                      const std::string& softwareHouseFile) {
  const Param& param = kind.params[p];
  const Field* f = FieldOf(kind, p);
  if (param.name == "documentSymbol") return "CM";
  if (param.name == "softwareHouseFile") return softwareHouseFile;
  if (param.name == "countedType") return TypeOf(0, 2);  // the header's lines
  switch (param.kind) {
    case ParamKind::Real:
      return f && f->kind == FieldKind::SignedAmount ? "-12.5" : "12.35";
    case ParamKind::Date:
      return "2024-05-31";
    case ParamKind::Time:
      return "12:30:45";
    case ParamKind::Integer:
      return "2";
    case ParamKind::Character:
      return "T";
    case ParamKind::Text:
      break;
  }
  if (f->kind == FieldKind::RecordType) return TypeOf(kindIndex, kind.typeLength);
  const size_t width = static_cast<size_t>(f->width);
  if (f->kind == FieldKind::Counter || f->kind == FieldKind::Code)
    return std::string("12345678901234").substr(0, width);
  return std::string("PX4000").substr(0, width < 6 ? width : 6);
}

// The argument a sample text stands for, as a host would pass it.
Arg ArgOf(ParamKind kind, const std::string& text) {
  switch (kind) {
    case ParamKind::Text:
      return Arg::Text(text);
    case ParamKind::Real:
      return Arg::Real(std::strtod(text.c_str(), nullptr));
    case ParamKind::Date:
      return Arg::Real(45443);  // 2024-05-31
    case ParamKind::Time:
      return Arg::Real((12 * 3600 + 30 * 60 + 45 + 0.5) / 86400);  // 12:30:45
    case ParamKind::Integer:
      return Arg::Integer(std::atoi(text.c_str()));
    case ParamKind::Character:
      return Arg::Character(static_cast<unsigned char>(text[0]));
  }
  return {};
}

TEST(ReportReader, EveryRecordKindReadsBackTheValuesPassed) {
  qt::TempDir dir;
  ASSERT_TRUE(qt::unit::WriteHouseFile(qt::SampleHouse(), dir.file("sh.ini")))
      << quorix::LastErrorMessage();
  ASSERT_TRUE(OpenReport(qt::kCnpj, "110.042.490.114", "12345", "Padaria Exemplo Ltda"))
      << quorix::LastErrorMessage();
  std::vector<std::vector<std::string>> samples;
  for (size_t k = 0; k < std::size(kRecordKinds); ++k) {
    const RecordKind& kind = *kRecordKinds[k];
    std::vector<std::string> texts;
    for (size_t p = 0; p < kind.params.size; ++p)
      texts.push_back(SampleFor(kind, k, p, dir.file("sh.ini")));
    std::vector<Arg> args;
    for (size_t p = 0; p < kind.params.size; ++p)
      args.push_back(ArgOf(kind.params[p].kind, texts[p]));
    ASSERT_TRUE(AssembleRecord(kind, Args(args.data(), args.size())))
        << kind.exportName() << ": " << quorix::LastErrorMessage();
    samples.push_back(texts);
  }
  const qt::unit::Keys& keys = qt::unit::SampleKeys();
  const std::string file = dir.file("report.txt");
  ASSERT_TRUE(FinishReport(keys.publicKey, keys.privateKey, file, false))
      << quorix::LastErrorMessage();
  const std::string bytes = qt::ReadFile(file);

  const reader::Reading r = reader::Read(bytes);
  for (const reader::Finding& f : r.findings)
    ADD_FAILURE() << f.line << ": " << f.field << " (" << f.first << "-" << f.last
                  << "): " << f.what;
  ASSERT_EQ(std::size(kRecordKinds) + 1, r.lines.size());
  EXPECT_TRUE(r.lines.back().ead);
  for (size_t k = 0; k < std::size(kRecordKinds); ++k) {
    const RecordKind& kind = *kRecordKinds[k];
    ASSERT_EQ(&kind, r.lines[k].kind) << "line " << k + 1;
    const std::string_view line(bytes.data() + r.lines[k].offset, r.lines[k].length);
    for (size_t i = 0; i < kind.layout.size; ++i) {
      const Field& f = kind.layout[i];
      const reader::Value v = reader::Decode(kind, i, line);
      SCOPED_TRACE(std::string(kind.exportName()) + ", " + std::string(f.name) + ": " + v.text);
      if (f.source.kind == SourceKind::Taxpayer && f.source.index == 0) {
        EXPECT_EQ(qt::kCnpjDigits, v.text);
      } else if (f.kind == FieldKind::LineCount) {
        EXPECT_EQ("1", v.text);  // one header line before the totals line
      } else if (f.source.kind == SourceKind::Parameter) {
        const std::string& passed = samples[k][static_cast<size_t>(f.source.index)];
        if (v.type == reader::Value::Number)
          EXPECT_DOUBLE_EQ(std::strtod(passed.c_str(), nullptr),
                           std::strtod(v.text.c_str(), nullptr));
        else
          EXPECT_EQ(passed, v.text);
      }
    }
  }
}

}  // namespace
