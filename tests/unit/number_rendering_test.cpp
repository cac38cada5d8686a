// Number rendering: the value's decimal expansion to 18 significant digits,
// rounded half away from zero at the last decimal. Known answers: ties, the
// decimal fractions binary holds just below or above their tie, and every
// magnitude a line can hold.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "UConst/failure.h"
#include "UFuncoes/field_rules.h"

namespace {

using quorix::rules::Decimals;
using quorix::rules::NumberRendering;

TEST(NumberRendering, KnownAnswers) {
  const struct Case {
    double value;
    std::string none, two, three;
  } cases[] = {
      // Exact ties go away from zero.
      {0.125, "0", "013", "0125"},
      {0.5, "1", "050", "0500"},
      {-2.5, "3", "250", "2500"},
      {4503599627370495.5, "4503599627370496", "450359962737049550", "4503599627370495500"},
      // Held below the tie: 1.005 is 1.00499999999999989...
      {1.005, "1", "100", "1005"},
      {2.675, "3", "267", "2675"},
      {0.285, "0", "028", "0285"},
      {1.0005, "1", "100", "1000"},
      {8.325, "8", "832", "8325"},
      {0.045, "0", "004", "0045"},
      {9.995, "10", "999", "9995"},
      {999999999999.995, "1000000000000", "99999999999999", "999999999999995"},
      // Held above it.
      {0.135, "0", "014", "0135"},
      {0.0005, "0", "000", "0001"},
      {0.0015, "0", "000", "0002"},
      {1234.5675, "1235", "123457", "1234568"},
      {99.995, "100", "10000", "99995"},
      {123456789012.3456, "123456789012", "12345678901235", "123456789012346"},
      // Below every decimal.
      {1e-7, "0", "000", "0000"},
      {std::numeric_limits<double>::denorm_min(), "0", "000", "0000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.none, NumberRendering(c.value, Decimals::None, 1)) << c.value;
    EXPECT_EQ(c.two, NumberRendering(c.value, Decimals::Two, 1)) << c.value;
    EXPECT_EQ(c.three, NumberRendering(c.value, Decimals::Three, 1)) << c.value;
  }
}

TEST(NumberRendering, WidthAndLeastDigits) {
  const struct Case {
    double value;
    Decimals decimals;
    int width;
    std::string expected;
  } cases[] = {
      {101.25, Decimals::Two, 14, "00000000010125"},
      {101.25, Decimals::Two, 3, "10125"},  // never cut
      {0.07, Decimals::Three, 2, "0070"},   // one digit before the decimals
      {0.4, Decimals::None, 0, "0"},
      {0.6, Decimals::None, -5, "1"},
      {-7.5, Decimals::None, 3, "008"},
      {4503599627370495.0, Decimals::None, 1, "4503599627370495"},
      {45035996273704.96, Decimals::Two, 1, "4503599627370496"},
      {1e20, Decimals::Three, 1, "1" + std::string(23, '0')},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, NumberRendering(c.value, c.decimals, c.width)) << c.value;
}

TEST(SignedAmountRule, SignStaysInsideTheWidth) {
  using quorix::rules::SignedAmountRendering;
  struct Case {
    double value;
    int width;
    std::string rendered;
  } cases[] = {
      {0, 9, "000000000"},          {-0.0, 9, "000000000"},      {12.5, 9, "000001250"},
      {-12.5, 9, "-00001250"},      {-0.001, 9, "-00000000"},    {-1234.5, 4, "-123450"},
      {-999999.99, 9, "-99999999"}, {-1000000, 9, "-100000000"}, {0.005, 1, "001"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.rendered, SignedAmountRendering(c.value, c.width)) << c.value;
  EXPECT_THROW(SignedAmountRendering(std::nan(""), 9), quorix::Failure);
  EXPECT_THROW(SignedAmountRendering(-std::numeric_limits<double>::infinity(), 9), quorix::Failure);
}

}  // namespace
