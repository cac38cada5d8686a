// quorix verify: whether a file's EAD line was made with the developer's key.
#include <memory>

#include "commands.h"
#include "console.h"
#include "host.h"
#include "keys.h"
#include "native.h"

namespace quorix::cli {
namespace {

struct Options {
  std::string file;
  std::string publicKey;
  std::string modulus;
  CLI::Option* publicKeyGiven = nullptr;
  CLI::Option* modulusGiven = nullptr;
};

int Run(const Options& o) {
  if (!*o.publicKeyGiven == !*o.modulusGiven) throw Failure(kUsageError, kOneKeyOnly);
  std::string modulus;
  if (*o.publicKeyGiven) {
    const Path keyFile(o.publicKey);
    modulus = ModulusFromPublicKeyFile(ReadWholeFile(keyFile), keyFile.shown());
  } else {
    modulus = CheckedKeyDigits(o.modulus, "--modulus");
  }
  const Path file(o.file);
  // Unreadable is an I/O error, not a failed verification.
  ReadTail(file, 1);
  const HostText key(modulus), name(file.ForLibrary());
  if (quorix_ValidateFilePAF(key.get(), nullptr, name.get())) {
    Print(file.shown() + ": assinatura válida\n");
    return kSuccess;
  }
  Print(file.shown() + ": assinatura inválida ou ausente\n");
  return kCheckFailed;
}

}  // namespace

Command AddVerify(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(
      parent, "verify", "verifica a assinatura (linha EAD) de um arquivo",
      "Verifica a linha EAD de ARQUIVO com a chave pública do desenvolvedor, dada pelo\n"
      "arquivo XML (--key) ou pelo módulo em hexadecimal (--modulus).",
      "0 assinatura válida; 1 assinatura inválida ou ausente; " + std::string(kStatusUsageIo));
  AddArgument(sub, "ARQUIVO", o->file, "arquivo assinado");
  o->publicKeyGiven =
      sub->add_option("--key", o->publicKey, "arquivo XML da chave pública")->type_name("XML");
  o->modulusGiven = sub->add_option("--modulus", o->modulus, "módulo: 256 dígitos hexadecimais")
                        ->type_name("HEX");
  OneOf("Chave pública (uma delas, exigida)", {o->publicKeyGiven, o->modulusGiven}, true);
  return {sub, [o] { return Run(*o); }};
}

}  // namespace quorix::cli
