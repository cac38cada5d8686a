// The field rules, tested directly: they are pure functions and their exact
// bytes are what every report line is made of.
#include "UFuncoes/field_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "UConst/failure.h"
#include "UPAF/field_kinds.h"
#include "platform/regional.h"

namespace {

using namespace quorix::rules;
using quorix::Failure;

// Days since 1899-12-30.
constexpr double k2008_03_01 = 39508;

TEST(FieldRules, Trimming) {
  EXPECT_EQ("", Trim(" \t \r\n"));
  EXPECT_EQ("a b", Trim(std::string_view("\0\x1F a b \x01", 8)));
  EXPECT_EQ("\xA0x", Trim(" \xA0x"));  // no-break space is not trimmed
  EXPECT_EQ("\x7F", Trim("\x7F"));
}

TEST(FieldRules, AlphanumericFilterAndZeroFill) {
  EXPECT_EQ("11222333000181", AlphanumericFilter("11.222.333/0001-81"));
  EXPECT_EQ("Sbrenome", AlphanumericFilter("S\xF3 bre-nome"));  // accented letters dropped
  EXPECT_EQ("1234567", ZeroFill("1234567", 6));
  EXPECT_EQ("0012", ZeroFill("12", 4));
  EXPECT_EQ("1200", ZeroFill("12", 4, Justify::Right));
  EXPECT_EQ("00 1", ZeroFill(" 1", 4));  // as passed, never trimmed
}

TEST(FieldRules, TextFieldRendering) {
  struct Case {
    std::string_view text;
    int width;
    Justify justify;
    char fill;
    std::string_view expected;
  } cases[] = {
      {"S\xE3o Jo\xE3o", 10, Justify::Left, ' ', "SAO JOAO  "},
      {"Informa\xE7\xF5"
       "es",
       12, Justify::Left, ' ', "INFORMAC ES "},
      {"Quanto?", 8, Justify::Left, ' ', "QUANTO  "},
      {"a+b=c", 5, Justify::Left, ' ', "A+B=C"},
      {"12345", 3, Justify::Left, ' ', "123"},
      {"12345", 3, Justify::Right, ' ', "345"},
      {"7", 2, Justify::Right, '0', "07"},
      {"7", 2, Justify::Right, '-', " 7"},
      {"7", 3, Justify::Left, 'x', "7XX"},  // a lower-case fill letter is upper-cased
      {"", 3, Justify::Left, ' ', "   "},
      {"  abc  ", 5, Justify::Right, '0', "00ABC"},
      {"\xA0x", 3, Justify::Left, ' ', " X "},
      {"x", 0, Justify::Left, ' ', ""},
      {"x", -3, Justify::Left, ' ', ""},
      {"\xC0\xC9\xCD\xD3\xDA\xD1\xC7\xE0\xFC\xD5\xF5\xC5\xDF\xFF\x80\x9F", 16, Justify::Left, ' ',
       "AEIOUNCAU       "},
      {"a\tb", 3, Justify::Left, ' ', "A B"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, TextField(c.text, c.width, c.justify, c.fill)) << c.text;
}

TEST(FieldRules, EveryByteOfTheTextFieldRendering) {
  // Allowed set: 32..126 but '?', upper-cased; folded letters; the rest blank.
  const std::string_view folded =
      "AAAAA  CEEEEIIII NOOO O  UUUU   AAAAA  CEEEEIIII NOOO O  UUUU   ";
  for (int b = 1; b < 256; ++b) {
    const char c = static_cast<char>(b);
    char expected = ' ';
    if (b > 32 && b <= 126 && b != '?') expected = (b >= 'a' && b <= 'z') ? char(b - 32) : c;
    if (b >= 0xC0) expected = folded[b - 0xC0];
    EXPECT_EQ(std::string(1, expected), TextField(std::string("x") + c, 2).substr(1)) << b;
    // The same byte at every place of longer texts, which are mapped a block at a
    // time (8 to 15 bytes as two overlapping halves).
    for (const size_t length : {9, 12, 15, 19})
      for (size_t at = 1; at + 1 < length; ++at) {
        std::string text(length, 'q'), want(length, 'Q');
        text[at] = c;
        want[at] = expected;
        ASSERT_EQ(want, TextField(text, static_cast<int>(length))) << b << " at " << at;
        ASSERT_EQ(want.substr(3),
                  TextField(text.substr(3), static_cast<int>(length) - 3, Justify::Right))
            << b << " at " << at << " of " << length;
      }
  }
}

// A text placed as passed is tested a word at a time for a line break.
TEST(FieldRules, LineBreakAtEveryPlaceOfATextPlacedAsPassed) {
  using quorix::upaf::kind::SingleLine;
  for (size_t length = 1; length <= 20; ++length)
    for (size_t at = 0; at < length; ++at)
      for (const char c : {'\r', '\n'}) {
        std::string text(length, 'x');
        text[at] = c;
        ASSERT_FALSE(SingleLine(text)) << length << " at " << at;
      }
  // The bytes beside CR and LF, and their values with the high bit set, are not breaks.
  const std::string_view near("\x09\x0B\x0C\x0E\x8A\x8D\x00\xFF\x2A\x2D\x1A", 11);
  for (size_t length = 0; length <= near.size(); ++length)
    EXPECT_TRUE(SingleLine(near.substr(0, length))) << length;
}

TEST(FieldRules, NumberRendering) {
  struct Case {
    double value;
    Decimals decimals;
    int width;
    std::string_view expected;
  } cases[] = {
      {1234.5, Decimals::Two, 6, "123450"},
      {-1234.5, Decimals::Two, 6, "123450"},
      {0.05, Decimals::Two, 14, "00000000000005"},
      {0, Decimals::Two, 14, "00000000000000"},
      {1234567.891, Decimals::Two, 14, "00000123456789"},
      {0.005, Decimals::Two, 14, "00000000000001"},  // 0.005 holds 0.00500000000000000010
      {1.005, Decimals::Two, 1, "100"},              // 1.005 holds 1.00499999999999989
      {2.675, Decimals::Two, 1, "267"},              // 2.67499999999999982
      {0.125, Decimals::Two, 1, "013"},              // halves away from zero
      {-0.125, Decimals::Two, 1, "013"},
      {2.25, Decimals::None, 7, "0000002"},
      {2.25, Decimals::Two, 7, "0000225"},
      {2.25, Decimals::Three, 7, "0002250"},
      {2.5, Decimals::None, 1, "3"},
      {0.0001, Decimals::Two, 7, "0000000"},
      {0.4999999, Decimals::None, 1, "0"},
      {9.995, Decimals::Two, 1, "999"},                 // 9.99499999999999922
      {99999999.995, Decimals::Two, 1, "10000000000"},  // 99999999.9950000048
      {999.9999, Decimals::Three, 1, "1000000"},
      {0.0, Decimals::Three, 1, "0000"},  // a digit before the decimals
      {1e15, Decimals::Two, 1, "100000000000000000"},
      {123456789012345678.0, Decimals::None, 1, "123456789012345680"},
      {1e20, Decimals::Two, 1, "10000000000000000000000"},
      {5e-324, Decimals::Two, 3, "000"},
      {-0.0, Decimals::Two, 3, "000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, NumberRendering(c.value, c.decimals, c.width)) << c.value;
  // Never an exponent form, whatever the size.
  const std::string big = NumberRendering(1e300, Decimals::Two, 1);
  EXPECT_EQ(303u, big.size());
  EXPECT_EQ(std::string::npos, big.find_first_not_of("0123456789"));
}

TEST(FieldRules, NonFiniteValuesNeverRender) {
  const double values[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (double v : values) {
    EXPECT_THROW(NumberRendering(v, Decimals::Two, 14), Failure);
    EXPECT_THROW(DateRendering(v), Failure);
    EXPECT_THROW(TimeRendering(v), Failure);
    EXPECT_THROW(FormatDayMonthYear(v), Failure);
  }
  EXPECT_EQ("NAN", FormatNumber(std::nan(""), Decimals::Two));
  EXPECT_EQ("-INF", FormatNumber(-std::numeric_limits<double>::infinity(), Decimals::Two));
}

TEST(FieldRules, IntegerRendering) {
  EXPECT_EQ("007", IntegerRendering(7, 3));
  EXPECT_EQ("1000", IntegerRendering(1000, 3));
  EXPECT_EQ("0-5", IntegerRendering(-5, 3));
  EXPECT_EQ("-2147483648", IntegerRendering(INT32_MIN, 6));
  EXPECT_EQ("000000", IntegerRendering(0, 6));
}

TEST(FieldRules, DateAndTimeRendering) {
  struct Case {
    double value;
    std::string_view date, time;
  } cases[] = {
      {0, "18991230", "000000"},
      {k2008_03_01, "20080301", "000000"},
      {k2008_03_01 + (13 * 3600 + 5 * 60 + 9) / 86400.0, "20080301", "130509"},
      {0.5, "18991230", "120000"},
      {-1.25, "18991229", "060000"},       // the day counts back, the time does not
      {-693593, "00010101", "000000"},     // first day of year 1
      {2958465.99, "99991231", "234536"},  // last day of year 9999
      {36526, "20000101", "000000"},
      {36585, "20000229", "000000"},      // leap day of a century leap year
      {1 - 1e-10, "18991230", "235959"},  // rounds up to 24:00:00: stays in the day
      {(86399.9994) / 86400.0, "18991230", "235959"},
      {(59.9996) / 86400.0, "18991230", "000100"},  // rounded to the millisecond first
      {(59.9994) / 86400.0, "18991230", "000059"},  // then cut to whole seconds
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.date, DateRendering(c.value)) << c.value;
    EXPECT_EQ(c.time, TimeRendering(c.value)) << c.value;
  }
  for (double outside : {-693594.0, 2958466.0, 1e18, -1e18}) {
    EXPECT_THROW(DateRendering(outside), Failure) << outside;
    EXPECT_THROW(TimeRendering(outside), Failure) << outside;
  }
}

TEST(FieldRules, CheckDigits) {
  struct Case {
    std::string_view text;
    bool valid;
  } cases[] = {
      {"11.222.333/0001-81", true},
      {"11.222.333/0001-82", false},
      {"11222333000181", true},
      {"00000000000000", true},
      {"00000000000", true},
      {"11111111111", true},
      {"529.982.247-25", true},
      {"529.982.247-24", false},
      {"529.982.247-15", false},
      {"1122233300018", false},  // 13 alphanumerics
      {"112223330001", false},   // 12
      {"", false},
      {"112223330001811", false},
      {"11222333000181x", false},
      {"A0000000000", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.valid, CheckDigitsValid(c.text)) << c.text;
}

TEST(FieldRules, FormatNumberWithOverriddenSeparators) {
  using quorix::platform::Regional;
  using quorix::platform::RegionalSettings;
  const RegionalSettings saved = Regional();
  quorix::platform::OverrideRegionalForTests({',', ".", '-'});
  EXPECT_EQ("1.234,50", FormatNumber(1234.5, Decimals::Two));
  EXPECT_EQ("-1.234.567,891", FormatNumber(-1234567.891, Decimals::Three));
  EXPECT_EQ("0,00", FormatNumber(0.001, Decimals::Two));
  EXPECT_EQ("-0,00", FormatNumber(-0.001, Decimals::Two));
  EXPECT_EQ("100", FormatNumber(99.5, Decimals::None));
  EXPECT_EQ("999", FormatNumber(999, Decimals::None));
  EXPECT_EQ("31-03-2008", FormatDayMonthYear(k2008_03_01 + 30));
  quorix::platform::OverrideRegionalForTests({'.', "", '/'});
  EXPECT_EQ("1234567.50", FormatNumber(1234567.5, Decimals::Two));
  EXPECT_EQ("30/12/1899", FormatDayMonthYear(0));
  quorix::platform::OverrideRegionalForTests(saved);
}

}  // namespace
