// Opening and finishing a report, the last error message and the header line.
#include <gtest/gtest.h>

#include <filesystem>

#include "expected_messages.h"
#include "support.h"

namespace {

using namespace qt::msg;

using qt::LastError;
using qt::T;

class Report : public testing::Test {
 protected:
  void SetUp() override { qt::CloseAnyReport(); }
  void TearDown() override { qt::CloseAnyReport(); }

  // Opens a report, appends a header and returns it as written to a file.
  std::string HeaderFor(const char* cnpj, const char* ie, const char* im, const char* name) {
    EXPECT_EQ(1, quorix_InicializarPAF(T(cnpj), T(ie), T(im), T(name))) << LastError();
    EXPECT_EQ(1, quorix_Header(T("E1"))) << LastError();
    const std::string file = dir_.file("h.txt");
    EXPECT_EQ(1, Finish(file));
    const auto lines = qt::ReportLines(qt::ReadFile(file));
    return lines.empty() ? std::string() : lines.front();
  }
  unsigned char Finish(const std::string& file, unsigned signOnly = 0) {
    return quorix_FinalizarPAF(qt::Keys().publicKey, qt::Keys().privateKey, T(file), signOnly);
  }
  qt::TempDir dir_;
};

TEST_F(Report, OpeningRefusesBadIdentifications) {
  struct Case {
    const char* cnpj;
    const char* name;
    std::string message;
  } cases[] = {
      {"", "", kBadCnpj + kBadName},
      {" \t ", "Loja", kBadCnpj},
      {"000.000.000-00", "Loja", kBadCnpj},
      {"00.000.000/0000-00", "Loja", kBadCnpj},
      {"11.222.333/0001-82", "Loja", kBadCnpj},
      {"1122233300018", "Loja", kBadCnpj},
      {"529.982.247-24", "Loja", kBadCnpj},
      {qt::kCnpj, "   ", kBadName},
  };
  for (const auto& c : cases) {
    quorix_GetMessageError(nullptr);  // tolerated: no variable, nothing stored
    EXPECT_EQ(0, quorix_InicializarPAF(T(c.cnpj), nullptr, nullptr, T(c.name))) << c.cnpj;
    EXPECT_EQ(c.message, LastError()) << c.cnpj;
    // Nothing was opened: the header fails its own taxpayer check the same way.
    EXPECT_EQ(0, quorix_Header(T("E1")));
    EXPECT_EQ(c.message, LastError());
  }
}

TEST_F(Report, IdentificationIsRenderedIntoTheHeader) {
  struct Case {
    const char* cnpj;
    const char* ie;
    const char* im;
    const char* name;
    std::string line;
  } cases[] = {
      {" 11.222.333/0001-81 ", "110.042.490.114", "", "Padaria P\xE3o Quente",
       "E111222333000181110042490114  ISENTO        PADARIA PAO QUENTE" + std::string(32, ' ')},
      {"00000000000000", "", "", "x",
       "E100000000000000ISENTO        ISENTO        X" + std::string(49, ' ')},
      {"529.982.247-25", "ie-1", "im/2", "Jos\xE9",
       "E100052998224725IE1           IM2           JOSE" + std::string(46, ' ')},
  };
  for (const auto& c : cases) {
    const std::string line = HeaderFor(c.cnpj, c.ie, c.im, c.name);
    EXPECT_EQ(c.line, line) << c.cnpj;
    EXPECT_EQ(94u, line.size());
  }
  const std::string longName(60, 'a');
  EXPECT_EQ(
      "E100011111111111"
      "12345678901234"
      "X             " +
          std::string(50, 'A'),
      HeaderFor("11111111111", "123456789012345678", "x", longName.c_str()));
}

TEST_F(Report, HeaderChecksItsTypeFirst) {
  qt::OpenSampleReport();
  for (const char* type : {"", "   ", "E", "E12", "\tE"}) {
    EXPECT_EQ(0, quorix_Header(T(type))) << type;
    EXPECT_EQ(kBadType + type, LastError());
  }
  // Blanks around a good type pass the check, then break the layout.
  EXPECT_EQ(0, quorix_Header(T(" E1")));
  const std::string expected = kLayout +
                               " E1"
                               "11222333000181"
                               "110042490114  "
                               "12345         "
                               "PADARIA EXEMPLO LTDA" +
                               std::string(30, ' ');
  EXPECT_EQ(expected, LastError());
  EXPECT_EQ(95u, expected.size() - 18);
}

TEST_F(Report, HeaderLeavesAnOlderMessageInPlace) {
  qt::OpenSampleReport();
  EXPECT_EQ(0, quorix_Header(T("X")));
  EXPECT_EQ(1, quorix_Header(T("E1")));
  EXPECT_EQ(kBadType + "X", LastError());
}

TEST_F(Report, BuildersAcceptTheCpfTheyWereOpenedWith) {
  ASSERT_EQ(1, quorix_InicializarPAF(T(qt::kCpf), nullptr, nullptr, T("Loja")));
  EXPECT_EQ(1, quorix_Header(T("E1"))) << LastError();
  EXPECT_EQ(1, quorix_Header(T("E2"))) << LastError();
}

TEST_F(Report, FailedReopeningKeepsTheLinesButBlocksTheBuilders) {
  qt::OpenSampleReport();
  ASSERT_EQ(1, quorix_Header(T("E1")));
  EXPECT_EQ(0, quorix_InicializarPAF(T("123"), nullptr, nullptr, T("Loja")));
  EXPECT_EQ(0, quorix_Header(T("E2")));
  EXPECT_EQ(kBadCnpj, LastError());
  // Opening again keeps the lines appended before.
  qt::OpenSampleReport();
  ASSERT_EQ(1, quorix_Header(T("E3")));
  const std::string file = dir_.file("r.txt");
  ASSERT_EQ(1, Finish(file)) << LastError();
  const auto lines = qt::ReportLines(qt::ReadFile(file));
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("E1", lines[0].substr(0, 2));
  EXPECT_EQ("E3", lines[1].substr(0, 2));
  EXPECT_EQ("EAD", lines[2].substr(0, 3));
}

TEST_F(Report, FinishingWritesEveryLineWithCrLfAndSigns) {
  qt::OpenSampleReport();
  for (const char* type : {"E1", "E2", "E3"}) ASSERT_EQ(1, quorix_Header(T(type)));
  const std::string file = dir_.file("report.txt");
  qt::WriteFile(file, "stale content that must go");
  ASSERT_EQ(1, Finish(file)) << LastError();
  EXPECT_EQ("", LastError());
  const std::string bytes = qt::ReadFile(file);
  const auto lines = qt::ReportLines(bytes);
  ASSERT_EQ(4u, lines.size());
  EXPECT_EQ(3 * 96 + 3 + 256 + 2, bytes.size());
  EXPECT_EQ(1, quorix_ValidateFilePAF(qt::Keys().publicKey, qt::Keys().privateKey, T(file)));
  // The report is closed now.
  EXPECT_EQ(0, quorix_Header(T("E1")));
  EXPECT_EQ(kBadCnpj + kBadName, LastError());
}

TEST_F(Report, AnEmptyReportIsAnEmptySignedFile) {
  qt::OpenSampleReport();
  const std::string file = dir_.file("empty.txt");
  ASSERT_EQ(1, Finish(file)) << LastError();
  const std::string bytes = qt::ReadFile(file);
  ASSERT_EQ(3u + 256 + 2, bytes.size());
  EXPECT_EQ("EAD", bytes.substr(0, 3));
}

TEST_F(Report, FinishingFailuresCloseTheReportAndKeepTheirMessage) {
  const auto& keys = qt::Keys();
  const std::string file = dir_.file("f.txt");
  const std::string key255(255, 'A'), key256(256, 'A');
  struct Case {
    quorix_text pub, priv;
    std::string message;
  };
  const T short1(key255), long1(key256), nulKey(key255 + std::string(1, '\0'));
  const Case cases[] = {
      {short1, keys.privateKey, kBadKeys},
      {keys.publicKey, short1, kBadKeys},
      {nullptr, nullptr, kBadKeys},
      // Keys of the right size that the signing library refuses: the
      // report is not left unsigned under its name.
      {long1, long1,
       "Erro durante o processo de gera\xE7\xE3o do Registro Chave\r\n"
       "Erro de execu\xE7\xE3o do comando\r\nO relat\xF3rio n\xE3o foi gravado em " +
           file},
      // A key cut by a NUL would be another key.
      {nulKey, keys.privateKey, kBadKeys},
  };
  qt::WriteFile(file, "previous report\r\n");
  for (const auto& c : cases) {
    qt::OpenSampleReport();
    ASSERT_EQ(1, quorix_Header(T("E1")));
    EXPECT_EQ(0, quorix_FinalizarPAF(c.pub, c.priv, T(file), 0));
    EXPECT_EQ(c.message, LastError());
    EXPECT_EQ(0, quorix_Header(T("E1")));  // closed even after a failure
    EXPECT_EQ("previous report\r\n", qt::ReadFile(file));
    EXPECT_EQ(std::vector<std::string>{"f.txt"}, qt::FolderEntries(dir_.path()));
  }
}

// Names the system refuses, or that name no character, are refused before
// anything is written; a name as long as the system allows is written.
TEST_F(Report, FileNamesAreCheckedBeforeAnythingIsWritten) {
  const std::string notWritten = "\r\nO relat\xF3rio n\xE3o foi gravado em ";
  const struct {
    std::string name, message;
  } refused[] = {
    {"", kWriteError + "\r\nNome de arquivo vazio" + notWritten},
#if !defined(_WIN32)
    {dir_.file("a\x81.txt"), kWriteError + dir_.file("a\x81.txt") +
                                 "\r\nCaractere indefinido no Windows-1252 (c\xF3"
                                 "digo 129) na posi\xE7\xE3o " +
                                 std::to_string(dir_.file("a").size() + 1) + " do nome do arquivo" +
                                 notWritten + dir_.file("a\x81.txt")},
    {dir_.file(std::string(256, 'n')),
     kWriteError + dir_.file(std::string(256, 'n')) + "\r\n" +
         qt::FileFailure("criar", dir_.file(std::string(256, 'n')),
                         "nome de arquivo longo demais") +
         notWritten + dir_.file(std::string(256, 'n'))},
#endif
  };
  for (const auto& c : refused) {
    qt::OpenSampleReport();
    EXPECT_EQ(0, Finish(c.name)) << c.name;
    EXPECT_EQ(c.message, LastError());
    EXPECT_EQ(std::vector<std::string>{}, qt::FolderEntries(dir_.path()));
  }
#if !defined(_WIN32)
  // 250 characters: the library's own files beside it have short names.
  const std::string longest = dir_.file(std::string(250, 'r') + "\xF3");
  qt::OpenSampleReport();
  EXPECT_EQ(1, Finish(longest)) << LastError();
  EXPECT_EQ(std::vector<std::string>{std::string(250, 'r') + "\xC3\xB3"},
            qt::FolderEntries(dir_.path()));
#endif
}

// Targets whose whole path is as long as the plain Windows functions take
// (259 characters), and longer, are written, signed and validated, although
// the library's own files beside them have longer paths still; so is a grand
// total beside them.
TEST_F(Report, TheLongestPathTheSystemTakesIsWritten) {
  for (const size_t length : {259, 400}) {
    std::string folder = dir_.path() + "/" + std::to_string(length);
    while (folder.size() < length - 59) folder += "/" + std::string(48, 'd');
    std::filesystem::create_directories(folder);
    const std::string prefix = folder + "/";
    const std::string report = prefix + std::string(length - prefix.size() - 4, 'r') + ".txt";
    const std::string totals = prefix + std::string(length - prefix.size() - 4, 't') + ".ini";
    qt::OpenSampleReport();
    EXPECT_EQ(1, Finish(report)) << length << ": " << LastError();
    EXPECT_EQ(1, quorix_ValidateFilePAF(qt::Keys().publicKey, qt::Keys().privateKey, T(report)))
        << length << ": " << LastError();
    double total = 0;
    EXPECT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("ECF 1"), 12.5, T(totals)))
        << length << ": " << LastError();
    EXPECT_EQ(1, quorix_GetInfoTotalizadorECF(T("ECF 1"), &total, T(totals)))
        << length << ": " << LastError();
    EXPECT_EQ(12.5, total) << length;
    EXPECT_EQ(2u, qt::FolderEntries(folder).size()) << length;
  }
}

