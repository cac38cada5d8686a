// Totals lines, the Reduction Z list and detail lines and the daily movement
// line, driven through the exports as a host drives them: exact bytes of the
// lines written, exact messages, order of the checks and what each call
// leaves in the report and in the last error message.
#include <gtest/gtest.h>

#include <functional>

#include "builder_cases.h"
#include "expected_messages.h"
#include "support.h"

namespace {

using namespace qt;
using namespace qt::msg;

// The sample report's taxpayer as the lines carry it.
const std::string kCnpj14 = "11222333000181";
const std::string kStateReg14 = "110042490114  ";

constexpr double k13_05_09 = 47109.0 / 86400.0;

// Replaces the characters from 1-based position `at` with `text`.
std::string Patch(std::string line, size_t at, const std::string& text) {
  return line.replace(at - 1, text.size(), text);
}

// One call of a line builder, changed from its sample arguments, and what it
// must give: the line appended, or the message left.
template <class Call>
struct LineCase {
  const char* what;
  std::function<void(Call&)> change;
  unsigned char result;
  std::string lineOrMessage;
};

// Runs the cases in one open report, which then holds the lines of the
// successes alone.
template <class Call>
void ExpectLines(const std::vector<LineCase<Call>>& cases, size_t lineLength) {
  std::vector<std::string> appended;
  for (const auto& c : cases) {
    Call call;
    c.change(call);
    LeaveAnOlderMessage();
    EXPECT_EQ(c.result, call.Call()) << c.what;
    if (c.result) {
      EXPECT_EQ("", LastError()) << c.what;
      EXPECT_EQ(lineLength, c.lineOrMessage.size()) << c.what;
      appended.push_back(c.lineOrMessage);
    } else {
      EXPECT_EQ(c.lineOrMessage, LastError()) << c.what;
    }
  }
  EXPECT_EQ(appended, FinishedLines());
}

using Ecf = qt::OpenReport;

// ---- Totals ---------------------------------------------------------------

std::string TotalsLine(const std::string& type, const std::string& count) {
  return type + kCnpj14 + kStateReg14 + count;
}

TEST_F(Ecf, TotallyCountsLinesByTheirFirstTwoCharacters) {
  struct Case {
    const char* counted;
    const char* count;
  } cases[] = {
      {"E1", "000002"},  // "E1" and "e1": a-z fold to upper case
      {"e1", "000002"},       {"E2", "000001"},
      {"R0", "000002"},  // three-character types beginning with the two
      {"r0", "000002"},       {"\xC9\x31", "000000"},  // accented letters are compared unchanged
      {"\xE9\x31", "000001"}, {" E1", "000000"},  // compared untrimmed: matches nothing, no error
      {"E1 ", "000000"},      {"T9", "000000"},   // the totals line does not count itself
      {"Z9", "000000"},
  };
  for (const auto& c : cases) {
    qt::CloseAnyReport();
    qt::OpenSampleReport();
    for (const char* type : {"E1", "e1", "E2", "\xE9\x31"}) ASSERT_EQ(1, quorix_Header(T(type)));
    ASSERT_EQ(1, quorix_DetalheReducaoZ(T("R03"), T("BE01"), nullptr, nullptr, nullptr, T("1"),
                                        T("T01"), 1.0))
        << LastError();
    ASSERT_EQ(1, quorix_DetalheReducaoZ(T("r04"), T("BE01"), nullptr, nullptr, nullptr, T("1"),
                                        T("T01"), 1.0));
    LeaveAnOlderMessage();
    EXPECT_EQ(1, quorix_Totally(T("T9"), T(c.counted))) << c.counted << ": " << LastError();
    // No entry clear: a success keeps the older message.
    EXPECT_EQ(kBadType + "X", LastError()) << c.counted;
    const auto lines = FinishedLines();
    ASSERT_EQ(7u, lines.size());
    EXPECT_EQ(TotalsLine("T9", c.count), lines.back()) << c.counted;
  }
}

TEST_F(Ecf, TotallyCountsEveryLineAppendedBeforeIt) {
  ASSERT_EQ(1, quorix_Header(T("E1")));
  ASSERT_EQ(1, quorix_Totally(T("T9"), T("T9")));
  ASSERT_EQ(1, quorix_Totally(T("t9"), T("T9")));
  ASSERT_EQ(1, quorix_Totally(T("T9"), T("E1")));
  ASSERT_EQ(1, quorix_Totally(T("T9"), T("T9")));
  EXPECT_EQ(
      (std::vector<std::string>{"E1" + kCnpj14 + kStateReg14 +
                                    "12345         PADARIA EXEMPLO LTDA" + std::string(30, ' '),
                                TotalsLine("T9", "000000"), TotalsLine("t9", "000001"),
                                TotalsLine("T9", "000001"), TotalsLine("T9", "000003")}),
      FinishedLines());
}

TEST_F(Ecf, TotallyChecksBothTypesButQuotesTheFirst) {
  ASSERT_EQ(1, quorix_Header(T("E1")));
  struct Case {
    const char* type;
    const char* counted;
    std::string message;
  } cases[] = {
      {"", "E1", kBadType},
      {"  ", "E1", kBadType + "  "},
      {"T", "E1", kBadType + "T"},
      {"T99", "E1", kBadType + "T99"},
      {"T9", "", kBadType + "T9"},
      {"T9", " \t", kBadType + "T9"},
      {"T9", "E", kBadType + "T9"},
      {"T9", "E12", kBadType + "T9"},
      {" T9", "E", kBadType + " T9"},
      // Good types with blanks around them: placed untrimmed, too long.
      {" T9 ", "E1", kLayout + " T9 " + kCnpj14 + kStateReg14 + "000001"},
      {"T\n9", "E1", kBadType + "T\n9"},
  };
  for (const auto& c : cases) {
    LeaveAnOlderMessage();
    EXPECT_EQ(0, quorix_Totally(T(c.type), T(c.counted))) << c.type << "/" << c.counted;
    EXPECT_EQ(c.message, LastError()) << c.type << "/" << c.counted;
  }
  EXPECT_EQ(1u, FinishedLines().size());  // no failure left a line behind
}

TEST_F(Ecf, TotallyWithoutAnOpenReportChainsAClearMessage) {
  qt::CloseAnyReport();  // leaves the refused keys' message behind
  ASSERT_EQ(kBadKeys, LastError());
  EXPECT_EQ(0, quorix_Totally(T("T9"), T("E1")));
  EXPECT_EQ(kBadKeys + "\r\n" + kNoReport, LastError());
  // The type check still comes first.
  EXPECT_EQ(0, quorix_Totally(T("T"), T("E1")));
  EXPECT_EQ(kBadType + "T", LastError());
  // A refused opening stores the inputs but creates no report.
  EXPECT_EQ(0, quorix_InicializarPAF(T("123"), nullptr, nullptr, T("Loja")));
  EXPECT_EQ(0, quorix_Totally(T("T9"), T("E1")));
  EXPECT_EQ(kBadCnpj + "\r\n" + kNoReport, LastError());
}

TEST_F(Ecf, TotallyRepeatsTheTaxpayerAsOpened) {
  struct Case {
    const char* stateRegistration;
    std::string line;
  } cases[] = {
      {"ie-9", "T900052998224725IE9           000000"},
      {nullptr, "T900052998224725ISENTO        000000"},
  };
  for (const auto& c : cases) {
    qt::CloseAnyReport();
    ASSERT_EQ(
        1, quorix_InicializarPAF(T(qt::kCpf), c.stateRegistration ? T(c.stateRegistration) : T(""),
                                 nullptr, T("Loja")));
    ASSERT_EQ(1, quorix_Totally(T("T9"), T("E1"))) << LastError();
    EXPECT_EQ((std::vector<std::string>{c.line}), FinishedLines());
  }
}

TEST_F(Ecf, TotallyRefusesASeventhDigit) {
  for (int i = 0; i < 999999; ++i)
    if (!quorix_Header(T("E1"))) FAIL() << LastError();
  ASSERT_EQ(1, quorix_Totally(T("T9"), T("E1"))) << LastError();
  ASSERT_EQ(1, quorix_Header(T("e1")));
  EXPECT_EQ(0, quorix_Totally(T("T9"), T("E1")));
  EXPECT_EQ(kLayout + TotalsLine("T9", "1000000"), LastError());
  // Read back as bytes: a million lines as strings would only cost memory.
  const std::string file = dir_.file("million.txt");
  ASSERT_EQ(1, quorix_FinalizarPAF(qt::Keys().publicKey, qt::Keys().privateKey, T(file), 0));
  const std::string bytes = qt::ReadFile(file);
  const size_t totalsAt = size_t{999999} * 96;
  ASSERT_EQ(totalsAt + 38 + 96 + 3 + 256 + 2, bytes.size());
  EXPECT_EQ(TotalsLine("T9", "999999") + "\r\ne1", bytes.substr(totalsAt, 40));
  EXPECT_EQ("\r\nEAD", bytes.substr(totalsAt + 38 + 94, 5));
}

// ---- Reduction Z list -----------------------------------------------------

struct ZList {
  std::string type = "R02", serial = "BE050810100000012345", mf = "a", model = "PX-2100 FI EX",
              user = "1", crz = "123", coo = "4567", cro = "2";
  double movement = k2008_03_01, issue = k2008_03_01 + 1, time = k13_05_09, gross = 1234.56;
  std::string flag = "N";

