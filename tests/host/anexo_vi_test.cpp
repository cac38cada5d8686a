// The Anexo VI identification block: its 310-character line, the order of
// its checks around the loading of the software-house file, and the chaining
// of failures raised while the line is assembled.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "builder_cases.h"
#include "expected_messages.h"
#include "side_files_support.h"
#include "support.h"

namespace {

using namespace qt::msg;

using qt::LastError;
using qt::T;

using qt::k2008_03_01;
constexpr double k2007_11_20 = 39406, k2008_03_31 = 39538;
constexpr double k13_05_09 = 47109.0 / 86400;

struct AnexoArgs {
  std::string type = "E01", serial = "BE0909SC556100001234", mf = "A", ecfType = "ECF-IF",
              brand = "Fabricante X", model = "PX-4000 FI EX", firmware = "01.00.01";
  double firmwareDate = k2007_11_20, firmwareTime = k13_05_09;
  int32_t order = 7;
  std::string houseFile;
  double start = k2008_03_01, end = k2008_03_31;
  std::string version = "0107";
};

quorix_bool Anexo(const AnexoArgs& a) {
  return quorix_HeaderAnexoVI(T(a.type), T(a.serial), T(a.mf), T(a.ecfType), T(a.brand), T(a.model),
                              T(a.firmware), a.firmwareDate, a.firmwareTime, a.order,
                              T(a.houseFile), a.start, a.end, T(a.version));
}

std::string Join(std::initializer_list<std::string> fields) {
  std::string line;
  for (const auto& f : fields) line += f;
  return line;
}

// The line for the default arguments and the sample software house.
const std::string kSampleLine = Join({
    "E01",                                                 // record type
    "BE0909SC556100001234",                                // serial number
    "A",                                                   // additional fiscal memory
    "ECF-IF ",                                             // ECF type
    "FABRICANTE X        ",                                // brand
    "PX-4000 FI EX       ",                                // model
    "01.00.01  ",                                          // firmware version
    "20071120",                                            // firmware date
    "130509",                                              // firmware time
    "007",                                                 // order number
    "11222333000181",                                      // taxpayer CNPJ
    "110042490114  ",                                      // taxpayer state registration
    "11.222.333/000",                                      // software-house CNPJ, cut
    "110.042.490.11",                                      // its state registration, cut
    std::string(14, ' '),                                  // its municipal registration, empty
    "SOFTWARE HOUSE EXEMPLO LTDA" + std::string(13, ' '),  // its company name
    "CAIXA RAPIDA PDV" + std::string(24, ' '),             // program name
    "2.1.0     ",                                          // program version
    "0123456789ABCDEF0123456789ABCDEF",                    // program MD5
    "20080301",                                            // period start
    "20080331",                                            // period end
    "0107",                                                // version code
});

class AnexoVI : public qt::OpenReport {
 protected:
  void SetUp() override {
    OpenReport::SetUp();
    house_ = dir_.file("house.ini");
    ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), house_)) << LastError();
    args_.houseFile = house_;
  }

  std::string house_;
  AnexoArgs args_;
};

TEST_F(AnexoVI, AppendsTheIdentificationLine) {
  ASSERT_EQ(310u, kSampleLine.size());
  ASSERT_EQ(1, Anexo(args_)) << LastError();
  EXPECT_EQ(std::vector<std::string>{kSampleLine}, qt::FinishedLines());
}

