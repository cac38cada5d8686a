// Real file faults met through the exports, as a host meets them: a folder
// that cannot be written and a disk that is full (Linux, where root can make
// them), a file another program holds open (Windows). The injected faults of
// every file operation are in file_faults_test.
#include <gtest/gtest.h>

#include "side_files_support.h"
#include "support.h"

#if defined(__linux__)
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace {

#if defined(__linux__)
// A read-only folder for real, which permission bits cannot make for root:
// the folder and its files get the file system's immutable flag.
class Immutable {
 public:
  explicit Immutable(const std::string& path) : path_(path) { ok_ = Set(true); }
  ~Immutable() {
    if (ok_) Set(false);
  }
  bool ok() const { return ok_; }

 private:
  bool Set(bool on) {
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return done;
  }
  std::string path_;
  bool ok_ = false;
};

TEST(ReadOnlyFolder, FilesTheLibraryWroteReadBackThroughTheExports) {
  qt::TempDir dir;
  const std::string house = dir.file("house.ini"), totals = dir.file("totals.ini");
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), house)) << qt::LastError();
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(qt::T("ECF 1"), 10, qt::T(totals)));
  const std::string houseBytes = qt::ReadFile(house), totalBytes = qt::ReadFile(totals);
  {
    const Immutable a(house), b(totals), folder(dir.path());
    if (!a.ok() || !b.ok() || !folder.ok()) GTEST_SKIP() << "no immutable flag here";
    qt::HouseRead read;
    qt::GetHouse(house, read);
    EXPECT_EQ(1, read.result) << qt::LastError();
    EXPECT_EQ(qt::SampleHouse().auxFiles, read.data.auxFiles);
    qt::OpenSampleReport();
    EXPECT_EQ(1, quorix_HeaderAnexoVI(qt::T("E01"), qt::T("XY0101AB000000000001"), qt::T("A"),
                                      qt::T("ECF-IF"), qt::T("Fabricante X"),
                                      qt::T("PX-4000 FI EX"), qt::T("01.00.01"), 39406, 0.5, 7,
                                      qt::T(house), 39508, 39538, qt::T("0107")))
        << qt::LastError();
    qt::CloseAnyReport();
    double total = 0;
    EXPECT_EQ(1, quorix_GetInfoTotalizadorECF(qt::T("ECF 1"), &total, qt::T(totals)));
    EXPECT_EQ(10, total);
    // What must store a default fails, naming the file and why.
    EXPECT_EQ(0, quorix_GetInfoTotalizadorECF(qt::T("ECF 2"), &total, qt::T(totals)));
    EXPECT_EQ(qt::SideFileFailure(totals, qt::FileFailure("gravar", totals, "acesso negado")),
              qt::LastError());
  }
  EXPECT_EQ(houseBytes, qt::ReadFile(house));
  EXPECT_EQ(totalBytes, qt::ReadFile(totals));
  EXPECT_EQ((std::vector<std::string>{"house.ini", "totals.ini"}), qt::FolderEntries(dir.path()));
}

