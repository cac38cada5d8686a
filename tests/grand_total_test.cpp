// The grand-total register: the general number format both ways, and the two
// exports with the file they leave behind.
#include "UFuncoes/grand_total.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "UConst/failure.h"
#include "platform/regional.h"
#include "side_files_support.h"
#include "support.h"

namespace {

using qt::LastError;
using qt::T;
using quorix::store::GeneralNumberFormat;
using quorix::store::ParseGeneralNumber;

const std::string kInvalidFile = "Arquivo Inv\xE1lido ";
const std::string kInvalidSerial = "N\xFAmero de Fabrica\xE7\xE3o ECF Inv\xE1lido ";

TEST(GeneralNumber, FormatsFifteenSignificantDigits) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {1234.5, "1234,5"},
      {1500, "1500"},
      {0.0001, "0,0001"},
      {0.00015, "0,00015"},
      {0.00001, "1E-5"},
      {1.5e-7, "1,5E-7"},
      {1e15, "1E15"},
      {999999999999999, "999999999999999"},
      {123456789012345.6, "123456789012346"},
      {1234567890123456789.0, "1,23456789012346E18"},
      {-12.25, "-12,25"},
      {0, "0"},
      {-0.0, "0"},
      {0.1 + 0.2, "0,3"},
      {1.0 / 3, "0,333333333333333"},
      {-2.0 / 3, "-0,666666666666667"},
      {100, "100"},
      {0.5, "0,5"},
      {1e100, "1E100"},
      {-1.25e-300, "-1,25E-300"},
      {std::numeric_limits<double>::denorm_min(), "4,94065645841247E-324"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, GeneralNumberFormat(c.value, ',')) << c.value;
  EXPECT_EQ("1234.5", GeneralNumberFormat(1234.5, '.'));
  EXPECT_EQ("1.5E-7", GeneralNumberFormat(1.5e-7, '.'));
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL})
    EXPECT_THROW(GeneralNumberFormat(bad, ','), quorix::Failure);
}

TEST(GeneralNumber, ParsesItsOwnFormAndTheUsualVariants) {
  struct Case {
    const char* text;
    bool valid;
    double value;
  } cases[] = {
      {"1234,5", true, 1234.5}, {"  -12,25  ", true, -12.25},
      {"+7", true, 7},          {"1E-5", true, 1e-5},
      {"1,5e+3", true, 1500},   {",5", true, 0.5},
      {"5,", true, 5},          {"0", true, 0},
      {"1E-400", true, 0},      {"4,94065645841247E-324", true, 4.94065645841247e-324},
      {"", false, 0},           {" ", false, 0},
      {"+", false, 0},          {",", false, 0},
      {"1,2,3", false, 0},      {"1.5", false, 0},
      {"E5", false, 0},         {"1E", false, 0},
      {"1E+", false, 0},        {"\t1", false, 0},
      {"1 2", false, 0},        {"1E400", false, 0},
      {"0x10", false, 0},       {"1,5E2,1", false, 0},
      {"--1", false, 0},
      // The text the largest totals are written as reads as the largest double.
      {"1,79769313486232E308", true, DBL_MAX},   {"-17,9769313486232e+307", true, -DBL_MAX},
      {"1,79769313486233E308", false, 0},        {"1E99999999999999999999", false, 0},
  };
  for (const auto& c : cases) {
    double value = -99;
    EXPECT_EQ(c.valid, ParseGeneralNumber(c.text, ',', value)) << c.text;
    EXPECT_EQ(c.valid ? c.value : -99, value) << c.text;
  }
  double value = 0;
  EXPECT_TRUE(ParseGeneralNumber("1.5", '.', value));
  EXPECT_EQ(1.5, value);
  EXPECT_FALSE(ParseGeneralNumber("1,5", '.', value));
  // What is written reads back to the same 15 digits.
  for (double v : {1234.56, -0.001, 1e-20, 98765432109876.5, 3.0e200, DBL_MAX, -DBL_MAX}) {
    ASSERT_TRUE(ParseGeneralNumber(GeneralNumberFormat(v, ','), ',', value)) << v;
    EXPECT_EQ(GeneralNumberFormat(v, ','), GeneralNumberFormat(value, ','));
  }
}

