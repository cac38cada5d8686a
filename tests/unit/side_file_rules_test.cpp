// The rules under the side files: the general number format of the
// grand-total register both ways, and the software-house data in memory.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "UConst/failure.h"
#include "UFuncoes/grand_total.h"
#include "UFuncoes/software_house.h"
#include "UPAF/process_state.h"
#include "side_files_support.h"
#include "support.h"
#include "unit_support.h"

namespace {

namespace store = quorix::store;
using quorix::store::GeneralNumberFormat;
using quorix::store::ParseGeneralNumber;

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
      {"1234,5", true, 1234.5},
      {"  -12,25  ", true, -12.25},
      {"+7", true, 7},
      {"1E-5", true, 1e-5},
      {"1,5e+3", true, 1500},
      {",5", true, 0.5},
      {"5,", true, 5},
      {"0", true, 0},
      {"1E-400", true, 0},
      {"4,94065645841247E-324", true, 4.94065645841247e-324},
      {"", false, 0},
      {" ", false, 0},
      {"+", false, 0},
      {",", false, 0},
      {"1,2,3", false, 0},
      {"1.5", false, 0},
      {"E5", false, 0},
      {"1E", false, 0},
      {"1E+", false, 0},
      {"\t1", false, 0},
      {"1 2", false, 0},
      {"1E400", false, 0},
      {"0x10", false, 0},
      {"1,5E2,1", false, 0},
      {"--1", false, 0},
      // The text the largest totals are written as reads as the largest double.
      {"1,79769313486232E308", true, DBL_MAX},
      {"-17,9769313486232e+307", true, -DBL_MAX},
      {"1,79769313486233E308", false, 0},
      {"1E99999999999999999999", false, 0},
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

// The software-house data the library keeps between loading and finishing.
TEST(SoftwareHouseData, LoadingClearsFirstAndFinishingAReportEmptiesThem) {
  qt::TempDir dir;
  const std::string file = dir.file("house.ini");
  ASSERT_TRUE(qt::unit::WriteHouseFile(qt::SampleHouse(), file));
  store::SoftwareHouseData& house = quorix::upaf::Process().softwareHouse;
  ASSERT_TRUE(store::LoadSoftwareHouseData(house, file));
  EXPECT_EQ("Software House Exemplo Ltda", house.texts[store::kShCompanyName]);
  EXPECT_EQ(2u, house.auxFiles.size());

  EXPECT_FALSE(store::LoadSoftwareHouseData(house, dir.file("none.ini")));
  EXPECT_EQ("", house.texts[store::kShCompanyName]);
  EXPECT_TRUE(house.auxFiles.empty());

  ASSERT_TRUE(store::LoadSoftwareHouseData(house, file));
  quorix::upaf::CloseReport(false);
  for (int i = 0; i < store::kShReportNumber; ++i) EXPECT_EQ("", house.texts[i]) << i;
  EXPECT_TRUE(house.auxFiles.empty());
  EXPECT_TRUE(house.auxFilesMd5.empty());
}

}  // namespace
