// quorix keygen: a new key pair for the developer.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "commands.h"
#include "console.h"
#include "host.h"
#include "keys.h"
#include "native.h"
#include "text.h"

namespace quorix::cli {
namespace {

struct Options {
  std::string name;
  std::string dir = ".";
};

// The private file takes the name too and is written first, so the name
// must name a plain file in the folder on both systems (a Windows device
// name with any extension opens the device).
bool IsDeviceName(std::string name) {
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" ||
      name == "CONOUT$")
    return true;
  return name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) &&
         name[3] >= '1' && name[3] <= '9';
}

void CheckPlainName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of("/\\:") != std::string::npos || IsDeviceName(name))
    throw Failure(kUsageError,
                  "--name: o nome do desenvolvedor também dá nome aos arquivos: não pode ser "
                  "vazio, ter / \\ : nem ser um nome de dispositivo (CON, NUL, COM1...)");
}

std::filesystem::path FolderPath(const Path& dir) {
#if defined(_WIN32)
  return std::filesystem::path(dir.wide());
#else
  return std::filesystem::path(dir.shown());
#endif
}

// Makes the folder and the missing folders above it, as mkdir -p, and
// returns those it made, outermost first, so that a failure can take them
// away again.
std::vector<std::filesystem::path> MakeFolders(const Path& dir) {
  namespace fs = std::filesystem;
  std::vector<fs::path> missing;
  std::error_code error;
  for (fs::path p = FolderPath(dir); !p.empty() && !fs::exists(p, error); p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  std::reverse(missing.begin(), missing.end());
  std::vector<fs::path> made;
  for (const fs::path& p : missing) {
    if (fs::create_directory(p, error)) {
      made.push_back(p);
    } else if (error) {
      const std::string reason = Reason(error);
      for (auto it = made.rbegin(); it != made.rend(); ++it) fs::remove(*it, error);
      throw Failure(kUsageError, dir.shown() + ": não foi possível criar a pasta (" + reason + ")");
    }
  }
  return made;
}

void Generate(const Options& o, const std::string& name, const Path& dir) {
  const Path privateFile = dir.Join(o.name + ".chave");
  const Path publicFile = dir.Join(o.name + ".xml");
  for (const Path* file : {&privateFile, &publicFile})
    if (Exists(*file))
      throw Failure(kUsageError, file->shown() + ": já existe; apague-o ou escolha outro nome");

  ReceivedText modulus, exponent;
  if (!quorix_GenerateKeys(modulus.slot(), exponent.slot())) FailWithLibraryMessage({});
  const PrivateKey key{CheckedKeyDigits(modulus.bytes(), "chave pública gerada"),
                       CheckedKeyDigits(exponent.bytes(), "chave privada gerada")};
  CreateOwnerOnlyFile(privateFile, FormatPrivateKeyFile(key));

  try {
    const HostText developer(name), folder(dir.ForLibrary()), mod(key.modulus),
        publicExponent(kPublicExponentHex);
    if (!quorix_GenarateFileXml(developer.get(), mod.get(), folder.get(), publicExponent.get()))
      FailWithLibraryMessage({&dir});
  } catch (...) {
    RemoveFile(privateFile);
    throw;
  }
  Print("chave privada: " + privateFile.shown() + "\nchave pública: " + publicFile.shown() + "\n");
}

int Run(const Options& o) {
  const std::string name = Cp1252FromUtf8(o.name, "--name");
  CheckPlainName(o.name);
  const Path dir(o.dir);
  const std::vector<std::filesystem::path> made = MakeFolders(dir);
  try {
    Generate(o, name, dir);
  } catch (...) {
    std::error_code ignored;
    for (auto it = made.rbegin(); it != made.rend(); ++it) std::filesystem::remove(*it, ignored);
    throw;
  }
  return kSuccess;
}

}  // namespace

Command AddKeygen(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub =
      AddSubcommand(parent, "keygen", "gera o par de chaves do desenvolvedor",
                    "Gera um par de chaves RSA-1024 (expoente público 65537): a chave privada em\n"
                    "PASTA/NOME.chave, legível só pelo dono, e a chave pública em PASTA/NOME.xml.\n"
                    "Não substitui arquivos existentes.",
                    "0 chaves gravadas; " + std::string(kStatusUsageIo) + " (nada fica gravado)");
  sub->add_option("--name", o->name, "nome do desenvolvedor (conteúdo e nome dos arquivos)")
      ->type_name("NOME")
      ->required();
  sub->add_option("--dir", o->dir, "pasta dos arquivos, criada se não existir (a atual se omitida)")
      ->type_name("PASTA");
  return {sub, [o] { return Run(*o); }};
}

}  // namespace quorix::cli