  unsigned char Call() const {
    return quorix_RelacaoReducoesZ(T(type), T(serial), T(mf), T(model), T(user), T(crz), T(coo),
                                   T(cro), movement, issue, time, gross, T(flag));
  }
};

const std::string kZList =
    "R02"
    "BE050810100000012345"
    "A"
    "PX-2100 FI EX       "
    "01"
    "000123"
    "004567"
    "000002"
    "20080301"
    "20080302"
    "130509"
    "00000000123456"
    "N";

TEST_F(Ecf, ReductionZListLines) {
  const std::vector<LineCase<ZList>> cases = {
      {"sample", [](ZList&) {}, 1, kZList},
      {"text fields trimmed, folded, upper-cased",
       [](ZList& z) {
         z.serial = "  be-01 ";
         z.model = "t\xE9rmica?x";
       },
       1, Patch(Patch(kZList, 4, "BE-01" + std::string(15, ' ')), 25, "TERMICA X           ")},
      {"user number keeps its last two", [](ZList& z) { z.user = "123"; }, 1,
       Patch(kZList, 45, "23")},
      {"empty user number", [](ZList& z) { z.user = ""; }, 1, Patch(kZList, 45, "00")},
      {"user number trimmed", [](ZList& z) { z.user = " 7 "; }, 1, Patch(kZList, 45, "07")},
      {"empty MF letter", [](ZList& z) { z.mf = ""; }, 1, Patch(kZList, 24, " ")},
      {"MF letter keeps the first", [](ZList& z) { z.mf = "xy"; }, 1, Patch(kZList, 24, "X")},
      {"counters keep their blanks",
       [](ZList& z) {
         z.crz = " 12";
         z.coo = "";
       },
       1, Patch(kZList, 47, "000 12000000")},
      {"day zero", [](ZList& z) { z.movement = 0; }, 1, Patch(kZList, 65, "18991230")},
      {"issue time with a date part", [](ZList& z) { z.time = k2008_03_01 + 0.75; }, 1,
       Patch(kZList, 81, "180000")},
      {"gross sales below zero rounding to zero", [](ZList& z) { z.gross = -0.004; }, 1,
       Patch(kZList, 87, "00000000000000")},
      {"largest gross sales", [](ZList& z) { z.gross = 999999999999.99; }, 1,
       Patch(kZList, 87, "99999999999999")},
      {"half a cent rounds up", [](ZList& z) { z.gross = 0.005; }, 1,
       Patch(kZList, 87, "00000000000001")},
      // Refused lines.
      // Each field is held to its width, not the line alone to its length.
      {"long counter made up by an empty flag",
       [](ZList& z) {
         z.crz = "1234567";
         z.flag = "";
       },
       0, kLayout + kZList.substr(0, 46) + "1234567" + kZList.substr(52, 48)},
      {"type with a blank made up by an empty flag",
       [](ZList& z) {
         z.type = "R02 ";
         z.flag = "";
       },
       0, kLayout + "R02 " + kZList.substr(3, 97)},
      {"long counter", [](ZList& z) { z.crz = "1234567"; }, 0,
       kLayout + kZList.substr(0, 46) + "1234567" + kZList.substr(52)},
      {"empty flag", [](ZList& z) { z.flag = ""; }, 0, kLayout + kZList.substr(0, 100)},
      {"two-character flag", [](ZList& z) { z.flag = "NS"; }, 0, kLayout + kZList + "S"},
      {"gross sales of 13 digits before the cents", [](ZList& z) { z.gross = 1e12; }, 0,
       kLayout + kZList.substr(0, 86) + "100000000000000N"},
      {"huge gross sales: digits, never an exponent", [](ZList& z) { z.gross = 1e20; }, 0,
       kLayout + kZList.substr(0, 86) + "1" + std::string(22, '0') + "N"},
      {"type with a blank", [](ZList& z) { z.type = " R02"; }, 0, kLayout + " " + kZList},
      {"short type", [](ZList& z) { z.type = "R2"; }, 0, kBadType + "R2"},
      {"empty type", [](ZList& z) { z.type = ""; }, 0, kBadType},
      {"blank serial", [](ZList& z) { z.serial = " \t "; }, 0, kBadSerial},
      {"empty serial", [](ZList& z) { z.serial = ""; }, 0, kBadSerial},
      {"blank serial before any rendering",
       [](ZList& z) {
         z.serial = "";
         z.gross = kNaN;
       },
       0, kBadSerial},
      {"type before serial",
       [](ZList& z) {
         z.serial = "";
         z.type = "R";
       },
       0, kBadType + "R"},
      {"gross sales not a number", [](ZList& z) { z.gross = kNaN; }, 0, kNotANumber},
      {"gross sales infinite", [](ZList& z) { z.gross = -kInf; }, 0, kNotANumber},
      {"issue date not a number", [](ZList& z) { z.issue = kNaN; }, 0, kNotANumber},
      {"movement date after 9999", [](ZList& z) { z.movement = 3e6; }, 0, kDateOutOfRange},
      {"issue time infinite", [](ZList& z) { z.time = kInf; }, 0, kNotANumber},
      // A line break placed as passed would split the line in the file.
      {"line feed as the flag", [](ZList& z) { z.flag = "\n"; }, 0,
       kLayout + kZList.substr(0, 100) + "\n"},
      {"carriage return in a counter", [](ZList& z) { z.cro = "2\r"; }, 0,
       kLayout + Patch(kZList, 59, "00002\r")},
      {"line feed inside the type", [](ZList& z) { z.type = "R\n2"; }, 0,
       kLayout + "R\n2" + kZList.substr(3)},
  };
  ExpectLines(cases, 101);
}

// ---- Reduction Z detail ---------------------------------------------------

struct ZDetail {
  std::string type = "R03", serial = "BE050810100000012345", mf = "", model = "PX-2100 FI EX",
              user = "1", crz = "123", totalizer = "T01";
  double value = 1234.56;