class GrandTotal : public testing::Test {
 protected:
  std::string Plain(const std::string& file) { return qt::PlainLayout(qt::ReadFile(file)); }
  // The text the register holds for a value, under the settings this process runs with.
  static std::string Stored(double value) {
    return GeneralNumberFormat(value, quorix::platform::Regional().decimalSeparator);
  }
  qt::TempDir dir_;
};

TEST_F(GrandTotal, UpdateThenGetKeepsEachEcfApart) {
  const std::string file = dir_.file("totals.ini");
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("BE0909SC556100001234"), 1234.56, T(file)))
      << LastError();
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("ECF-2"), 1e15, T(file)));
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("BE0909SC556100001234"), 99.5, T(file)));
  EXPECT_EQ("[BE0909SC556100001234]\nTOTALIZADOR GERAL=" + Stored(99.5) +
                "\n[ECF-2]\nTOTALIZADOR GERAL=1E15\n",
            Plain(file));
  struct Case {
    const char* serial;
    double total;
  } cases[] = {{"BE0909SC556100001234", 99.5}, {"ECF-2", 1e15}};
  for (const auto& c : cases) {
    double total = -1;
    EXPECT_EQ(1, quorix_GetInfoTotalizadorECF(T(c.serial), &total, T(file))) << LastError();
    EXPECT_EQ(c.total, total) << c.serial;
  }
}

TEST_F(GrandTotal, AnUnknownEcfReadsAsZeroAndIsStored) {
  const std::string file = dir_.file("totals.ini");
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("A"), 10, T(file)));
  double total = -1;
  EXPECT_EQ(1, quorix_GetInfoTotalizadorECF(T(" new ecf "), &total, T(file)));
  EXPECT_EQ(0.0, total);
  EXPECT_EQ("[A]\nTOTALIZADOR GERAL=10\n[ new ecf ]\nTOTALIZADOR GERAL=0\n", Plain(file));
  // A null variable: the value goes nowhere.
  EXPECT_EQ(1, quorix_GetInfoTotalizadorECF(T("A"), nullptr, T(file)));
}

TEST_F(GrandTotal, ChecksComeInOrderAndLeaveTheTotalAlone) {
  const std::string missing = dir_.file("missing.ini");
  const std::string file = dir_.file("totals.ini");
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("A"), 10, T(file)));
  struct Case {
    const char* what;
    const char* serial;
    std::string path;
    std::string message;
  } cases[] = {
      {"no file name and no serial", "", "", kInvalidFile},
      {"no serial", "", file, kInvalidSerial},
      {"no such file", "A", missing, kInvalidFile + missing},
  };
  for (const auto& c : cases) {
    double total = 42;
    EXPECT_EQ(0, quorix_GetInfoTotalizadorECF(T(c.serial), &total, T(c.path))) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
    EXPECT_EQ(42, total) << c.what;
  }
  EXPECT_FALSE(qt::Exists(missing));
  const std::string noFolder = dir_.file("no-folder/t.ini");
  struct UpdateCase {
    const char* what;
    const char* serial;
    double total;
    std::string path;
    std::string message;
  } updates[] = {
      {"no file name and no serial", "", 1, "", kInvalidFile},
      {"no serial", "", 1, file, kInvalidSerial},
      {"missing folder", "A", 1, noFolder,
       kInvalidFile + "\r\n" + noFolder + "\r\nUnable to write to " + noFolder + "\r\n" +
           qt::FileFailure("criar", noFolder, qt::kNoSuchFolder)},
      {"not a number", "A", std::nan(""), file,
       kInvalidFile + "\r\n" + file +
           "\r\nValor num\xE9rico inv\xE1lido (n\xE3o \xE9 um n\xFAmero finito)"},
      {"a serial the file would alter", "\xE8", 1, file,
       kInvalidFile + "\r\n" + file + "\r\n" + qt::Unstorable("se\xE7\xE3o \xE8", 1, 232)},
  };
  for (const auto& c : updates) {
    EXPECT_EQ(0, quorix_UpdateTotalizadorGeralECF(T(c.serial), c.total, T(c.path))) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
  }
  EXPECT_EQ("[A]\nTOTALIZADOR GERAL=10\n", Plain(file));
  EXPECT_FALSE(qt::Exists(noFolder));
}

