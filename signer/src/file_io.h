// A file handle reduced to what signing needs: read sequentially, then
// append through the same handle, so the bytes appended follow exactly the
// bytes that were hashed.
#ifndef SIGN_BEMA_FILE_IO_H
#define SIGN_BEMA_FILE_IO_H

#include <cstddef>
#include <cstdint>

namespace sign_bema {

class File {
 public:
  enum class Access { Read, ReadAppend };

  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Never creates the file.
  bool open(const char* path, Access access);
  // Bytes read, 0 at the end of the file, -1 on error.
  long long read(std::uint8_t* buf, std::size_t len);
  // Appends all of data and flushes it to the device. On failure the file
  // is cut back to old_size so that no partial line is left behind.
  bool append(const std::uint8_t* data, std::size_t len, std::uint64_t old_size);

 private:
  void close();
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace sign_bema

#endif
