// A host killed at random moments while it rewrites both side files: after
// every kill each file holds the whole old or the whole new content, and the
// next write leaves no temporary file behind.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>

#include "side_files_support.h"
#include "support.h"

namespace {

using qt::T;

TEST(CrashConsistency, SideFilesAreWholeAfterEveryKill) {
  qt::TempDir dir;
  const std::string house = dir.file("house.ini"), totals = dir.file("totals.ini");
  qt::HouseFile contents[2] = {qt::SampleHouse(), qt::SampleHouse()};
  contents[1].texts[3] = "Outra Software House Ltda";
  contents[1].auxFiles = {"x.dll", "y.dll", "z.dll"};
  const double grandTotals[2] = {1234.5, 98765.25};
  std::string houseBytes[2], totalBytes[2];
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(1, qt::GenerateHouse(contents[i], house));
    ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("ECF 1"), grandTotals[i], T(totals)));
    houseBytes[i] = qt::ReadFile(house);
    totalBytes[i] = qt::ReadFile(totals);
  }
  const std::vector<std::string> files{"house.ini", "totals.ini"};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> delayMicroseconds(0, 15000);
  int leftovers = 0;
  const int kills = 200;
  for (int k = 0; k < kills; ++k) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned n = 0;; ++n) {
        qt::GenerateHouse(contents[n % 2], house);
        quorix_UpdateTotalizadorGeralECF(T("ECF 1"), grandTotals[n % 2], T(totals));
      }
    }
    usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    const std::string h = qt::ReadFile(house), t = qt::ReadFile(totals);
    const int houseIs = h == houseBytes[0] ? 0 : h == houseBytes[1] ? 1 : -1;
    const int totalIs = t == totalBytes[0] ? 0 : t == totalBytes[1] ? 1 : -1;
    ASSERT_NE(-1, houseIs) << "kill " << k << ": the software-house file is neither version";
    ASSERT_NE(-1, totalIs) << "kill " << k << ": the grand-total file is neither version";
    if (qt::FolderEntries(dir.path()) != files) ++leftovers;
    // The next write (of the other version, so that it has something to
    // write) takes over whatever temporary file the kill left.
    ASSERT_EQ(1, qt::GenerateHouse(contents[1 - houseIs], house));
    ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("ECF 1"), grandTotals[1 - totalIs], T(totals)));
    ASSERT_EQ(files, qt::FolderEntries(dir.path())) << "kill " << k;
  }
  std::printf("%d kills, %d of them left a temporary file that the next write took over\n", kills,
              leftovers);
  EXPECT_GT(leftovers, 0) << "no kill landed inside a write: the test proved nothing";
}

}  // namespace
#endif
