// The open report's lines, kept as a chunked byte arena: lines are copied into
// large blocks that never move, each followed by its CR LF, so the arena is
// already the file's bytes. Memory stays close to the bytes of the lines even
// at its peak, finishing writes the file block by block, and counting lines
// of a type is a scan over the line index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorix::platform {
class FileReplacement;
}

namespace quorix::upaf {

class ReportBuffer {
 public:
  static constexpr size_t kBlockSize = size_t{1} << 20;
  static constexpr size_t kRefsPerChunk = size_t{1} << 16;

  // Adds the line (and its CR LF) at the end. On failure nothing is added.
  void Append(std::string_view line);

  size_t LineCount() const { return lines_; }
  // Bytes of the file this buffer becomes (lines and terminators).
  size_t FileSize() const { return fileSize_; }
  // The line without its terminator.
  std::string_view Line(size_t index) const;
  // The first two bytes of a line, NUL where the line is shorter. The index
  // keeps them beside each line's position, so that counting the lines of a
  // type reads two bytes a line instead of the lines themselves.
  struct Head {
    char first, second;
  };
  // Calls visit(index, head) for every line in append order.
  template <class Visit>
  void ForEachHead(Visit&& visit) const {
    size_t index = 0;
    for (const auto& chunk : headChunks_) {
      const size_t count = lines_ - index < kRefsPerChunk ? lines_ - index : kRefsPerChunk;
      for (size_t k = 0; k < count; ++k) visit(index + k, chunk[k]);
      index += count;
    }
  }
  // Bytes held by the buffer, for the memory figures.
  size_t MemoryFootprint() const;

  // Writes the lines, each followed by CR LF, into the file.
  void WriteTo(platform::FileReplacement& file) const;

 private:
  struct Block {
    std::unique_ptr<char[]> data;
    size_t capacity = 0;
    size_t used = 0;
  };
  struct LineRef {
    uint32_t block;
    uint32_t offset;
  };
  const LineRef& Ref(size_t index) const {
    return refChunks_[index / kRefsPerChunk][index % kRefsPerChunk];
  }

  std::vector<Block> blocks_;
  std::vector<std::unique_ptr<LineRef[]>> refChunks_;
  std::vector<std::unique_ptr<Head[]>> headChunks_;  // chunked like refChunks_
  size_t lines_ = 0;
  size_t fileSize_ = 0;
};

}  // namespace quorix::upaf
