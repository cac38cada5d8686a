// The outside signing library (sign_bema), bound by name at its first use so
// that a host without it still loads quorix and uses everything else.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define QUORIX_SIGNER_CALL __stdcall
#else
#define QUORIX_SIGNER_CALL
#endif

namespace quorix::platform {

struct SigningLibrary {
  int32_t(QUORIX_SIGNER_CALL* genkkey)(char* publicKey, char* privateKey);
  int32_t(QUORIX_SIGNER_CALL* generateEAD)(const char* fileName, const char* publicKey,
                                           const char* privateKey, char* signature, int32_t mode);
  int32_t(QUORIX_SIGNER_CALL* validateFile)(const char* fileName, const char* publicKey,
                                            const char* privateKey);
};

// Loads the library (first from quorix's own folder, then by the system's
// search) on the first call and keeps it; raises a Failure when it or one of
// its functions cannot be found, or it cannot be loaded (saying why). A
// later call tries again. Opening a report loads it, so that finishing the
// report needs no new memory for it.
const SigningLibrary& Signer();

// Per platform: open the library (null, with the native error of a file
// operation saying why, when it cannot be loaded) and look up a function.
void* OpenSigningLibrary(int& nativeError);
void* FindSigningFunction(void* library, const char* name);

}  // namespace quorix::platform
