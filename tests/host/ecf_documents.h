// Helpers of the ECF document tests: the lines a report holds, edits of a
// sample line, and messages with values in the running regional setting.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "builder_cases.h"
#include "expected_messages.h"
#include "regional.h"
#include "support.h"

namespace qt::ecf {

using qt::ExpectRefusals;
using qt::FinishedLines;
using qt::RefusalCase;

// One field of a sample line replaced: `width` characters from the 1-based
// `position` give way to `text`, which may be longer.
struct Edit {
  size_t position;
  size_t width;
  std::string text;
};
// Same-width replacements of fields.
inline Edit Field(size_t position, std::string text) {
  const size_t width = text.size();
  return Edit{position, width, std::move(text)};
}

// Edits refer to positions of the line as given.
inline std::string Edited(std::string line, std::vector<Edit> edits) {
  std::sort(edits.begin(), edits.end(),
            [](const Edit& a, const Edit& b) { return a.position > b.position; });
  for (const Edit& e : edits) line.replace(e.position - 1, e.width, e.text);
  return line;
}

// `pattern` with each '#' replaced by the next of the '|'-separated values,
// which are written as pt-BR shows them ("-1.234,50") and come out with the
// separators of the regional setting this process runs under.
inline std::string Regionalized(const std::string& pattern, const std::string& values) {
  const RegionalCase* regional = CurrentRegional();
  EXPECT_NE(nullptr, regional) << "value messages are tested in the Regional* suites";
  if (!regional) return {};
  std::string out;
  size_t next = 0;
  for (char c : pattern) {
    if (c != '#') {
      out.push_back(c);
      continue;
    }
    const size_t end = std::min(values.find('|', next), values.size());
    for (size_t i = next; i < end; ++i) {
      if (values[i] == '.')
        out += regional->thousand;
      else if (values[i] == ',')
        out += regional->decimal;
      else
        out.push_back(values[i]);
    }
    next = end + 1;
  }
  return out;
}

// A case accepted, or refused by the layout check, with its line made of
// the sample line with these field edits.
template <class Call>
struct LineCase {
  const char* what;
  std::function<void(Call&)> change;
  std::vector<Edit> fields;
};

// Every case is accepted; the report then holds `baseLine` with each case's
// field edits, in order.
template <class Call>
void ExpectAcceptedLines(const std::vector<LineCase<Call>>& cases, const std::string& baseLine) {
  for (const auto& c : cases) {
    Call call;
    c.change(call);
    EXPECT_EQ(1, call.Call()) << c.what << ": " << LastError();
  }
  const auto lines = FinishedLines();
  ASSERT_EQ(cases.size(), lines.size());
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(Edited(baseLine, cases[i].fields), lines[i]) << cases[i].what;
}

// Every case makes the line one of `length` characters (`baseLine` with the
// case's field edits), refused by the layout check with that line; nothing
// is appended.
template <class Call>
void ExpectLayoutRefusals(const std::vector<LineCase<Call>>& cases, const std::string& baseLine,
                          size_t length) {
  for (const auto& c : cases) {
    Call call;
    c.change(call);
    EXPECT_EQ(0, call.Call()) << c.what;
    const std::string line = Edited(baseLine, c.fields);
    ASSERT_EQ(length, line.size()) << c.what;
    EXPECT_EQ(qt::msg::kLayout + line, LastError()) << c.what;
  }
  EXPECT_TRUE(FinishedLines().empty());
}

}  // namespace qt::ecf
