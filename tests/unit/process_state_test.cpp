// The library's one process state: every unit test starts from it as the
// library loads, and one call empties every part of it.
#include "UPAF/process_state.h"

#include <gtest/gtest.h>

#include "UConst/last_error.h"
#include "UPAF/record_frame.h"
#include "UPAF/report.h"
#include "support.h"
#include "unit_support.h"

namespace {

using quorix::upaf::Process;

class FreshProcess : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { Process().Reset(); }
};
const bool kFreshProcessForEveryTest = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new FreshProcess);
  return true;
}();

TEST(ProcessState, OneResetEmptiesEveryPart) {
  qt::TempDir dir;
  const std::string house = dir.file("house.ini");
  ASSERT_TRUE(qt::unit::WriteHouseFile(qt::SampleHouse(), house));
  // A closed report leaves its blocks as spares (the open one then takes
  // them, and Reset must free them after it); a line refused with no report
  // open was assembled in the scratch line.
  ASSERT_TRUE(quorix::upaf::OpenReport(qt::kCnpj, "", "", "Mercearia Exemplo"));
  ASSERT_TRUE(quorix::upaf::AppendReportLine("E1 linha"));
  quorix::upaf::CloseReport(true);
  ASSERT_EQ(2u, Process().spareBlocks.Count());  // its lines' block and index's
  quorix::upaf::RecordKind header = quorix::upaf::records::kHeader;
  header.frame = header.frame.Without(quorix::upaf::Step::CheckTaxpayer);
  const quorix::upaf::Arg type[] = {quorix::upaf::Arg::Text("E1")};
  EXPECT_FALSE(quorix::upaf::AssembleRecord(header, quorix::upaf::Args(type, 1)));
  ASSERT_TRUE(quorix::upaf::OpenReport(qt::kCpf, "", "", "Mercearia Exemplo"));
  ASSERT_TRUE(quorix::upaf::AppendReportLine("E1 linha"));
  ASSERT_TRUE(quorix::store::LoadSoftwareHouseData(Process().softwareHouse, house));
  quorix::SetLastError("falhou");

  quorix::upaf::ProcessState& s = Process();
  ASSERT_FALSE(s.scratchLine.empty());
  ASSERT_FALSE(s.lastVerdict.id.empty());
  ASSERT_TRUE(s.finishingReserve);

  s.Reset();
  EXPECT_EQ(nullptr, s.report);
  EXPECT_EQ(nullptr, s.finishingReserve);
  EXPECT_EQ(0u, s.spareBlocks.Count());
  EXPECT_TRUE(s.scratchLine.empty());
  EXPECT_EQ("", quorix::LastErrorMessage());
  EXPECT_TRUE(s.taxpayer.cnpjCpf.empty() && s.taxpayer.companyName.empty());
  EXPECT_FALSE(s.taxpayer.judgedValid);
  EXPECT_TRUE(s.lastVerdict.id.empty());
  for (const std::string& text : s.softwareHouse.texts) EXPECT_EQ("", text);
  EXPECT_TRUE(s.softwareHouse.auxFiles.empty() && s.softwareHouse.auxFilesMd5.empty());
  EXPECT_FALSE(quorix::upaf::AppendReportLine("E1 linha"));
}

}  // namespace
