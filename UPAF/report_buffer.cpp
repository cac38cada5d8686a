#include "UPAF/report_buffer.h"

#include <cstring>

#include "platform/files.h"

namespace quorix::upaf {

void ReportBuffer::Append(std::string_view line) {
  const size_t need = line.size() + 2;
  // Every allocation happens before anything changes, so a failure leaves
  // the buffer as it was.
  if (lines_ == refChunks_.size() * kRefsPerChunk) {
    refChunks_.reserve(refChunks_.size() + 1);
    headChunks_.reserve(headChunks_.size() + 1);
    auto refs = std::make_unique<LineRef[]>(kRefsPerChunk);
    auto heads = std::make_unique<Head[]>(kRefsPerChunk);
    refChunks_.push_back(std::move(refs));
    headChunks_.push_back(std::move(heads));
  }
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < need) {
    // A line never spans two blocks; a line larger than a block gets its own.
    const size_t capacity = need > kBlockSize ? need : kBlockSize;
    blocks_.reserve(blocks_.size() + 1);
    Block block;
    block.data.reset(new char[capacity]);
    block.capacity = capacity;
    blocks_.push_back(std::move(block));
  }
  Block& block = blocks_.back();
  char* at = block.data.get() + block.used;
  std::memcpy(at, line.data(), line.size());
  at[line.size()] = '\r';
  at[line.size() + 1] = '\n';
  refChunks_[lines_ / kRefsPerChunk][lines_ % kRefsPerChunk] = {
      static_cast<uint32_t>(blocks_.size() - 1), static_cast<uint32_t>(block.used)};
  headChunks_[lines_ / kRefsPerChunk][lines_ % kRefsPerChunk] = {
      line.size() > 0 ? line[0] : '\0', line.size() > 1 ? line[1] : '\0'};
  block.used += need;
  fileSize_ += need;
  ++lines_;
}

std::string_view ReportBuffer::Line(size_t index) const {
  const LineRef& ref = Ref(index);
  const Block& block = blocks_[ref.block];
  size_t end = block.used;
  if (index + 1 < lines_) {
    const LineRef& next = Ref(index + 1);
    if (next.block == ref.block) end = next.offset;
  }
  return std::string_view(block.data.get() + ref.offset, end - ref.offset - 2);
}

size_t ReportBuffer::MemoryFootprint() const {
  size_t total = sizeof(*this) + blocks_.capacity() * sizeof(Block) +
                 refChunks_.capacity() * sizeof(refChunks_[0]) +
                 refChunks_.size() * kRefsPerChunk * sizeof(LineRef) +
                 headChunks_.capacity() * sizeof(headChunks_[0]) +
                 headChunks_.size() * kRefsPerChunk * sizeof(Head);
  for (const Block& b : blocks_) total += b.capacity;
  return total;
}

void ReportBuffer::WriteTo(platform::FileReplacement& file) const {
  for (const Block& b : blocks_)
    if (b.used) file.Write(b.data.get(), b.used);
}

}  // namespace quorix::upaf
