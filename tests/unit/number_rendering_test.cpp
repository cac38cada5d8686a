// Number rendering against an independent reading of the rule: the value's
// decimal expansion to 18 significant digits, rounded half away from zero at
// the last decimal. Ties, near-ties and every magnitude a line can hold.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "UConst/failure.h"
#include "UFuncoes/field_rules.h"

namespace {

using quorix::rules::Decimals;
using quorix::rules::NumberRendering;

// The digits of round(|value| * 10^decimals) from the 18-digit expansion.
std::string Reference(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17e", std::fabs(value));
  std::string digits(1, buf[0]);
  digits.append(buf + 2, 17);
  const int exponent = std::atoi(buf + 20);
  // digits[i] has the weight 10^(exponent - i); keep down to 10^-decimals.
  const int keep = exponent + decimals + 1;
  std::string kept;
  bool up = false;
  if (keep <= 0) {
    up = keep == 0 && digits[0] >= '5';
  } else {
    kept = keep >= 18 ? digits + std::string(keep - 18, '0') : digits.substr(0, keep);
    up = keep < 18 && digits[keep] >= '5';
  }
  if (kept.empty()) kept = "0";
  if (up) {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[i] == '9') kept[i--] = '0';
    if (i < 0)
      kept.insert(kept.begin(), '1');
    else
      ++kept[i];
  }
  const size_t first = kept.find_first_not_of('0');
  kept = first == std::string::npos ? "0" : kept.substr(first);
  if (kept.size() < static_cast<size_t>(decimals) + 1)
    kept.insert(0, decimals + 1 - kept.size(), '0');
  return kept;
}

TEST(NumberRendering, AgreesWithTheDecimalExpansion) {
  std::mt19937_64 random(20080301);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-6, 17);
  std::uniform_int_distribution<int64_t> cents(0, 99999999999);
  std::vector<double> values;
  for (int i = 0; i < 20000; ++i) {
    values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    // Ties and near-ties of the three formats as a host's arithmetic makes them.
    const double tie = (static_cast<double>(cents(random)) + 0.5) / 1000.0;
    values.push_back(tie);
    values.push_back(std::nextafter(tie, 0.0));
    values.push_back(std::nextafter(tie, 1e300));
    values.push_back(static_cast<double>(cents(random)) / 100.0);
    values.push_back(-static_cast<double>(cents(random) % 100000) * 0.001 * 3.0);
  }
  int mismatches = 0;
  for (double v : values) {
    for (Decimals d : {Decimals::None, Decimals::Two, Decimals::Three}) {
      const std::string expected = Reference(v, static_cast<int>(d));
      const std::string actual = NumberRendering(v, d, 1);
      if (expected != actual && ++mismatches <= 10)
        ADD_FAILURE() << std::hexfloat << v << std::defaultfloat << " (" << v << ") with "
                      << static_cast<int>(d) << " decimals: " << actual << ", not " << expected;
    }
  }
  EXPECT_EQ(0, mismatches);
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
