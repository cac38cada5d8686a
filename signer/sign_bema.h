/* sign_bema: signs report files in place with an "EAD" line (RSA-1024 over
 * the MD5 of the file) and validates such files.
 *
 * Key texts are 256 hexadecimal digits: the public key is the modulus, the
 * private key the private exponent, both big-endian and zero-filled on the
 * left. The public exponent is always 65537.
 *
 * Output buffers (publicKey and privateKey of genkkey, signature of
 * generateEAD) receive exactly SIGN_BEMA_KEY_CHARS characters and no
 * terminating NUL; they are left untouched when the call fails. */
#ifndef SIGN_BEMA_H
#define SIGN_BEMA_H

#include <stdint.h>

#if defined(_WIN32)
#define SIGN_BEMA_CALL __stdcall
#else
#define SIGN_BEMA_CALL
#endif

/* Windows exports come from the .def file alone, so nothing is needed there;
 * elsewhere the library is built with hidden visibility and only these three
 * entries are made visible. */
#if defined(SIGN_BEMA_BUILDING) && !defined(_WIN32)
#define SIGN_BEMA_API __attribute__((visibility("default")))
#else
#define SIGN_BEMA_API
#endif

#define SIGN_BEMA_KEY_CHARS 256
#define SIGN_BEMA_MODE_FILE 1

#ifdef __cplusplus
extern "C" {
#endif

/* Generates a fresh key pair. Returns 1 on success, 0 on failure. */
SIGN_BEMA_API int32_t SIGN_BEMA_CALL genkkey(char* publicKey, char* privateKey);

/* Appends the EAD line to fileName and copies its 256 digits to signature.
 * mode must be SIGN_BEMA_MODE_FILE. A non-empty file must end with a line
 * feed, or the appended line could never be found again by validateFile.
 * Returns a positive value on success, 0 on failure (the file is then left
 * as it was). A null text pointer stands for the empty text. */
SIGN_BEMA_API int32_t SIGN_BEMA_CALL generateEAD(const char* fileName, const char* publicKey,
                                                 const char* privateKey, char* signature,
                                                 int32_t mode);

/* Returns 1 when fileName ends with an EAD line made with the private key
 * matching publicKey over all the bytes before it, 0 otherwise. privateKey
 * is ignored. */
SIGN_BEMA_API int32_t SIGN_BEMA_CALL validateFile(const char* fileName, const char* publicKey,
                                                  const char* privateKey);

/* For hosts that load the library at run time. */
typedef int32_t(SIGN_BEMA_CALL* sign_bema_genkkey_fn)(char*, char*);
typedef int32_t(SIGN_BEMA_CALL* sign_bema_generate_ead_fn)(const char*, const char*, const char*,
                                                           char*, int32_t);
typedef int32_t(SIGN_BEMA_CALL* sign_bema_validate_file_fn)(const char*, const char*, const char*);

#ifdef __cplusplus
}
#endif

#endif