  unsigned char Call() const {
    return quorix_DetalheReducaoZ(T(type), T(serial), T(mf), T(model), T(user), T(crz),
                                  T(totalizer), value);
  }
};

const std::string kZDetail =
    "R03"
    "BE050810100000012345"
    " "
    "PX-2100 FI EX       "
    "01"
    "000123"
    "T01    "
    "0000000123456";

TEST_F(Ecf, ReductionZDetailLines) {
  const std::vector<LineCase<ZDetail>> cases = {
      {"sample", [](ZDetail&) {}, 1, kZDetail},
      {"zero", [](ZDetail& d) { d.value = 0; }, 1, Patch(kZDetail, 60, "0000000000000")},
      {"largest value", [](ZDetail& d) { d.value = 99999999999.99; }, 1,
       Patch(kZDetail, 60, "9999999999999")},
      {"rounded to cents", [](ZDetail& d) { d.value = 10.125; }, 1,
       Patch(kZDetail, 60, "0000000001013")},
      {"totaliser keeps its first 7, upper-cased", [](ZDetail& d) { d.totalizer = "abcdefghij"; },
       1, Patch(kZDetail, 53, "ABCDEFG")},
      {"MF letter and user number",
       [](ZDetail& d) {
         d.mf = "b";
         d.user = "";
       },
       1, Patch(Patch(kZDetail, 24, "B"), 45, "00")},
      // Refused.
      {"value of 14 digits", [](ZDetail& d) { d.value = 1e11; }, 0,
       kLayout + kZDetail.substr(0, 59) + "10000000000000"},
      {"long CRZ", [](ZDetail& d) { d.crz = "1234567"; }, 0,
       kLayout + kZDetail.substr(0, 46) + "1234567" + kZDetail.substr(52)},
      {"type with blanks", [](ZDetail& d) { d.type = " R03 "; }, 0,
       kLayout + " R03 " + kZDetail.substr(3)},
      {"blank serial", [](ZDetail& d) { d.serial = "  "; }, 0, kBadSerial},
      {"blank totaliser", [](ZDetail& d) { d.totalizer = "\t"; }, 0, kBadTotalizer},
      {"serial named first",
       [](ZDetail& d) {
         d.serial = "";
         d.totalizer = "";
         d.value = -1;
       },
       0, kBadSerial},
      {"totaliser before value",
       [](ZDetail& d) {
         d.totalizer = "";
         d.value = -1;
       },
       0, kBadTotalizer},
      {"a hair below zero", [](ZDetail& d) { d.value = -0.001; }, 0, kBadValue},
      {"not a number", [](ZDetail& d) { d.value = kNaN; }, 0, kBadValue},
      {"minus infinity", [](ZDetail& d) { d.value = -kInf; }, 0, kBadValue},
      {"infinity", [](ZDetail& d) { d.value = kInf; }, 0, kBadValue},
      {"value before layout",
       [](ZDetail& d) {
         d.value = -1;
         d.crz = "1234567";
       },
       0, kBadValue},
  };
  ExpectLines(cases, 72);
}

TEST_F(Ecf, ReductionZDetailRepeatsTheListsIdentification) {
  ZList z;
  z.serial = " ab\xE7-9 ";
  z.mf = "\xE3";
  z.model = "modelo longo demais para vinte";
  z.user = "4567";
  z.crz = "77";
  ZDetail d;
  d.serial = z.serial;
  d.mf = z.mf;
  d.model = z.model;
  d.user = z.user;
  d.crz = z.crz;
  ASSERT_EQ(1, z.Call()) << LastError();
  ASSERT_EQ(1, d.Call()) << LastError();
  const auto lines = FinishedLines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ("ABC-9" + std::string(15, ' ') + "A" + "MODELO LONGO DEMAIS " + "67" + "000077",
            lines[0].substr(3, 49));
  EXPECT_EQ(lines[0].substr(3, 49), lines[1].substr(3, 49));
}

TEST_F(Ecf, ReductionZListAndDetailNeedAnOpenReport) {
  qt::ExpectRefusedWithNoReport({
      {"list with a blank serial",
       [] {
         ZList z;
         z.serial = "";
         return z.Call();
       },
       kNoTaxpayer},
      {"detail with no texts and a negative value",
       [] {
         return quorix_DetalheReducaoZ(T("R03"), nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, -1);
       },
       kNoTaxpayer},
  });
}

// ---- Daily movement -------------------------------------------------------

struct Movement {
  std::string type = "E14";
  double day = k2008_03_01;
  std::string longCode = "codigo1", shortCode = "2d", first = "1", second = "22",
              serial = "BE050810100000012345", third = "333", fourChars = "abcd";
  double accounting = 1000, base = 800, rate = 18, tax = 144, exempt = 150, other = 50;

