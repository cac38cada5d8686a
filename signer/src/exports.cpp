// The library's only entry points. Nothing may unwind into the host, which
// is not necessarily C++ and was not built with this compiler's runtime.
#include "ead.h"
#include "sign_bema.h"

extern "C" {

SIGN_BEMA_API int32_t SIGN_BEMA_CALL genkkey(char* publicKey, char* privateKey) {
  try {
    return sign_bema::make_key_texts(publicKey, privateKey) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

SIGN_BEMA_API int32_t SIGN_BEMA_CALL generateEAD(const char* fileName, const char* publicKey,
                                                 const char* privateKey, char* signature,
                                                 int32_t mode) {
  try {
    if (mode != SIGN_BEMA_MODE_FILE) return 0;
    return sign_bema::sign_file(fileName, publicKey, privateKey, signature) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

SIGN_BEMA_API int32_t SIGN_BEMA_CALL validateFile(const char* fileName, const char* publicKey,
                                                  const char* privateKey) {
  (void)privateKey;
  try {
    return sign_bema::validate_signed_file(fileName, publicKey) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
