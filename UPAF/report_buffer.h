// The open report's lines, kept as a chunked byte arena: lines are written into
// large blocks that never move, each followed by its CR LF, so the arena is
// already the file's bytes. Memory stays close to the bytes of the lines even
// at its peak, finishing writes the file block by block, and counting lines
// of a type is a scan over the line index.
//
// Blocks come from the system (platform/memory.h) and go back to the process's
// store of spare blocks when the buffer ends, up to SpareBlocks::kBytesLimit: the next
// report of the process then writes into memory that is already mapped, and
// pays neither the page faults nor the zeroing of fresh pages again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorix::platform {
class FileReplacement;
}

namespace quorix::upaf {

// A multiple of the large page size, so that large pages can back a block.
inline constexpr size_t kReportBlockSize = size_t{2} << 20;

// Blocks of ended buffers, ready for the next report; freed when it ends.
class SpareBlocks {
 public:
  // Memory kept for the next report after a buffer ends.
  static constexpr size_t kBytesLimit = size_t{256} << 20;

  SpareBlocks() = default;
  ~SpareBlocks() { FreeAll(); }
  SpareBlocks(const SpareBlocks&) = delete;
  SpareBlocks& operator=(const SpareBlocks&) = delete;

  // A spare block, or a new one from the system.
  char* Take();
  // Keeps the block for the next Take, or frees it above the limit.
  void Give(char* block) noexcept;
  void FreeAll() noexcept;
  size_t Count() const { return blocks_.size(); }

 private:
  std::vector<char*> blocks_;
};

class ReportBuffer {
 public:
  static constexpr size_t kBlockSize = kReportBlockSize;

  // The first two bytes of a line, NUL where the line is shorter. The index
  // keeps them beside each line's position, so that counting the lines of a
  // type reads two bytes a line instead of the lines themselves.
  struct Head {
    char first, second;
  };

 private:
  struct LineRef {
    uint32_t block;
    uint32_t offset;
  };

 public:
  // Index entries per index block: positions first, then the heads.
  static constexpr size_t kRefsPerChunk = kBlockSize / (sizeof(LineRef) + sizeof(Head));

  // Blocks come from `spares` and go back to it: it must outlive the buffer.
  explicit ReportBuffer(SpareBlocks& spares) : spares_(spares) {}
  ~ReportBuffer();
  ReportBuffer(const ReportBuffer&) = delete;
  ReportBuffer& operator=(const ReportBuffer&) = delete;

  // Adds the line (and its CR LF) at the end. On failure nothing is added.
  void Append(std::string_view line);

  // For writing a line in place: room for `size` bytes at the end (and the
  // CR LF after them), valid until the next call on the buffer. Nothing is
  // added until Commit; on failure nothing changes.
  // Inline with the place of the next line kept: every report line comes
  // through both.
  char* Tail(size_t size) {
    if (refsLeft_ != 0 && size + 2 <= blockLeft_) return blockEnd_;
    return Grow(size);
  }
  // Keeps the `size` bytes written at Tail(size or more) as the next line.
  void Commit(size_t size) {
    char* const at = blockEnd_;
    at[size] = '\r';
    at[size + 1] = '\n';
    Block& block = blocks_.back();
    *nextRef_++ = {blockNumber_, static_cast<uint32_t>(block.used)};
    *nextHead_++ = {size > 0 ? at[0] : '\0', size > 1 ? at[1] : '\0'};
    --refsLeft_;
    block.used += size + 2;
    blockEnd_ += size + 2;
    blockLeft_ -= size + 2;
    fileSize_ += size + 2;
    ++lines_;
  }

  size_t LineCount() const { return lines_; }
  // Bytes of the file this buffer becomes (lines and terminators).
  size_t FileSize() const { return fileSize_; }
  // The line without its terminator.
  std::string_view Line(size_t index) const;
  // Calls visit(index, head) for every line in append order.
  template <class Visit>
  void ForEachHead(Visit&& visit) const {
    size_t index = 0;
    for (const IndexChunk& chunk : index_) {
      const size_t count = lines_ - index < kRefsPerChunk ? lines_ - index : kRefsPerChunk;
      for (size_t k = 0; k < count; ++k) visit(index + k, chunk.heads[k]);
      index += count;
    }
  }
  // Bytes held by the buffer, for the memory figures.
  size_t MemoryFootprint() const;

  // Writes the lines, each followed by CR LF, into the file.
  void WriteTo(platform::FileReplacement& file) const;

 private:
  struct Block {
    char* data;
    size_t capacity;
    size_t used;
  };
  struct IndexChunk {
    char* memory;
    LineRef* refs;
    Head* heads;
  };
  const LineRef& Ref(size_t index) const {
    return index_[index / kRefsPerChunk].refs[index % kRefsPerChunk];
  }

  // Tail when the last index chunk or block has no room left.
  char* Grow(size_t size);

  SpareBlocks& spares_;
  std::vector<Block> blocks_;
  std::vector<IndexChunk> index_;
  size_t lines_ = 0;
  size_t fileSize_ = 0;
  // Where the next line goes: its index entries and its bytes.
  LineRef* nextRef_ = nullptr;
  Head* nextHead_ = nullptr;
  size_t refsLeft_ = 0;
  char* blockEnd_ = nullptr;
  size_t blockLeft_ = 0;
  uint32_t blockNumber_ = 0;
};

}  // namespace quorix::upaf
