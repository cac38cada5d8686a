#include "platform/files.h"

#include "UConst/messages.h"
#include "UConst/text_checks.h"

namespace quorix::platform {

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

int TakeNativeFault(FileOp op) {
  const FileFault fault = TakeFileFault(op);
  return fault == FileFault::None ? 0 : NativeError(fault);
}

}  // namespace quorix::platform