// A real full disk, which reaches the signing library's own writes too: a
// small memory file system (root may mount one) filled to its last page.
class FullDisk {
 public:
  explicit FullDisk(const std::string& folder) : folder_(folder) {
    mounted_ = mount("quorix-test", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~FullDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  void Fill() {
    const int fd = open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const std::string page(4096, 'f');
    while (fd >= 0 && write(fd, page.data(), page.size()) > 0) {
    }
    if (fd >= 0) close(fd);
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

TEST(FullDisk, SigningFinishingAndSideFilesLeaveTheirFilesAsTheyWere) {
  qt::TempDir dir;
  FullDisk disk(dir.path());
  if (!disk.mounted()) GTEST_SKIP() << "no permission to mount a small file system";
  const auto& k = qt::Keys();
  // One page but for 100 bytes: the signature line needs another.
  const std::string report = dir.file("report.txt"), house = dir.file("house.ini");
  const std::string previous = std::string(4096 - 102, 'r') + "\r\n";
  qt::WriteFile(report, previous);
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), house));
  const std::string houseBytes = qt::ReadFile(house);
  disk.Fill();

  EXPECT_EQ(0, quorix_SignatureFileHash(k.publicKey, k.privateKey, qt::T(report)));
  EXPECT_EQ(
      "Erro durante o processo de gera\xE7\xE3o do Registro Chave\r\nErro de execu\xE7\xE3o do "
      "comando",
      qt::LastError());
  EXPECT_EQ(0, quorix_FinalizarPAF(k.publicKey, k.privateKey, qt::T(report), 1));
  EXPECT_EQ(previous, qt::ReadFile(report));

  qt::OpenSampleReport();
  ASSERT_EQ(1, quorix_Header(qt::T("E1")));
  EXPECT_EQ(0, quorix_FinalizarPAF(k.publicKey, k.privateKey, qt::T(report), 0));
  EXPECT_EQ("Erro durante a grava\xE7\xE3o do arquivo " + report + "\r\n" +
                qt::FileFailure("gravar", report, "disco cheio") +
                "\r\nO relat\xF3rio n\xE3o foi gravado em " + report,
            qt::LastError());
  EXPECT_EQ(previous, qt::ReadFile(report));

  qt::HouseFile other = qt::SampleHouse();
  other.texts[3] = "Outra Software House Ltda";
  EXPECT_EQ(0, qt::GenerateHouse(other, house));
  EXPECT_EQ(qt::SideFileFailure(house, qt::FileFailure("gravar", house, "disco cheio")),
            qt::LastError());
  EXPECT_EQ(houseBytes, qt::ReadFile(house));
  EXPECT_EQ((std::vector<std::string>{"filler", "house.ini", "report.txt"}),
            qt::FolderEntries(dir.path()));

  // Room again: the same calls succeed.
  ASSERT_EQ(0, unlink(dir.file("filler").c_str()));
  EXPECT_EQ(1, quorix_SignatureFileHash(k.publicKey, k.privateKey, qt::T(report)))
      << qt::LastError();
  EXPECT_EQ(1, qt::GenerateHouse(other, house)) << qt::LastError();
}
#endif

#if defined(_WIN32)
// Another program holds each file open, as an editor or a spreadsheet holds
// the file it shows: no writer can replace it, each one says why, and the
// file stays as it was.
TEST(HeldOpen, EveryWriterSaysTheFileIsInUseAndLeavesIt) {
  qt::TempDir dir;
  const auto& k = qt::Keys();
  const std::string report = dir.file("report.txt"), house = dir.file("house.ini"),
                    totals = dir.file("totals.ini");
  // The library composes the XML file's name with its own separator.
  const std::string xml = dir.path() + "\\dev.xml";
  qt::WriteFile(report, "previous report\r\n");
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), house)) << qt::LastError();
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(qt::T("ECF 1"), 10, qt::T(totals)));
  ASSERT_EQ(1, quorix_GenarateFileXml(qt::T("dev"), qt::T("AA"), qt::T(dir.path()), qt::T("3")));
  const std::string names[] = {report, house, totals, xml};
  std::vector<std::string> before;
  std::vector<HANDLE> held;
  for (const std::string& name : names) {
    before.push_back(qt::ReadFile(name));
    held.push_back(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, held.back()) << name;
  }
  const auto inUse = [](const std::string& file) {
    return qt::FileFailure("substituir", file, "arquivo em uso por outro programa");
  };

  qt::OpenSampleReport();
  ASSERT_EQ(1, quorix_Header(qt::T("E1")));
  EXPECT_EQ(0, quorix_FinalizarPAF(k.publicKey, k.privateKey, qt::T(report), 0));
  EXPECT_EQ("Erro durante a grava\xE7\xE3o do arquivo " + report + "\r\n" + inUse(report) +
                "\r\nO relat\xF3rio n\xE3o foi gravado em " + report,
            qt::LastError());
  qt::HouseFile other = qt::SampleHouse();
  other.texts[3] = "Outra Software House Ltda";
  EXPECT_EQ(0, qt::GenerateHouse(other, house));
  EXPECT_EQ(qt::SideFileFailure(house, inUse(house)), qt::LastError());
  EXPECT_EQ(0, quorix_UpdateTotalizadorGeralECF(qt::T("ECF 1"), 20, qt::T(totals)));
  EXPECT_EQ(qt::SideFileFailure(totals, inUse(totals)), qt::LastError());
  EXPECT_EQ(0, quorix_GenarateFileXml(qt::T("dev"), qt::T("BB"), qt::T(dir.path()), qt::T("3")));
  EXPECT_EQ(inUse(xml), qt::LastError());

  for (size_t i = 0; i < held.size(); ++i) {
    CloseHandle(held[i]);
    EXPECT_EQ(before[i], qt::ReadFile(names[i])) << names[i];
  }
  EXPECT_EQ((std::vector<std::string>{"dev.xml", "house.ini", "report.txt", "totals.ini"}),
            qt::FolderEntries(dir.path()));
  // Let go, the same calls succeed.
  EXPECT_EQ(1, quorix_UpdateTotalizadorGeralECF(qt::T("ECF 1"), 20, qt::T(totals)))
      << qt::LastError();
  EXPECT_EQ(1, qt::GenerateHouse(other, house)) << qt::LastError();
}
#endif

}  // namespace
