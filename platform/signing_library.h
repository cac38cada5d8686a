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
                                           const char* privateKey, char* signature,
                                           int32_t mode);
  int32_t(QUORIX_SIGNER_CALL* validateFile)(const char* fileName, const char* publicKey,
                                            const char* privateKey);
};

// Loads the library (first from quorix's own folder, then by the system's
// search) on the first call and keeps it; raises a Failure when it or one of
// its functions cannot be found. A later call tries again.
const SigningLibrary& Signer();

// Per platform: open the library (null when absent) and look up a function.
void* OpenSigningLibrary();
void* FindSigningFunction(void* library, const char* name);

}  // namespace quorix::platform