TEST_F(AnexoVI, FieldsOfTheLine) {
  struct Case {
    const char* what;
    void (*change)(AnexoArgs&);
    size_t at;
    std::string text;
  } cases[] = {
      {"no firmware date or time", [](AnexoArgs& a) { a.firmwareDate = a.firmwareTime = 0; }, 81,
       std::string(14, ' ')},
      {"a firmware date without a time", [](AnexoArgs& a) { a.firmwareTime = 0; }, 81,
       "20071120      "},
      {"a firmware time without a date", [](AnexoArgs& a) { a.firmwareDate = 0; }, 81,
       "        130509"},
      {"order number", [](AnexoArgs& a) { a.order = 12; }, 95, "012"},
      {"texts cut and upper-cased", [](AnexoArgs& a) { a.brand = std::string(25, 'b'); }, 31,
       std::string(20, 'B') + "PX-4000"},
      {"version code", [](AnexoArgs& a) { a.version = "1.2"; }, 306, "1.2 "},
      {"equal period dates", [](AnexoArgs& a) { a.start = a.end; }, 290, "2008033120080331"},
  };
  for (const auto& c : cases) {
    AnexoArgs a = args_;
    c.change(a);
    ASSERT_EQ(1, Anexo(a)) << c.what << ": " << LastError();
  }
  const auto lines = qt::FinishedLines();
  ASSERT_EQ(std::size(cases), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(310u, lines[i].size()) << cases[i].what;
    EXPECT_EQ(cases[i].text, lines[i].substr(cases[i].at, cases[i].text.size())) << cases[i].what;
  }
}

TEST_F(AnexoVI, SoftwareHouseItemsComeFromTheFileAtEveryCall) {
  ASSERT_EQ(1, Anexo(args_));
  qt::HouseFile changed = qt::SampleHouse();
  changed.texts[3] = "Outra Casa";
  changed.texts[10] = "a" + std::string(40, 'f');  // a longer digest is cut
  ASSERT_EQ(1, qt::GenerateHouse(changed, house_));
  ASSERT_EQ(1, Anexo(args_));
  const auto lines = qt::FinishedLines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(kSampleLine, lines[0]);
  EXPECT_EQ("OUTRA CASA" + std::string(30, ' '), lines[1].substr(168, 40));
  EXPECT_EQ("A" + std::string(31, 'F'), lines[1].substr(258, 32));
}

TEST_F(AnexoVI, ChecksComeInOrder) {
  const std::string empty = dir_.file("empty.ini"), missing = dir_.file("missing.ini");
  const std::string serial = kBadSerial;
  struct Case {
    const char* what;
    void (*change)(AnexoArgs&, const std::string& empty, const std::string& missing);
    std::string message;
  } cases[] = {
      {"type before everything else",
       [](AnexoArgs& a, const std::string&, const std::string& m) {
         a.type = "E1", a.houseFile = m, a.serial = "", a.start = 0;
       },
       kBadType + "E1"},
      {"the file before the serial number and the period",
       [](AnexoArgs& a, const std::string&, const std::string& m) {
         a.houseFile = m, a.serial = "", a.start = 0;
       },
       kInvalidFile + missing},
      {"no file name",
       [](AnexoArgs& a, const std::string&, const std::string&) { a.houseFile = ""; },
       kInvalidFile},
      {"the serial number before the period",
       [](AnexoArgs& a, const std::string& e, const std::string&) {
         a.houseFile = e, a.serial = " \t ", a.start = 0;
       },
       serial + " \t "},
      {"a null serial number",
       [](AnexoArgs& a, const std::string&, const std::string&) { a.serial = ""; }, serial},
  };
  qt::WriteFile(empty, "");
  for (const auto& c : cases) {
    AnexoArgs a = args_;
    c.change(a, empty, missing);
    EXPECT_EQ(0, Anexo(a)) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
  }
  // The file was loaded, and its absent keys stored, before the serial number failed.
  EXPECT_NE(std::string::npos, qt::PlainLayout(qt::ReadFile(empty)).find("LAUDO=AAAAAA\n"));
  EXPECT_FALSE(qt::Exists(missing));
  EXPECT_TRUE(qt::FinishedLines().empty());  // no line was appended
}