TEST_F(GrandTotal, WhatCannotBeReadFailsAndZeroesTheTotal) {
  const std::string file = dir_.file("odd.ini");
  qt::WriteFile(file, qt::ScrambledLayout("[EMPTY]\nTOTALIZADOR GERAL=\n"
                                          "[WORDS]\nTOTALIZADOR GERAL=mil reais\n"));
  const std::string prefix = kInvalidFile + "\r\n" + file + "\r\n";
  struct Case {
    const char* serial;
    std::string message;
  } cases[] = {
      {"EMPTY", prefix + "'' is not a valid floating point value"},
      {"WORDS", prefix + "'mil reais' is not a valid floating point value"},
      {"\xE8", prefix + qt::Unstorable("se\xE7\xE3o \xE8", 1, 232)},
  };
  for (const auto& c : cases) {
    double total = 42;
    EXPECT_EQ(0, quorix_GetInfoTotalizadorECF(T(c.serial), &total, T(file))) << c.serial;
    EXPECT_EQ(c.message, LastError()) << c.serial;
    EXPECT_EQ(0.0, total) << c.serial;
  }
}

TEST_F(GrandTotal, SuccessLeavesTheLastErrorMessageInPlace) {
  const std::string file = dir_.file("t.ini");
  EXPECT_EQ(0, quorix_Header(T("X")));
  const std::string message = LastError();
  double total = 0;
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("A"), 1, T(file)));
  ASSERT_EQ(1, quorix_GetInfoTotalizadorECF(T("A"), &total, T(file)));
  EXPECT_EQ(message, LastError());
}

// Each regional setting's decimal separator, in the file and on reading.
void ExpectStoredAs(double value, const std::string& text) {
  qt::TempDir dir;
  const std::string file = dir.file("regional.ini");
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("ECF"), value, T(file))) << LastError();
  EXPECT_EQ("[ECF]\nTOTALIZADOR GERAL=" + text + "\n", qt::PlainLayout(qt::ReadFile(file)));
  double total = 0;
  ASSERT_EQ(1, quorix_GetInfoTotalizadorECF(T("ECF"), &total, T(file))) << LastError();
  EXPECT_EQ(value, total);
}

// A total written under the other separator does not read.
void ExpectUnreadable(const std::string& text) {
  qt::TempDir dir;
  const std::string file = dir.file("other.ini");
  qt::WriteFile(file, qt::ScrambledLayout("[ECF]\nTOTALIZADOR GERAL=" + text + "\n"));
  double total = 42;
  EXPECT_EQ(0, quorix_GetInfoTotalizadorECF(T("ECF"), &total, T(file)));
  EXPECT_EQ(kInvalidFile + "\r\n" + file + "\r\n'" + text + "' is not a valid floating point value",
            LastError());
  EXPECT_EQ(0.0, total);
}

TEST(RegionalPtBr, GrandTotalsUseTheDecimalComma) {
  ExpectStoredAs(1234.5, "1234,5");
  ExpectStoredAs(-0.00025, "-0,00025");
  ExpectUnreadable("1234.5");
}

TEST(RegionalDeDe, GrandTotalsUseTheDecimalComma) {
  ExpectStoredAs(1234.5, "1234,5");
  ExpectUnreadable("1.234,5");
}

TEST(RegionalEnUs, GrandTotalsUseTheDecimalPoint) {
  ExpectStoredAs(1234.5, "1234.5");
  ExpectStoredAs(1.5e-7, "1.5E-7");
  ExpectUnreadable("1234,5");
}

TEST(RegionalC, GrandTotalsUseTheDecimalPoint) {
  ExpectStoredAs(1234.5, "1234.5");
  ExpectUnreadable("1,234.5");
}

}  // namespace
