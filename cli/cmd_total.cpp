// quorix total: the grand total of one ECF in a grand-total register.
#include <charconv>
#include <cmath>
#include <memory>

#include "commands.h"
#include "console.h"
#include "host.h"
#include "native.h"
#include "text.h"

namespace quorix::cli {
namespace {

struct Options {
  std::string ini, serial, value;
};

// A decimal number with "." or "," before its decimals, as people type it;
// no thousands separators.
double ParsedValue(std::string text) {
  const std::string shown = text;
  if (!text.empty() && text.front() == '+') text.erase(0, 1);
  if (text.find(',') != std::string::npos && text.find('.') == std::string::npos)
    text[text.find(',')] = '.';
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value) || text.find_first_of("nNiI") != std::string::npos)
    throw Failure(kUsageError,
                  "VALOR: \"" + shown + "\" não é um número (ex.: 1234.56 ou 1234,56)");
  return value;
}

// Fixed notation with the fewest digits that give the value back.
std::string Shown(double value) {
  if (value == 0) return "0";
  char buf[400];
  const auto format =
      std::fabs(value) < 1e21 ? std::chars_format::fixed : std::chars_format::general;
  const auto result = std::to_chars(buf, buf + sizeof buf, value, format);
  return std::string(buf, result.ptr);
}

int Get(const Options& o) {
  const Path ini(o.ini);
  const HostText serial(Cp1252FromUtf8(o.serial, "SERIE")), name(ini.ForLibrary());
  double total = 0;
  if (!quorix_GetInfoTotalizadorECF(serial.get(), &total, name.get()))
    FailWithLibraryMessage({&ini});
  Print(Shown(total) + "\n");
  return kSuccess;
}

int Set(const Options& o) {
  const Path ini(o.ini);
  const HostText serial(Cp1252FromUtf8(o.serial, "SERIE")), name(ini.ForLibrary());
  if (!quorix_UpdateTotalizadorGeralECF(serial.get(), ParsedValue(o.value), name.get()))
    FailWithLibraryMessage({&ini});
  return kSuccess;
}

}  // namespace

Command AddTotal(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(parent, "total", "totalizador geral de cada ECF (arquivo INI)",
                                "Os totais ficam embaralhados num arquivo INI, uma seção por\n"
                                "número de fabricação do ECF.",
                                "0 sucesso; " + std::string(kStatusUsageIo));
  CLI::App* get = AddSubcommand(
      *sub, "get", "mostra o totalizador geral de um ECF",
      "Mostra o totalizador geral do ECF de número SERIE: 0 se o arquivo não o tem (como a\n"
      "biblioteca, a leitura grava então 0 no arquivo).",
      "0 valor mostrado; " + std::string(kStatusUsageIo));
  CLI::App* set = AddSubcommand(
      *sub, "set", "grava o totalizador geral de um ECF",
      "Grava VALOR como totalizador geral do ECF de número SERIE (até 15 algarismos).",
      "0 valor gravado; " + std::string(kStatusUsageIo));
  for (CLI::App* command : {get, set}) {
    AddArgument(command, "INI", o->ini, "arquivo INI");
    AddArgument(command, "SERIE", o->serial, "número de fabricação do ECF");
  }
  AddArgument(set, "VALOR", o->value, "valor, com . ou , antes das casas decimais");
  return {
      sub, [o, sub, get, set] {
        return RunChosen(*sub, {{get, [o] { return Get(*o); }}, {set, [o] { return Set(*o); }}});
      }};
}

}  // namespace quorix::cli
