#include "platform/signing_library.h"

#include <string>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "platform/files.h"

namespace quorix::platform {
namespace {

template <class Fn>
void Bind(void* handle, const char* name, Fn& fn) {
  void* p = FindSigningFunction(handle, name);
  if (!p) throw Failure(std::string(msg::kSignerFunctionMissing) + name);
  fn = reinterpret_cast<Fn>(p);
}

}  // namespace

const SigningLibrary& Signer() {
  static SigningLibrary library{};
  static bool bound = false;
  if (bound) return library;
  int error = 0;
  void* handle = OpenSigningLibrary(error);
  if (!handle) {
    if (error == 0 || ClassifyError(error) == FileError::NotFound)
      throw Failure(msg::kSignerMissing);
    throw Failure(FileFailureText(msg::kSignerNotLoaded, "sign_bema", error));
  }
  SigningLibrary candidate{};
  Bind(handle, "genkkey", candidate.genkkey);
  Bind(handle, "generateEAD", candidate.generateEAD);
  Bind(handle, "validateFile", candidate.validateFile);
  library = candidate;
  bound = true;
  return library;
}

}  // namespace quorix::platform
