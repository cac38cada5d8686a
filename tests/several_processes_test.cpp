// Several host processes writing one file at once, each checking after every
// call that the file agrees with the call's result (tests/race_host.c); then
// the file holds every writer's last stored update and nothing else is left.
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

}  // namespace
