// Host processes of their own (tests/host/race_host.c). Several writing one file at
// once, each checking after every call that the file agrees with the call's
// result: then the file holds every writer's last stored update and nothing
// else is left. One killed at random moments while it rewrites both side
// files: each file is whole, old or new. One filling its memory with a
// report: what it accepted is still written and signed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

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

// After every kill each side file holds the whole old or the whole new
// content; the next write takes over whatever temporary file the kill left
// and leaves nothing else behind (the lock file included).
TEST(SeveralProcesses, SideFilesAreWholeAfterEveryKill) {
  qt::TempDir dir, control;
  const std::string house = dir.file("house.ini"), totals = dir.file("totals.ini");
  const std::string started = control.file("started");
  const auto churn = [&](int passes) {
    return qt::StartProgram(RaceHost(), {"churn", house, totals, std::to_string(passes), started},
                            "");
  };
  // Version 0 after one pass, version 1 after two.
  std::string houseBytes[2], totalBytes[2];
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(0, qt::WaitProgram(churn(i + 1)));
    houseBytes[i] = qt::ReadFile(house);
    totalBytes[i] = qt::ReadFile(totals);
  }
  ASSERT_NE(houseBytes[0], houseBytes[1]);
  const std::vector<std::string> files{"house.ini", "totals.ini"};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> delayMicroseconds(0, 15000);
#if defined(_WIN32)
  const int kills = 50;  // each start of a program under Wine costs about 0.1 s
#else
  const int kills = 200;
#endif
  int leftovers = 0;
  for (int k = 0; k < kills; ++k) {
    std::remove(started.c_str());
    const intptr_t writer = churn(0);
    ASSERT_NE(-1, writer);
    for (int waited = 0; !qt::Exists(started); ++waited) {
      ASSERT_LT(waited, 30000) << "kill " << k << ": the writer never began";
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    qt::KillProgram(writer);
    const std::string h = qt::ReadFile(house), t = qt::ReadFile(totals);
    ASSERT_TRUE(h == houseBytes[0] || h == houseBytes[1])
        << "kill " << k << ": the software-house file is neither version";
    ASSERT_TRUE(t == totalBytes[0] || t == totalBytes[1])
        << "kill " << k << ": the grand-total file is neither version";
    if (qt::FolderEntries(dir.path()) != files) ++leftovers;
    // Both versions: whichever a file holds, the other one is written.
    ASSERT_EQ(0, qt::WaitProgram(churn(2))) << "kill " << k;
    ASSERT_EQ(files, qt::FolderEntries(dir.path())) << "kill " << k;
    ASSERT_EQ(houseBytes[1], qt::ReadFile(house)) << "kill " << k;
    ASSERT_EQ(totalBytes[1], qt::ReadFile(totals)) << "kill " << k;
  }
  std::printf("%d kills, %d of them left a file that the next write took over\n", kills, leftovers);
  EXPECT_GT(leftovers, 0) << "no kill landed inside a write: the test proved nothing";
}

// The sanitizers' own reservations do not fit in a limited address space.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST(OneProcess, AReportThatFilledMemoryIsStillWrittenAndSigned) {
  qt::TempDir dir;
  const std::vector<int> accepted = RunWriters(dir, {"fill", "report.txt", 1, 192});
  if (accepted[0] == -1) GTEST_SKIP() << "this system does not enforce a job's memory limit";
  ASSERT_GT(accepted[0], 100000);
  const auto lines = qt::ReportLines(qt::ReadFile(dir.file("report.txt")));
  ASSERT_EQ(static_cast<size_t>(accepted[0]) + 2, lines.size());
  EXPECT_EQ("E2", lines[1].substr(0, 2));
  EXPECT_EQ("E2", lines[lines.size() - 2].substr(0, 2));
  EXPECT_EQ("EAD", lines.back().substr(0, 3));
}
#endif

}  // namespace
