// quorix sign: appends the EAD line to a file, with the developer's key.
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
  std::string privateKey;
};

constexpr size_t kEadLine = 3 + 256 + 2;  // "EAD", the signature's digits, CR LF

// A file that already ends with an EAD line would end with two: the second
// signs the first, and the file is no longer one a validator takes.
bool EndsWithEadLine(const std::string& tail) {
  if (tail.size() < kEadLine) return false;
  const std::string_view line = std::string_view(tail).substr(tail.size() - kEadLine);
  if (tail.size() > kEadLine && tail[tail.size() - kEadLine - 1] != '\n') return false;
  return line.substr(0, 3) == "EAD" && line.substr(kEadLine - 2) == "\r\n" &&
         line.substr(3, 256).find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

int Run(const Options& o) {
  const Path keyFile(o.privateKey), file(o.file);
  const PrivateKey key = ParsePrivateKeyFile(ReadWholeFile(keyFile), keyFile.shown());
  const std::string tail = ReadTail(file, kEadLine + 1);
  if (!tail.empty() && tail.back() != '\n')
    throw Failure(kUsageError, file.shown() + ": o arquivo não termina com uma quebra de linha");
  if (EndsWithEadLine(tail))
    throw Failure(kUsageError, file.shown() + ": o arquivo já termina com um registro EAD");
  const HostText modulus(key.modulus), exponent(key.privateExponent), name(file.ForLibrary());
  if (!quorix_SignatureFileHash(modulus.get(), exponent.get(), name.get()))
    FailWithLibraryMessage({&file});
  return kSuccess;
}

}  // namespace

Command AddSign(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(
      parent, "sign", "assina um arquivo (acrescenta a linha EAD)",
      "Assina ARQUIVO no próprio lugar: acrescenta a linha EAD, RSA sobre o MD5 do arquivo.\n"
      "O arquivo tem de terminar com uma quebra de linha e ainda não ter linha EAD.",
      "0 assinado; " + std::string(kStatusUsageIo) + " (o arquivo fica como estava)");
  AddArgument(sub, "ARQUIVO", o->file, "arquivo a assinar");
  sub->add_option("--private-key", o->privateKey, "arquivo da chave privada (de quorix keygen)")
      ->type_name("ARQUIVO")
      ->required();
  return {sub, [o] { return Run(*o); }};
}

}  // namespace quorix::cli
