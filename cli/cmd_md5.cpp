// quorix md5: the digests the software-house data lists for the program's files.
#include <memory>
#include <vector>

#include "commands.h"
#include "console.h"
#include "native.h"
#include "platform/crypto.h"

namespace quorix::cli {
namespace {

std::string Md5Of(const Path& file) {
  platform::Md5 md5;
  ReadInPieces(file, [&](const std::uint8_t* p, size_t n) { md5.Update(p, n); });
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (const std::uint8_t b : md5.Finish()) {
    hex += kHex[b >> 4];
    hex += kHex[b & 0x0F];
  }
  return hex;
}

// Goes on past a file it cannot read, so one bad name does not hide the rest.
int Run(const std::vector<std::string>& files) {
  int status = kSuccess;
  for (const std::string& name : files) {
    const Path file(name);
    try {
      Print(Md5Of(file) + "  " + file.shown() + "\n");
    } catch (const Failure& f) {
      Diagnose(f.what());
      status = f.status();
    }
  }
  return status;
}

}  // namespace

Command AddMd5(CLI::App& parent) {
  auto files = std::make_shared<std::vector<std::string>>();
  CLI::App* sub = AddSubcommand(
      parent, "md5", "MD5 de arquivos, como os dados da software house os listam",
      "Mostra o MD5 de cada ARQUIVO em 32 dígitos hexadecimais maiúsculos, uma linha\n"
      "\"MD5  ARQUIVO\" por arquivo.",
      "0 todos lidos; " + std::string(kStatusUsageIo) + " (os outros arquivos são mostrados)");
  sub->add_option("ARQUIVO", *files, "arquivos")->type_name("")->required();
  return {sub, [files] { return Run(*files); }};
}

}  // namespace quorix::cli