  unsigned char Call() const {
    return quorix_RelacaoMovimentoDiario(T(type), day, T(longCode), T(shortCode), T(first),
                                         T(second), T(serial), T(third), T(fourChars), accounting,
                                         base, rate, tax, exempt, other);
  }
};

const std::string kMovement =
    "E14"
    "11222333000181"
    "20080301"
    "CODIGO1   "
    "2D"
    "000001"
    "000022"
    "BE050810100000012345"
    "000333"
    "ABCD"
    "0000000100000"
    "0000000080000"
    "1800"
    "0000000014400"
    "0000000015000"
    "0000000005000";

TEST_F(Ecf, DailyMovementLines) {
  const std::vector<LineCase<Movement>> cases = {
      {"sample", [](Movement&) {}, 1, kMovement},
      {"rate with a half", [](Movement& m) { m.rate = 7.5; }, 1, Patch(kMovement, 106, "0750")},
      {"other amounts at zero",
       [](Movement& m) { m.base = m.rate = m.tax = m.exempt = m.other = 0; }, 1,
       kMovement.substr(0, 92) + std::string(56, '0')},
      {"empty codes and numbers",
       [](Movement& m) {
         m.longCode = m.shortCode = m.first = m.second = m.third = m.fourChars = "";
       },
       1,
       Patch(Patch(Patch(kMovement, 26, std::string(12, ' ') + std::string(12, '0')), 70, "000000"),
             76, "    ")},
      {"codes cut to their widths",
       [](Movement& m) {
         m.longCode = "abcdefghijkl";
         m.shortCode = "xyz";
         m.fourChars = "\xE1\xE9\xED\xF3\xFA";
       },
       1, Patch(Patch(Patch(kMovement, 26, "ABCDEFGHIJ"), 36, "XY"), 76, "AEIO")},
      {"largest accounting value", [](Movement& m) { m.accounting = 99999999999.99; }, 1,
       Patch(kMovement, 80, "9999999999999")},
      // Refused.
      {"rate of 100", [](Movement& m) { m.rate = 100; }, 0,
       kLayout + kMovement.substr(0, 105) + "10000" + kMovement.substr(109)},
      {"accounting value of 14 digits", [](Movement& m) { m.accounting = 1e11; }, 0,
       kLayout + kMovement.substr(0, 79) + "10000000000000" + kMovement.substr(92)},
      {"first number of 7", [](Movement& m) { m.first = "1234567"; }, 0,
       kLayout + kMovement.substr(0, 37) + "1234567" + kMovement.substr(43)},
      {"third number of 7", [](Movement& m) { m.third = "7654321"; }, 0,
       kLayout + kMovement.substr(0, 69) + "7654321" + kMovement.substr(75)},
      {"type with a blank", [](Movement& m) { m.type = "E14 "; }, 0,
       kLayout + "E14 " + kMovement.substr(3)},
      {"line break in a number", [](Movement& m) { m.second = "\r\n"; }, 0,
       kLayout + Patch(kMovement, 44, "0000\r\n")},
      {"long type", [](Movement& m) { m.type = "E140"; }, 0, kBadType + "E140"},
      {"blank serial", [](Movement& m) { m.serial = " "; }, 0, kBadSerial},
      {"serial before day",
       [](Movement& m) {
         m.serial = "";
         m.day = 0;
       },
       0, kBadSerial},
      {"day zero", [](Movement& m) { m.day = 0; }, 0, kBadPeriod},
      {"day before 1899-12-30", [](Movement& m) { m.day = -1; }, 0, kBadPeriod},
      {"day not a number", [](Movement& m) { m.day = kNaN; }, 0, kBadPeriod},
      {"day infinite", [](Movement& m) { m.day = kInf; }, 0, kBadPeriod},
      {"day before amounts",
       [](Movement& m) {
         m.day = 0;
         m.tax = -1;
       },
       0, kBadPeriod},
      {"day after 9999", [](Movement& m) { m.day = 3e6; }, 0, kDateOutOfRange},
  };
  ExpectLines(cases, 148);
}

TEST_F(Ecf, DailyMovementCarriesTheOpenReportsIdentification) {
  qt::CloseAnyReport();
  ASSERT_EQ(1, quorix_InicializarPAF(T(qt::kCpf), nullptr, nullptr, T("Loja")));
  ASSERT_EQ(1, Movement().Call()) << LastError();
  EXPECT_EQ((std::vector<std::string>{Patch(kMovement, 4, "00052998224725")}), FinishedLines());

  Movement m;
  m.accounting = -1;  // the taxpayer check comes before the amounts
  EXPECT_EQ(0, m.Call());
  EXPECT_EQ(kNoTaxpayer, LastError());
}

// ---- Daily movement amounts, as the user's regional settings show them -----

std::string AmountsMessage(const char* accounting, const char* base, const char* rate,
                           const char* tax, const char* exempt, const char* other) {
  return Listed(kDailyAmountsShown, {accounting, base, rate, tax, exempt, other});
}

struct AmountsCase {
  double accounting, base, rate, tax, exempt, other;
  std::string message;
};

void ExpectAmountsRefused(const std::vector<AmountsCase>& cases) {
  qt::CloseAnyReport();
  qt::OpenSampleReport();
  for (const auto& c : cases) {
    Movement m;
    m.accounting = c.accounting;
    m.base = c.base;
    m.rate = c.rate;
    m.tax = c.tax;
    m.exempt = c.exempt;
    m.other = c.other;
    m.first = "1234567";  // the amounts are refused before the layout
    EXPECT_EQ(0, m.Call()) << c.message;
    EXPECT_EQ(c.message, LastError());
  }
  qt::TempDir dir;
  const std::string file = dir.file("r.txt");
  EXPECT_EQ(1, quorix_FinalizarPAF(qt::Keys().publicKey, qt::Keys().privateKey, T(file), 0));
  EXPECT_EQ(1u, qt::ReportLines(qt::ReadFile(file)).size());  // the signature alone
}

// Each case names the refused amount: accounting zero, a negative base, a
// rate a hair below zero (shown as minus zero), then amounts that are not
// finite numbers.
TEST(RegionalPtBr, DailyMovementListsEveryAmount) {
  ExpectAmountsRefused({
      {0, 1234567.891, 18, 144, 0, 0,
       AmountsMessage("0,00", "1.234.567,89", "18,00", "144,00", "0,00", "0,00")},
      {1000, -800.5, 7.5, 0, 150, 50,
       AmountsMessage("1.000,00", "-800,50", "7,50", "0,00", "150,00", "50,00")},
      {-1, 0, -0.001, 0, 0, 0, AmountsMessage("-1,00", "0,00", "-0,00", "0,00", "0,00", "0,00")},
      {1, 0, 0, 0, -kInf, kNaN, AmountsMessage("1,00", "0,00", "0,00", "0,00", "-INF", "NAN")},
      {kInf, 0, 0, 0, 0, 0, AmountsMessage("INF", "0,00", "0,00", "0,00", "0,00", "0,00")},
  });
}

TEST(RegionalEnUs, DailyMovementListsEveryAmount) {
  ExpectAmountsRefused({
      {0, 1234567.891, 18, 144, 0, 0,
       AmountsMessage("0.00", "1,234,567.89", "18.00", "144.00", "0.00", "0.00")},
      {1000, -800.5, 7.5, 0, 150, 50,
       AmountsMessage("1,000.00", "-800.50", "7.50", "0.00", "150.00", "50.00")},
      {1, 0, 0, 0, -kInf, kNaN, AmountsMessage("1.00", "0.00", "0.00", "0.00", "-INF", "NAN")},
  });
}

TEST(RegionalC, DailyMovementListsEveryAmount) {
  ExpectAmountsRefused({
      {0, 1234567.891, 18, 144, 0, 0,
       AmountsMessage("0.00", "1234567.89", "18.00", "144.00", "0.00", "0.00")},
      {1000, -800.5, 7.5, 0, 150, 50,
       AmountsMessage("1000.00", "-800.50", "7.50", "0.00", "150.00", "50.00")},
  });
}

TEST(RegionalDeDe, DailyMovementListsEveryAmount) {
  ExpectAmountsRefused({
      {0, 1234567.891, 18, 144, 0, 0,
       AmountsMessage("0,00", "1.234.567,89", "18,00", "144,00", "0,00", "0,00")},
      {1000, -800.5, 7.5, 0, 150, 50,
       AmountsMessage("1.000,00", "-800,50", "7,50", "0,00", "150,00", "50,00")},
  });
}

}  // namespace