TEST_F(Report, SignOnlySignsAnExistingFile) {
  const std::string absent = dir_.file("absent.txt");
  EXPECT_EQ(0, Finish(absent, 1));
  EXPECT_EQ(kWriteError + absent, LastError());
  EXPECT_FALSE(qt::Exists(absent));

  const std::string file = dir_.file("own.txt");
  qt::WriteFile(file, "host's own line\r\n");
  qt::OpenSampleReport();
  ASSERT_EQ(1, quorix_Header(T("E1")));
  ASSERT_EQ(1, Finish(file, 1)) << LastError();
  const auto lines = qt::ReportLines(qt::ReadFile(file));
  ASSERT_EQ(2u, lines.size());  // the buffer's line was not written
  EXPECT_EQ("host's own line", lines[0]);
  EXPECT_EQ(1, quorix_ValidateFilePAF(qt::Keys().publicKey, qt::Keys().privateKey, T(file)));
}

TEST_F(Report, FinishingWithoutAnOpenReportTouchesNoFile) {
  const std::string file = dir_.file("keep.txt");
  qt::WriteFile(file, "keep me");
  EXPECT_EQ(0, Finish(file));
  EXPECT_EQ(kWriteError + file +
                "\r\nNenhum relat\xF3rio aberto: chame quorix_InicializarPAF antes de montar as "
                "linhas\r\nO relat\xF3rio n\xE3o foi gravado em " +
                file,
            LastError());
  EXPECT_EQ("keep me", qt::ReadFile(file));
}

