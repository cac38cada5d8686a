#include "platform/files.h"

#include <chrono>
#include <thread>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"

namespace quorix::platform {
namespace {

// Where the folder part of a system path ends (0 for a bare name).
size_t FolderEnd(const std::string& path) {
#if defined(_WIN32)
  const size_t at = path.find_last_of("\\/:");
#else
  const size_t at = path.rfind('/');
#endif
  return at == std::string::npos ? 0 : at + 1;
}

// Windows names one file by names that differ in letter case.
char FoldForTag(char c) {
#if defined(_WIN32)
  const unsigned char b = static_cast<unsigned char>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
    return static_cast<char>(b - 0x20);
#endif
  return c;
}

std::string BesideTarget(const std::string& target, std::string_view extension) {
  const size_t folder = FolderEnd(target);
  std::string path = target.substr(0, folder);
  path += ".quorix-";
  path += NameTag(std::string_view(target).substr(folder));
  path += extension;
  return path;
}

}  // namespace

std::string NameTag(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(FoldForTag(c));
    hash *= 16777619u;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string tag(8, '0');
  for (int i = 7; i >= 0; --i, hash >>= 4) tag[static_cast<size_t>(i)] = kHex[hash & 15];
  return tag;
}

std::string LockPathFor(const std::string& target) { return BesideTarget(target, ".lck"); }
std::string TemporaryPathFor(const std::string& target) { return BesideTarget(target, ".tmp"); }

std::string FileFailureText(std::string_view what, const std::string& file, int nativeError) {
  static constexpr std::string_view kReasons[] = {
      {},
      msg::kReasonDiskFull,
      msg::kReasonIoError,
      msg::kReasonAccessDenied,
      msg::kReasonReadOnly,
      msg::kReasonNotFound,
      msg::kReasonIsFolder,
      msg::kReasonInUse,
      msg::kReasonNameTooLong,
      msg::kReasonInvalidName,
      msg::kReasonTooManyFiles,
      msg::kReasonOutOfMemory,
      msg::kReasonLinkLoop,
      msg::kReasonNotReady,
      msg::kReasonNetwork,
  };
  const FileError kind = ClassifyError(nativeError);
  std::string text(what);
  text += Visible(file);
  text += " (";
  if (kind == FileError::Other)
    text += OtherErrorText(nativeError);
  else
    text += kReasons[static_cast<int>(kind)];
  text += ")";
  return text;
}

void WaitForLock(const std::string& shown, int waitMilliseconds,
                 const std::function<LockAttempt()>& attempt) {
  const auto now = [] { return std::chrono::steady_clock::now(); };
  const auto deadline = now() + std::chrono::milliseconds(waitMilliseconds);
  int pause = 1;
  for (;;) {
    switch (attempt()) {
      case LockAttempt::Taken:
        return;
      case LockAttempt::Again:
        continue;
      case LockAttempt::Busy:
        break;
    }
    if (now() >= deadline) {
      std::string text(msg::kCannotWriteFile);
      text += Visible(shown);
      text += " (";
      text += msg::kReasonLockTimeout;
      text += std::to_string((waitMilliseconds + 999) / 1000);
      text += msg::kReasonLockTimeoutUnit;
      text += ")";
      throw Failure(text);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    if (pause < 8) pause *= 2;
  }
}

FileReplacement::FileReplacement(std::string_view target) : shown_(target) {
  own_ = std::make_unique<FileLock>(target, true);
  Open(*own_);
}

FileReplacement::FileReplacement(const FileLock& held) : shown_(held.shown()) { Open(held); }

int TakeNativeFault(FileOp op) {
  const FileFault fault = TakeFileFault(op);
  return fault == FileFault::None ? 0 : NativeError(fault);
}

}  // namespace quorix::platform
