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

SigningLibrary BindSigningLibrary() {
  int error = 0;
  void* handle = OpenSigningLibrary(error);
  if (!handle) {
    if (error == 0 || ClassifyError(error) == FileError::NotFound)
      throw Failure(msg::kSignerMissing);
    throw Failure(FileFailureText(msg::kSignerNotLoaded, "sign_bema", error));
  }
  SigningLibrary library{};
  Bind(handle, "genkkey", library.genkkey);
  Bind(handle, "generateEAD", library.generateEAD);
  Bind(handle, "validateFile", library.validateFile);
  return library;
}

}  // namespace

// Bound once for the process and never unloaded: a fact about the process's
// modules rather than state of the host's calls, so it guards itself (a
// binding that failed is tried again by the next call) and stays out of the
// exports' process state.
const SigningLibrary& Signer() {
  static const SigningLibrary library = BindSigningLibrary();
  return library;
}

}  // namespace quorix::platform
