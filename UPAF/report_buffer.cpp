#include "UPAF/report_buffer.h"

#include <cstring>
#include <new>

#include "platform/files.h"
#include "platform/memory.h"

namespace quorix::upaf {

char* SpareBlocks::Take() {
  if (blocks_.empty()) return static_cast<char*>(platform::AllocateBlock(kReportBlockSize));
  char* b = blocks_.back();
  blocks_.pop_back();
  return b;
}

void SpareBlocks::Give(char* block) noexcept {
  try {
    if ((blocks_.size() + 1) * kReportBlockSize <= kBytesLimit) {
      blocks_.push_back(block);
      return;
    }
  } catch (...) {
  }
  platform::FreeBlock(block, kReportBlockSize);
}

void SpareBlocks::FreeAll() noexcept {
  for (char* b : blocks_) platform::FreeBlock(b, kReportBlockSize);
  std::vector<char*>().swap(blocks_);
}

ReportBuffer::~ReportBuffer() {
  for (const IndexChunk& chunk : index_) spares_.Give(chunk.memory);
  for (const Block& b : blocks_) {
    if (b.capacity == kBlockSize)
      spares_.Give(b.data);
    else
      platform::FreeBlock(b.data, b.capacity);
  }
}

char* ReportBuffer::Grow(size_t size) {
  const size_t need = size + 2;
  // Every allocation happens before anything changes, so a failure leaves
  // the buffer as it was.
  if (refsLeft_ == 0) {
    index_.reserve(index_.size() + 1);
    char* memory = spares_.Take();
    index_.push_back({memory, reinterpret_cast<LineRef*>(memory),
                      reinterpret_cast<Head*>(memory + kRefsPerChunk * sizeof(LineRef))});
    nextRef_ = index_.back().refs;
    nextHead_ = index_.back().heads;
    refsLeft_ = kRefsPerChunk;
  }
  if (blocks_.empty() || blockLeft_ < need) {
    // A line never spans two blocks; a line larger than a block gets its own.
    blocks_.reserve(blocks_.size() + 1);
    if (need > kBlockSize) {
      blocks_.push_back({static_cast<char*>(platform::AllocateBlock(need)), need, 0});
    } else {
      blocks_.push_back({spares_.Take(), kBlockSize, 0});
    }
    Block& block = blocks_.back();
    blockEnd_ = block.data;
    blockLeft_ = block.capacity;
    blockNumber_ = static_cast<uint32_t>(blocks_.size() - 1);
  }
  return blockEnd_;
}

void ReportBuffer::Append(std::string_view line) {
  char* at = Tail(line.size());
  if (!line.empty()) std::memcpy(at, line.data(), line.size());
  Commit(line.size());
}

std::string_view ReportBuffer::Line(size_t index) const {
  const LineRef& ref = Ref(index);
  const Block& block = blocks_[ref.block];
  size_t end = block.used;
  if (index + 1 < lines_) {
    const LineRef& next = Ref(index + 1);
    if (next.block == ref.block) end = next.offset;
  }
  return std::string_view(block.data + ref.offset, end - ref.offset - 2);
}

size_t ReportBuffer::MemoryFootprint() const {
  size_t total = sizeof(*this) + blocks_.capacity() * sizeof(Block) +
                 index_.capacity() * sizeof(IndexChunk) + index_.size() * kBlockSize;
  for (const Block& b : blocks_) total += b.capacity;
  return total;
}

void ReportBuffer::WriteTo(platform::FileReplacement& file) const {
  for (const Block& b : blocks_)
    if (b.used) file.Write(b.data, b.used);
}

}  // namespace quorix::upaf
