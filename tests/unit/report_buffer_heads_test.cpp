// The heads the report buffer keeps beside each line: what a scan by line
// type reads instead of the lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UPAF/report_buffer.h"

namespace {

using quorix::upaf::ReportBuffer;

std::vector<std::string> Heads(const ReportBuffer& buffer) {
  std::vector<std::string> heads;
  buffer.ForEachHead([&](size_t index, ReportBuffer::Head head) {
    EXPECT_EQ(heads.size(), index);
    heads.push_back(std::string{head.first, head.second});
  });
  return heads;
}

TEST(ReportBufferHeads, ShortLinesArePaddedWithNul) {
  quorix::upaf::SpareBlocks spares;
  ReportBuffer buffer(spares);
  EXPECT_TRUE(Heads(buffer).empty());
  for (const char* line : {"", "A", "AB", "abc", "\xE9\x31 x"}) buffer.Append(line);
  EXPECT_EQ((std::vector<std::string>{std::string(2, '\0'), std::string("A\0", 2), "AB", "ab",
                                      "\xE9\x31"}),
            Heads(buffer));
}

TEST(ReportBufferHeads, EveryLineAcrossIndexChunksInOrder) {
  quorix::upaf::SpareBlocks spares;
  ReportBuffer buffer(spares);
  const size_t count = ReportBuffer::kRefsPerChunk * 2 + 3;
  std::string line = "..-line";
  for (size_t i = 0; i < count; ++i) {
    line[0] = static_cast<char>('A' + i % 26);
    line[1] = static_cast<char>('a' + i / 26 % 26);
    buffer.Append(line);
  }
  const auto heads = Heads(buffer);
  ASSERT_EQ(count, heads.size());
  for (size_t i :
       {size_t{0}, ReportBuffer::kRefsPerChunk - 1, ReportBuffer::kRefsPerChunk, count - 1}) {
    EXPECT_EQ(static_cast<char>('A' + i % 26), heads[i][0]) << i;
    EXPECT_EQ(static_cast<char>('a' + i / 26 % 26), heads[i][1]) << i;
    EXPECT_EQ(buffer.Line(i).substr(0, 2), heads[i]) << i;
  }
}

}  // namespace