TEST_F(AnexoVI, TheTaxpayerIsCheckedBeforeTheFileIsLoaded) {
  qt::CloseAnyReport();
  const std::string empty = dir_.file("untouched.ini");
  qt::WriteFile(empty, "");
  args_.houseFile = empty;
  EXPECT_EQ(0, Anexo(args_));
  EXPECT_EQ(kNoTaxpayer, LastError());
  EXPECT_EQ("", qt::ReadFile(empty));
}

TEST_F(AnexoVI, TooLongALineIsRefusedWhole) {
  args_.order = 1000;
  EXPECT_EQ(0, Anexo(args_));
  const std::string line = kSampleLine.substr(0, 95) + "1000" + kSampleLine.substr(98);
  EXPECT_EQ(kLayout + line, LastError());
  EXPECT_EQ(311u, line.size());
  args_.order = 7;
  args_.type = " E01";
  EXPECT_EQ(0, Anexo(args_));
  EXPECT_EQ(kLayout + " " + kSampleLine, LastError());
  EXPECT_TRUE(qt::FinishedLines().empty());
}

TEST_F(AnexoVI, FailuresWhileAssemblingFollowTheLastMessage) {
  // No entry clear: an older message stays in front of the failure.
  EXPECT_EQ(0, quorix_Header(T("X")));
  const std::string older = kBadType + "X";
  args_.start = std::nan("");
  EXPECT_EQ(0, Anexo(args_));
  const std::string notANumber = "Valor num\xE9rico inv\xE1lido (n\xE3o \xE9 um n\xFAmero finito)";
  EXPECT_EQ(older + "\r\n" + notANumber, LastError());

  args_.start = k2008_03_01;
  args_.firmwareDate = 1e9;
  EXPECT_EQ(0, Anexo(args_));
  EXPECT_EQ(older + "\r\n" + notANumber + "\r\n" +
                "Data ou hora inv\xE1lida (fora do intervalo de 01/01/0001 a 31/12/9999)",
            LastError());

  // A line that succeeds leaves the message as it was.
  args_.firmwareDate = 0;
  ASSERT_EQ(1, Anexo(args_));
  EXPECT_EQ(older + "\r\n" + notANumber + "\r\n" +
                "Data ou hora inv\xE1lida (fora do intervalo de 01/01/0001 a 31/12/9999)",
            LastError());
  EXPECT_EQ(1u, qt::FinishedLines().size());
}

// The period's message shows the dates with the regional date separator.
void ExpectPeriodMessages(const char* sep) {
  qt::TempDir dir;
  const std::string house = dir.file("house.ini");
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), house));
  qt::OpenSampleReport();
  const std::string s(sep);
  struct Case {
    double start, end;
    std::string dates;
  } cases[] = {
      {k2008_03_31, k2008_03_01, "31" + s + "03" + s + "2008 e/ou 01" + s + "03" + s + "2008"},
      {k2008_03_01, 0, "01" + s + "03" + s + "2008 e/ou 30" + s + "12" + s + "1899"},
      {0, k2008_03_01, "30" + s + "12" + s + "1899 e/ou 01" + s + "03" + s + "2008"},
      {k2008_03_31 + 0.75, k2008_03_31 + 0.5,
       "31" + s + "03" + s + "2008 e/ou 31" + s + "03" + s + "2008"},
  };
  for (const auto& c : cases) {
    AnexoArgs a;
    a.houseFile = house;
    a.start = c.start;
    a.end = c.end;
    EXPECT_EQ(0, Anexo(a));
    EXPECT_EQ(kBadPeriod + c.dates, LastError());
  }
  qt::CloseAnyReport();
}

TEST(RegionalPtBr, AnexoVIPeriodMessage) { ExpectPeriodMessages("/"); }
TEST(RegionalEnUs, AnexoVIPeriodMessage) { ExpectPeriodMessages("/"); }
TEST(RegionalC, AnexoVIPeriodMessage) { ExpectPeriodMessages("/"); }
TEST(RegionalDeDe, AnexoVIPeriodMessage) { ExpectPeriodMessages("."); }

}  // namespace
