// What the tests of the line builders share: a report open around each test,
// the values the tables use, and one runner for each shape of table.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "expected_messages.h"
#include "support.h"

namespace qt {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double k2008_03_01 = 39508;

// Each test starts with the sample taxpayer's report open and ends closed.
class OpenReport : public testing::Test {
 protected:
  void SetUp() override {
    CloseAnyReport();
    OpenSampleReport();
  }
  void TearDown() override { CloseAnyReport(); }

  TempDir dir_;
};

// A case that leaves a message sets one first, so that the builders that
// clear it at entry are seen to do so.
inline void LeaveAnOlderMessage() {
  EXPECT_EQ(0, quorix_Header(T("X")));
  ASSERT_EQ(msg::kBadType + "X", LastError());
}

// Case tables of one builder: `Call` holds the builder's sample arguments,
// each case's `change` edits them before the call.

// A call refused with exactly this message; the tests check afterwards that
// no refusal appended a line.
template <class Call>
struct RefusalCase {
  const char* what;
  std::function<void(Call&)> change;
  std::string message;
};

// Every case is refused with its own message, whatever message was left
// before it.
template <class Call, class Cases>
void ExpectRefusals(const Cases& cases) {
  for (const auto& c : cases) {
    Call call;
    c.change(call);
    LeaveAnOlderMessage();
    EXPECT_EQ(0, call.Call()) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
  }
}

// Refusals whose message shows values: only its start is the same in every
// regional setting.
template <class Call>
struct PrefixCase {
  std::function<void(Call&)> change;
  std::string prefix;
};
template <class Call>
void ExpectRefusalsStartingWith(const std::vector<PrefixCase<Call>>& cases) {
  for (const auto& p : cases) {
    Call call;
    p.change(call);
    EXPECT_EQ(0, call.Call()) << p.prefix;
    EXPECT_EQ(p.prefix, LastError().substr(0, p.prefix.size()));
  }
}

// One call made with no report open, and the message it must leave.
struct ClosedCase {
  const char* what;
  std::function<quorix_bool()> call;
  std::string message;
};
template <class Call>
quorix_bool SampleCall() {
  return Call{}.Call();
}
inline void ExpectRefusedWithNoReport(const std::vector<ClosedCase>& cases) {
  CloseAnyReport();
  for (const auto& c : cases) {
    EXPECT_EQ(0, c.call()) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
  }
}

}  // namespace qt

// The same test under each regional setting the program runs its children in.
#define QUORIX_TEST_IN_EVERY_REGIONAL(name, body) \
  TEST(RegionalPtBr, name) { body(); }            \
  TEST(RegionalEnUs, name) { body(); }            \
  TEST(RegionalC, name) { body(); }               \
  TEST(RegionalDeDe, name) { body(); }
