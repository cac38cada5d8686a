// quorix total: the grand total of one ECF in a grand-total register.
#include <charconv>
#include <cmath>
#include <memory>
#include <string>

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

// The register keeps 15 significant digits: a value typed with more would
// be stored, and read back, as another number.
constexpr int kStoredDigits = 15;

int SignificantDigits(const std::string& number) {
  std::string digits;
  for (const char c : number.substr(0, number.find_first_of("eE")))
    if (c >= '0' && c <= '9') digits += c;
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

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
  const int digits = SignificantDigits(text);
  if (digits > kStoredDigits)
    throw Failure(kUsageError, "VALOR: \"" + shown + "\" tem " + std::to_string(digits) +
                                   " algarismos significativos; o totalizador guarda até " +
                                   std::to_string(kStoredDigits) +
                                   ", e gravaria outro número: arredonde-o");
  return value;
}

// Fixed notation with the fewest significant digits that give the value back
// (fixed notation by itself writes a large value's binary digits out).
std::string Shown(double value) {
  if (value == 0) return "0";
  if (!(std::fabs(value) < 1e21)) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general);
    return std::string(buf, result.ptr);
  }
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  const std::string text(buf, result.ptr);
  const size_t e = text.find('e');
  std::string digits;
  for (const char c : text.substr(0, e))
    if (c >= '0' && c <= '9') digits += c;
  const int point = std::stoi(text.substr(e + 1)) + 1;  // digits before the decimal point
  std::string out = value < 0 ? "-" : "";
  if (point <= 0)
    out += "0." + std::string(static_cast<size_t>(-point), '0') + digits;
  else if (static_cast<size_t>(point) >= digits.size())
    out += digits + std::string(point - digits.size(), '0');
  else
    out += digits.substr(0, static_cast<size_t>(point)) + "." +
           digits.substr(static_cast<size_t>(point));
  return out;
}

int Get(const Options& o) {
  const Path ini(o.ini);
  // Opened first so that a missing file reads as in every other command.
  { const InputFile mustExist(ini); }
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
      "Mostra o totalizador geral do ECF de número SERIE no arquivo INI, que deve existir:\n"
      "0 se o arquivo não tem esse ECF (como a biblioteca, a leitura grava então 0 no\n"
      "arquivo).",
      "0 valor mostrado; " + std::string(kStatusUsageIo));
  CLI::App* set = AddSubcommand(
      *sub, "set", "grava o totalizador geral de um ECF",
      "Grava VALOR como totalizador geral do ECF de número SERIE. O arquivo guarda até 15\n"
      "algarismos significativos: um valor com mais é recusado, nunca arredondado.",
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
