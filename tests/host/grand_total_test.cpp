// The grand-total register: the two exports with the file they leave behind
// (the general number format itself: side_file_rules_test).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "expected_messages.h"
#include "side_files_support.h"
#include "support.h"

namespace {

using namespace qt::msg;

using qt::LastError;
using qt::T;

class GrandTotal : public testing::Test {
 protected:
  std::string Plain(const std::string& file) { return qt::PlainLayout(qt::ReadFile(file)); }
  qt::TempDir dir_;
};

TEST_F(GrandTotal, UpdateThenGetKeepsEachEcfApart) {
  const std::string file = dir_.file("totals.ini");
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("BE0909SC556100001234"), 1234.56, T(file)))
      << LastError();
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("ECF-2"), 1e15, T(file)));
  ASSERT_EQ(1, quorix_UpdateTotalizadorGeralECF(T("BE0909SC556100001234"), 99.5, T(file)));
  // The decimal separator is the one of the settings this process runs with.
  const std::string plain = Plain(file);
  const std::string expected =
      "[BE0909SC556100001234]\nTOTALIZADOR GERAL=99#5\n[ECF-2]\nTOTALIZADOR GERAL=1E15\n";
  std::string withPoint = expected, withComma = expected;
  withPoint[expected.find('#')] = '.';
  withComma[expected.find('#')] = ',';
  EXPECT_TRUE(plain == withPoint || plain == withComma) << plain;
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
      {"no serial", "", file, kBadSerial},
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
      {"no serial", "", 1, file, kBadSerial},
      {"missing folder", "A", 1, noFolder,
       qt::SideFileFailure(noFolder, qt::FileFailure("criar", noFolder, qt::kNoSuchFolder))},
      {"not a number", "A", std::nan(""), file, kInvalidFile + "\r\n" + file + kNotANumber},
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
