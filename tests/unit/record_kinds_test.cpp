// The record kind tables against the public header they serve: their
// parameters' kinds and names (the ones hosts and tools use), and that a
// line's length tells its record kind.
#include "UPAF/record_kinds.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "UPAF/record_prototypes.h"
#include "support.h"

namespace {

using quorix::upaf::kRecordKinds;
using quorix::upaf::RecordKind;

// The parameter names of `name`'s prototype in the header text.
std::vector<std::string> PrototypeNames(const std::string& header, std::string_view name) {
  const size_t open = header.find(std::string(name) + "(");
  if (open == std::string::npos) return {};
  const size_t close = header.find(')', open);
  std::vector<std::string> names;
  std::string current;
  for (size_t i = open + name.size() + 1; i <= close; ++i) {
    const char c = header[i];
    if (c == ',' || c == ')') {
      names.push_back(current);
      current.clear();
    } else if (c == ' ' || c == '\n' || c == '*') {
      if (!current.empty() && current.back() != ' ') current += ' ';
    } else {
      current += c;
    }
  }
  for (std::string& n : names) {  // keep the last word: the name after the type
    while (!n.empty() && n.back() == ' ') n.pop_back();
    n = n.substr(n.rfind(' ') + 1);
  }
  return names;
}

TEST(RecordKinds, TakeTheHeadersParametersAndDifferInLength) {
  const std::string header = qt::ReadFile(QUORIX_PUBLIC_HEADER);
  ASSERT_FALSE(header.empty());
  std::set<size_t> lengths;
  for (const RecordKind* kind : kRecordKinds) {
    std::vector<std::string> params;
    std::vector<quorix::upaf::ParamKind> kinds;
    for (const auto& p : kind->params) {
      params.emplace_back(p.name);
      kinds.push_back(quorix::upaf::AtTheBoundary(p.kind));
    }
    EXPECT_EQ(PrototypeNames(header, kind->exportName()), params) << kind->exportName();
    EXPECT_EQ(quorix::upaf::ExportParameterKinds(kind->id), kinds) << kind->exportName();
    EXPECT_TRUE(lengths.insert(kind->lineLength).second) << kind->exportName();
  }
  EXPECT_EQ(13u, lengths.size());
}

// The order each builder runs its steps in (the common one unless listed),
// each an order the library compiled a walk for; an order without one is
// refused where the frame is made.
TEST(RecordKinds, RunTheirStepsInTheirOrder) {
  using quorix::upaf::RecordId;
  using S = quorix::upaf::Step;
  const std::vector<S> common = {S::ClearMessage, S::CheckType, S::CheckTaxpayer, S::ChainFailures,
                                 S::OwnChecks,    S::Render,    S::CheckLength,   S::Append};
  const std::map<RecordId, std::vector<S>> differing = {
      {RecordId::Header,
       {S::CheckType, S::CheckTaxpayer, S::OwnChecks, S::Render, S::CheckLength, S::Append}},
      {RecordId::AnexoVI,
       {S::CheckType, S::CheckTaxpayer, S::LoadSoftwareHouse, S::OwnChecks, S::ChainFailures,
        S::Render, S::CheckLength, S::Append}},
      {RecordId::Totally,
       {S::CheckType, S::ChainFailures, S::OwnChecks, S::Render, S::CheckLength, S::Append}},
  };
  for (const RecordKind* kind : kRecordKinds) {
    const auto steps = kind->frame.steps();
    const auto listed = differing.find(kind->id);
    EXPECT_EQ(listed == differing.end() ? common : listed->second,
              std::vector<S>(steps.begin(), steps.end()))
        << kind->exportName();
    ASSERT_LT(kind->frame.shape(), quorix::upaf::kFrameShapeCount) << kind->exportName();
    EXPECT_EQ(quorix::upaf::FrameShape(kind->frame.shape()).Packed(), steps.Packed());
  }
  EXPECT_THROW(quorix::upaf::Frame{}.Without(S::Render), std::logic_error);
}

}  // namespace
