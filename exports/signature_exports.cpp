// Entries for key pairs, signing, validation and the MD5 entry point.
#include "USignature/signing.h"
#include "exports/boundary.h"
#include "quorix.h"

using quorix::boundary::Guarded;
using quorix::boundary::StoreText;
using quorix::boundary::TextArg;

extern "C" {

quorix_bool QUORIX_CALL quorix_GenerateKeys(char** publicKey, char** privateKey) {
  return Guarded([&] {
    std::string pub, priv;
    const bool ok = quorix::sig::GenerateKeys(pub, priv);
    StoreText(publicKey, pub);
    StoreText(privateKey, priv);
    return ok;
  });
}

quorix_bool QUORIX_CALL quorix_SignatureFileHash(quorix_text publicKey, quorix_text privateKey,
                                                 quorix_text fileName) {
  TextArg pub(publicKey), priv(privateKey), file(fileName);
  return Guarded([&] { return quorix::sig::SignFile(pub.view(), priv.view(), file.str()); });
}

quorix_bool QUORIX_CALL quorix_ValidateFilePAF(quorix_text publicKey, quorix_text privateKey,
                                               quorix_text fileName) {
  TextArg pub(publicKey), priv(privateKey), file(fileName);
  return Guarded([&] { return quorix::sig::ValidateFile(pub.view(), priv.view(), file.str()); });
}

// Kept by name for hosts that call it; it hands its input back unchanged.
void QUORIX_CALL quorix_GenerateMD5(char** digest, quorix_text input) {
  TextArg in(input);
  quorix::boundary::GuardedVoid([&] { StoreText(digest, in.view()); });
}

}  // extern "C"
