// Each suite runs in a child process started under its regional setting
// (see main.cpp): the library must have read exactly that setting at load.
#include "platform/regional.h"

#include <gtest/gtest.h>

#include "UFuncoes/field_rules.h"
#include "regional.h"

namespace {

using quorix::rules::Decimals;
using quorix::rules::FormatNumber;

void ExpectSettingsOfTheSuite() {
  const qt::RegionalCase* c = qt::CurrentRegional();
  ASSERT_NE(nullptr, c) << "run through main(), which sets the regional setting up";
  const auto& r = quorix::platform::Regional();
  EXPECT_EQ(std::string(c->decimal), std::string(1, r.decimalSeparator))
      << "is the locale " << c->posixLocale << " installed?";
  EXPECT_EQ(std::string(c->thousand), r.thousandSeparator);
  EXPECT_EQ(std::string(c->date), std::string(1, r.dateSeparator));
}

TEST(RegionalPtBr, SeparatorsAndFormats) {
  ExpectSettingsOfTheSuite();
  EXPECT_EQ("-1.234.567,89", FormatNumber(-1234567.891, Decimals::Two));
  EXPECT_EQ("31/03/2008", quorix::rules::FormatDayMonthYear(39538));
}

TEST(RegionalEnUs, SeparatorsAndFormats) {
  ExpectSettingsOfTheSuite();
  EXPECT_EQ("-1,234,567.89", FormatNumber(-1234567.891, Decimals::Two));
  EXPECT_EQ("31/03/2008", quorix::rules::FormatDayMonthYear(39538));
}

TEST(RegionalC, SeparatorsAndFormats) {
  ExpectSettingsOfTheSuite();
  EXPECT_EQ("-1234567.89", FormatNumber(-1234567.891, Decimals::Two));
}

TEST(RegionalDeDe, SeparatorsAndFormats) {
  ExpectSettingsOfTheSuite();
  EXPECT_EQ("1.000,000", FormatNumber(999.9999, Decimals::Three));
  EXPECT_EQ("31.03.2008", quorix::rules::FormatDayMonthYear(39538));
}

}  // namespace
