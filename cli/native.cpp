#include "native.h"

#include <vector>

#include "UConst/failure.h"
#include "console.h"
#include "platform/files.h"
#include "text.h"

namespace quorix::cli {

void ReadInPieces(const Path& path, const std::function<void(const std::uint8_t*, size_t)>& take) {
  InputFile file(path);
  std::vector<std::uint8_t> buf(size_t{1} << 20);
  while (const size_t n = file.Read(buf.data(), buf.size())) take(buf.data(), n);
}

std::string ReadWholeFile(const Path& path) {
  std::string bytes;
  ReadInPieces(path, [&](const std::uint8_t* p, size_t n) {
    bytes.append(reinterpret_cast<const char*>(p), n);
  });
  return bytes;
}

std::string ReadTail(const Path& path, size_t count) {
  InputFile file(path);
  const std::uint64_t size = file.Size();
  const std::uint64_t from = size > count ? size - count : 0;
  file.Seek(from);
  std::string tail(static_cast<size_t>(size - from), '\0');
  size_t got = 0;
  while (got < tail.size()) {
    const size_t n =
        file.Read(reinterpret_cast<std::uint8_t*>(tail.data()) + got, tail.size() - got);
    if (n == 0) break;
    got += n;
  }
  tail.resize(got);
  return tail;
}

// The library's own replacement: the same temporary file, lock and fault
// seam as the files it writes, so that a program of ours and a host never
// replace one file at the same time.
void WriteWholeFile(const Path& path, std::string_view bytes) {
  const std::string name = path.ForLibrary();
  try {
    platform::ReplaceFileWithBytes(name, bytes);
  } catch (const ::quorix::Failure& f) {
    throw Failure(kUsageError, Utf8FromCp1252(f.what()));
  }
}

}  // namespace quorix::cli
