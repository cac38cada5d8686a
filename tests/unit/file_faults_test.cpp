// Injected file faults. Every operation that writes a file runs once for each
// file operation failing with each kind of fault: a call the fault reached
// gives false, a message naming the file and the reason, the previous file
// exactly as it was and no temporary file beside it; a call the fault did not
// reach (the operation does not do that on this build) succeeds. Reads run on
// a read-only medium. The faults come from the seam of the tests' own copy of
// the library, so these cases call the library's internal operations.
#include "platform/file_faults.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "UConst/last_error.h"
#include "UFuncoes/grand_total.h"
#include "UFuncoes/software_house.h"
#include "UPAF/process_state.h"
#include "UPAF/report.h"
#include "USignature/public_key_xml.h"
#include "USignature/signing.h"
#include "platform/files.h"
#include "side_files_support.h"
#include "support.h"
#include "unit_support.h"

namespace {

namespace store = quorix::store;
using quorix::platform::FileFault;
using quorix::platform::FileOp;

const struct {
  FileOp op;
  const char* verb;
} kOps[] = {{FileOp::Create, "criar"}, {FileOp::Write, "gravar"},      {FileOp::Sync, "gravar"},
            {FileOp::Close, "gravar"}, {FileOp::Rename, "substituir"}, {FileOp::Delete, "apagar"}};

const struct {
  FileFault fault;
  const char* reason;
} kFaults[] = {{FileFault::DiskFull, "disco cheio"},
               {FileFault::IoError, "erro de leitura ou grava\xE7\xE3o no dispositivo"},
               {FileFault::AccessDenied, "acesso negado"},
               {FileFault::ReadOnly,
                "m\xED"
                "dia somente leitura"}};

std::string InternalError() { return quorix::LastErrorMessage(); }

bool FinishReport(const std::string& file, int lines) {
  if (!quorix::upaf::OpenReport(qt::kCnpj, "", "", "Padaria P\xE3o Dourado")) return false;
  const std::string line = "E1" + std::string(92, 'x');
  for (int i = 0; i < lines; ++i) quorix::upaf::AppendReportLine(line);
  return quorix::upaf::FinishReport(qt::unit::SampleKeys().publicKey,
                                    qt::unit::SampleKeys().privateKey, file, false);
}

std::string ReportFailure(const std::string& file, const std::string& failure) {
  return "Erro durante a grava\xE7\xE3o do arquivo " + file + "\r\n" + failure +
         "\r\nO relat\xF3rio n\xE3o foi gravado em " + file;
}

// One operation that writes `file` over what `prepare` left there.
struct Writer {
  const char* name;
  const char* file;
  std::function<void(const std::string& file)> prepare;
  std::function<bool(const std::string& file)> run;
  std::function<std::string(const std::string& file, const std::string& failure)> message;
};

const Writer kWriters[] = {
    {"report", "report.txt", [](const std::string& f) { qt::WriteFile(f, "previous report\r\n"); },
     [](const std::string& f) { return FinishReport(f, 3); },
     [](const std::string& f, const std::string& failure) { return ReportFailure(f, failure); }},
    {"software house", "house.ini",
     [](const std::string& f) { ASSERT_TRUE(qt::unit::WriteHouseFile(qt::SampleHouse(), f)); },
     [](const std::string& f) {
       qt::HouseFile h = qt::SampleHouse();
       h.auxFiles = {"one.dll"};
       return qt::unit::WriteHouseFile(h, f);
     },
     qt::SideFileFailure},
    {"software house, read storing its defaults", "empty.ini",
     [](const std::string& f) { qt::WriteFile(f, ""); },
     [](const std::string& f) {
       return store::LoadSoftwareHouseData(quorix::upaf::Process().softwareHouse, f);
     },
     qt::SideFileFailure},
    {"grand total", "totals.ini",
     [](const std::string& f) { ASSERT_TRUE(store::UpdateGrandTotal("ECF 1", 10, f)); },
     [](const std::string& f) { return store::UpdateGrandTotal("ECF 1", 20, f); },
     qt::SideFileFailure},
    {"grand total, read storing its default", "totals.ini",
     [](const std::string& f) { ASSERT_TRUE(store::UpdateGrandTotal("ECF 1", 10, f)); },
     [](const std::string& f) {
       double total = 0;
       return store::GetGrandTotal("ECF 2", &total, f);
     },
     qt::SideFileFailure},
    {"public-key file", "dev.xml",
     [](const std::string& f) {
       ASSERT_TRUE(quorix::sig::GeneratePublicKeyXml("dev", "AA", f.substr(0, f.size() - 8), "3"));
     },
     [](const std::string& f) {
       return quorix::sig::GeneratePublicKeyXml("dev", "BB", f.substr(0, f.size() - 8), "3");
     },
     // The library names the file as it composed it: folder, separator, name.
     [](const std::string& f, const std::string& failure) {
       std::string shown = failure;
#if defined(_WIN32)
       shown[shown.find(f) + f.size() - 8] = '\\';
#else
       (void)f;
#endif
       return shown;
     }},
};

struct FaultCase {
  FileOp op;
  const char* verb;
  int nth;
  FileFault fault;
  const char* reason;
};

void RunFaultCase(const Writer& w, const FaultCase& c) {
  const std::string where =
      std::string(w.name) + ", " + c.verb + " #" + std::to_string(c.nth) + " (" + c.reason + ")";
  qt::TempDir dir;
  const std::string file = dir.file(w.file);
  w.prepare(file);
  const std::string before = qt::ReadFile(file);
  const std::vector<std::string> entries = qt::FolderEntries(dir.path());
  quorix::platform::ArmFileFault(c.op, c.nth, c.fault);
  const bool ok = w.run(file);
  const bool fired = quorix::platform::FileFaultFired();
  quorix::platform::ClearFileFaults();
  if (fired) {
    EXPECT_FALSE(ok) << where;
    EXPECT_EQ(w.message(file, qt::FileFailure(c.verb, file, c.reason)), InternalError()) << where;
    EXPECT_EQ(before, qt::ReadFile(file)) << where;
  } else {
    EXPECT_TRUE(ok) << where << ": " << InternalError();
    EXPECT_NE(before, qt::ReadFile(file)) << where;
  }
  EXPECT_EQ(entries, qt::FolderEntries(dir.path())) << where;
}

TEST(FileFaults, AFailedWriteLeavesThePreviousFileAndNoOther) {
  for (const Writer& w : kWriters)
    for (const auto& op : kOps)
      for (const auto& f : kFaults) RunFaultCase(w, {op.op, op.verb, 1, f.fault, f.reason});
  // The second block of a longer report.
  Writer longer = kWriters[0];
  longer.run = [](const std::string& f) { return FinishReport(f, 12000); };
  RunFaultCase(longer, {FileOp::Write, "gravar", 2, FileFault::DiskFull, "disco cheio"});
}

// A temporary file left behind (by a crash, or by a failure whose clean-up
// failed too) is taken over by the next write of its target, never added to.
TEST(FileFaults, ALeftoverTemporaryFileIsReusedByTheNextWrite) {
  for (const Writer& w : kWriters) {
    qt::TempDir dir;
    const std::string file = dir.file(w.file), temp = quorix::platform::TemporaryPathFor(file);
    w.prepare(file);
    quorix::platform::ArmFileFault(FileOp::Rename, 1, FileFault::IoError);
    quorix::platform::ArmFileFault(FileOp::Delete, 1, FileFault::IoError);
    EXPECT_FALSE(w.run(file)) << w.name;
    quorix::platform::ClearFileFaults();
    EXPECT_TRUE(qt::Exists(temp)) << w.name;
    EXPECT_TRUE(w.run(file)) << w.name << ": " << InternalError();
    EXPECT_FALSE(qt::Exists(temp)) << w.name;

    // As a crash would leave it: the write takes it over and gives the same file.
    qt::TempDir clean, crashed;
    const std::string reference = clean.file(w.file), target = crashed.file(w.file);
    w.prepare(reference);
    ASSERT_TRUE(w.run(reference)) << w.name;
    w.prepare(target);
    qt::WriteFile(quorix::platform::TemporaryPathFor(target), std::string(5000, '#'));
    EXPECT_TRUE(w.run(target)) << w.name << ": " << InternalError();
    EXPECT_EQ(std::vector<std::string>{w.file}, qt::FolderEntries(crashed.path())) << w.name;
    EXPECT_EQ(qt::ReadFile(reference), qt::ReadFile(target)) << w.name;
  }
}

// One operation that only reads `file`, as `prepare` left it.
struct Reader {
  const char* name;
  std::function<void(const std::string& file)> prepare;
  std::function<bool(const std::string& file)> run;
};

TEST(FileFaults, ReadingAFileTheLibraryWroteWritesNothing) {
  const qt::unit::Keys& keys = qt::unit::SampleKeys();
  const Reader readers[] = {
      {"software house",
       [](const std::string& f) { ASSERT_TRUE(qt::unit::WriteHouseFile(qt::SampleHouse(), f)); },
       [](const std::string& f) {
         return store::LoadSoftwareHouseData(quorix::upaf::Process().softwareHouse, f) &&
                quorix::upaf::Process().softwareHouse.auxFiles == qt::SampleHouse().auxFiles;
       }},
      {"grand total",
       [](const std::string& f) { ASSERT_TRUE(store::UpdateGrandTotal("ECF 1", 10, f)); },
       [](const std::string& f) {
         double total = 0;
         return store::GetGrandTotal("ECF 1", &total, f) && total == 10;
       }},
      {"signed report", [](const std::string& f) { ASSERT_TRUE(FinishReport(f, 3)); },
       [&](const std::string& f) {
         return quorix::sig::ValidateFile(keys.publicKey, keys.privateKey, f);
       }},
  };
  for (const Reader& r : readers) {
    qt::TempDir dir;
    const std::string file = dir.file("read.txt");
    r.prepare(file);
    const std::string before = qt::ReadFile(file);
    for (const auto& op : kOps) quorix::platform::ArmFileFault(op.op, 0, FileFault::ReadOnly);
    EXPECT_TRUE(r.run(file)) << r.name << ": " << InternalError();
    EXPECT_FALSE(quorix::platform::FileFaultFired()) << r.name;
    quorix::platform::ClearFileFaults();
    EXPECT_EQ(before, qt::ReadFile(file)) << r.name;
  }
}

#if !defined(_WIN32)
// Two hosts rewriting one file at once take turns on its lock: a writer
// waits while another holds it, then replaces the file whole.
TEST(FileLock, AWriterWaitsForTheOneBeforeIt) {
  qt::TempDir dir;
  const std::string totals = dir.file("totals.ini");
  ASSERT_TRUE(store::UpdateGrandTotal("ECF 1", 1, totals));
  const std::string before = qt::ReadFile(totals);
  // The other writer, as far as the lock is concerned.
  const std::string lock = quorix::platform::LockPathFor(totals);
  const int held = open(lock.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(held, 0);
  ASSERT_EQ(0, flock(held, LOCK_EX));
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    close(held);  // the lock stays with the descriptor the parent keeps
    _exit(store::UpdateGrandTotal("ECF 1", 2, totals) ? 0 : 1);
  }
  usleep(300000);
  EXPECT_EQ(0, waitpid(writer, nullptr, WNOHANG)) << "the writer did not wait";
  EXPECT_EQ(before, qt::ReadFile(totals));
  // Done, as a writer leaves it.
  unlink(lock.c_str());
  close(held);
  int status = -1;
  ASSERT_EQ(writer, waitpid(writer, &status, 0));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(before, qt::ReadFile(totals));
  EXPECT_EQ(std::vector<std::string>{"totals.ini"}, qt::FolderEntries(dir.path()));
}

#endif

// A writer whose turn does not come gives up after 20 s, says so, and leaves
// the file as it was. The holder here is another open of the lock file, which
// is all the lock knows of another program.
TEST(FileLock, AWriterGivesUpAfterTwentySeconds) {
  qt::TempDir dir;
  const std::string totals = dir.file("totals.ini");
  ASSERT_TRUE(store::UpdateGrandTotal("ECF 1", 1, totals));
  const std::string before = qt::ReadFile(totals);
  quorix::platform::FileLock other(totals);
  ASSERT_TRUE(other.held());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(store::UpdateGrandTotal("ECF 1", 2, totals));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(qt::SideFileFailure(totals, qt::FileFailure("gravar", totals,
                                                        "outro programa ainda grava o arquivo "
                                                        "depois de 20 segundos")),
            InternalError());
  EXPECT_GE(waited, std::chrono::milliseconds(quorix::platform::kLockWaitMilliseconds));
  EXPECT_LT(waited, std::chrono::seconds(30));
  EXPECT_EQ(before, qt::ReadFile(totals));
}

}  // namespace
