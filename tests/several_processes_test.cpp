// Host processes of their own (tests/race_host.c). Several writing one file at
// once, each checking after every call that the file agrees with the call's
// result: then the file holds every writer's last stored update and nothing
// else is left. One filling its memory with a report: what it accepted is
// still written and signed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "support.h"

namespace {

using qt::T;

std::string RaceHost() {
#if defined(_WIN32)
  return qt::ProgramDir() + "\\quorix_race_host.exe";
#else
  return qt::ProgramDir() + "/quorix_race_host";
#endif
}

struct Race {
  const char* mode;
  const char* file;
  int processes;
  int count;
};

// Starts every writer at once and gives what each one reported as stored.
std::vector<int> RunWriters(const qt::TempDir& dir, const Race& race) {
  std::vector<intptr_t> running;
  for (int i = 0; i < race.processes; ++i)
    running.push_back(
        qt::StartProgram(RaceHost(),
                         {race.mode, dir.file(race.file), "ECF " + std::to_string(i),
                          std::to_string(race.count), dir.file("result" + std::to_string(i))},
                         ""));
  std::vector<int> stored;
  for (int i = 0; i < race.processes; ++i) {
    EXPECT_EQ(0, qt::WaitProgram(running[static_cast<size_t>(i)])) << race.mode << " writer " << i;
    stored.push_back(std::atoi(qt::ReadFile(dir.file("result" + std::to_string(i))).c_str()));
  }
  return stored;
}

std::vector<std::string> Entries(const Race& race) {
  std::vector<std::string> entries{race.file};
  for (int i = 0; i < race.processes; ++i) entries.push_back("result" + std::to_string(i));
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST(SeveralProcesses, EveryStoredGrandTotalIsInTheFile) {
  const Race race{"totals", "totals.ini", 4, 150};
  qt::TempDir dir;
  const std::vector<int> stored = RunWriters(dir, race);
  for (int i = 0; i < race.processes; ++i) {
    double total = -1;
    EXPECT_EQ(1, quorix_GetInfoTotalizadorECF(T("ECF " + std::to_string(i)), &total,
                                              T(dir.file(race.file))))
        << qt::LastError();
    EXPECT_EQ(stored[static_cast<size_t>(i)], total) << "ECF " << i;
    // Turns are waited for, not refused.
    EXPECT_EQ(race.count, stored[static_cast<size_t>(i)]) << "ECF " << i;
  }
  EXPECT_EQ(Entries(race), qt::FolderEntries(dir.path()));
}

TEST(SeveralProcesses, ReportsFinishedIntoOneNameAreEachWholeAndSigned) {
  const Race race{"report", "report.txt", 3, 20};
  qt::TempDir dir;
  const std::vector<int> stored = RunWriters(dir, race);
  int finished = 0;
  for (int n : stored) finished += n;
  EXPECT_GT(finished, 0);
  const auto lines = qt::ReportLines(qt::ReadFile(dir.file(race.file)));
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ("EAD", lines[1].substr(0, 3));
  EXPECT_EQ(Entries(race), qt::FolderEntries(dir.path()));
}

// The sanitizers' own reservations do not fit in a limited address space.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST(OneProcess, AReportThatFilledMemoryIsStillWrittenAndSigned) {
  qt::TempDir dir;
  const std::vector<int> accepted = RunWriters(dir, {"fill", "report.txt", 1, 192});
  ASSERT_GT(accepted[0], 100000);
  const auto lines = qt::ReportLines(qt::ReadFile(dir.file("report.txt")));
  ASSERT_EQ(static_cast<size_t>(accepted[0]) + 2, lines.size());
  EXPECT_EQ("E2", lines[1].substr(0, 2));
  EXPECT_EQ("E2", lines[lines.size() - 2].substr(0, 2));
  EXPECT_EQ("EAD", lines.back().substr(0, 3));
}
#endif

}  // namespace