TEST_F(Report, AFileThatCannotBeCreatedIsReported) {
  qt::OpenSampleReport();
  ASSERT_EQ(1, quorix_Header(T("E1")));
  const std::string file = dir_.file("no-such-folder/r.txt");
  EXPECT_EQ(0, Finish(file));
  const std::string prefix = kWriteError + file + "\r\n" + kCannotCreateFile + file;
  EXPECT_EQ(prefix, LastError().substr(0, prefix.size()));
  EXPECT_FALSE(qt::Exists(file));
}

TEST_F(Report, GetMessageErrorDoesNotClear) {
  EXPECT_EQ(0, quorix_Header(T("E")));
  EXPECT_EQ(kBadType + "E", LastError());
  EXPECT_EQ(kBadType + "E", LastError());
}

}  // namespace

// The report buffer keeps its memory for the next report: what the earlier
// report left in it (lines, a refused line's bytes) never reaches the next file.
TEST(ReportMemory, ASecondReportWritesOnlyItsOwnLinesHoweverTheFirstEnded) {
  const std::string header = std::string("E1") + qt::kCnpjDigits + "110042490114  12345         " +
                             "PADARIA EXEMPLO LTDA" + std::string(30, ' ');
  // Enough lines to fill more than one 2 MiB block of the buffer.
  const int lines = 30000;
  enum class End { Finished, Discarded, AfterARefusedLine };
  for (End end : {End::Finished, End::Discarded, End::AfterARefusedLine}) {
    SCOPED_TRACE(static_cast<int>(end));
    qt::CloseAnyReport();
    ASSERT_EQ(1, quorix_InicializarPAF(T("529.982.247-25"), T("9"), T("8"), T("Outra Empresa")));
    for (int i = 0; i < lines; ++i) ASSERT_EQ(1, quorix_Header(T("E9")));
    if (end == End::AfterARefusedLine) {
      EXPECT_EQ(0, quorix_Header(T(" E1")));
    }
    if (end == End::Finished) {
      EXPECT_EQ(lines, static_cast<int>(qt::FinishedLines().size()));
    } else {
      qt::CloseAnyReport();
    }

    qt::OpenSampleReport();
    EXPECT_EQ(0, quorix_Header(T(" E1")));  // refused: written in place, never kept
    for (int i = 0; i < lines; ++i) ASSERT_EQ(1, quorix_Header(T("E1")));
    const auto written = qt::FinishedLines();
    ASSERT_EQ(static_cast<size_t>(lines), written.size());
    for (size_t i = 0; i < written.size(); ++i)
      if (written[i] != header) FAIL() << "line " << i << ": " << written[i];
  }
}
