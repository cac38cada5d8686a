// quorix check: every line and field of report files, as the record kinds
// state them, and the EAD line; findings in the form compilers use.
#include <memory>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "console.h"
#include "report_file.h"
#include "text.h"

namespace quorix::cli {
namespace {

using Json = nlohmann::ordered_json;

struct Options {
  std::vector<std::string> files;
  KeyOptions key;
  bool json = false;
};

int Run(const Options& o) {
  const std::string modulus = o.key.Modulus();
  int status = kSuccess;
  Json all = Json::array();
  for (const std::string& name : o.files) {
    const Path file(name);
    ReportFile report;
    try {
      report = ReadReportFile(file, modulus);
    } catch (const Failure& f) {
      // One unreadable file does not hide what the others hold.
      Diagnose(f.what());
      status = kUsageError;
      continue;
    }
    const auto& findings = report.reading.findings;
    if (!findings.empty() && status == kSuccess) status = kCheckFailed;
    if (o.json) {
      Json problems = Json::array();
      for (const auto& f : findings)
        problems.push_back({{"linha", f.line},
                            {"campo", Utf8FromCp1252(f.field)},
                            {"inicio", f.first},
                            {"fim", f.last},
                            {"problema", Utf8FromCp1252(f.what)}});
      all.push_back({{"arquivo", file.shown()},
                     {"linhas", report.reading.lines.size()},
                     {"assinatura_verificada", !modulus.empty()},
                     {"problemas", problems}});
      continue;
    }
    std::string out;
    for (const auto& f : findings) out += FindingLine(file.shown(), f) + "\n";
    if (findings.empty())
      out = file.shown() + ": " + std::to_string(report.reading.lines.size()) +
            " linhas, nenhum problema" + (modulus.empty() ? " (assinatura não verificada)" : "") +
            "\n";
    Print(out);
  }
  if (o.json) Print(all.dump(2) + "\n");
  return status;
}

}  // namespace

Command AddCheck(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(
      parent, "check", "confere cada linha e campo de arquivos do PAF-ECF",
      "Lê cada ARQUIVO linha a linha (CR LF), reconhece o tipo de registro pelo\n"
      "comprimento da linha e confere cada campo pelo seu tipo: dígitos, datas (AAAAMMDD),\n"
      "horas (HHMMSS), texto sem caracteres de controle, os dígitos verificadores do\n"
      "CNPJ/CPF do contribuinte, as quantidades dos totalizadores e a linha EAD (a última).\n"
      "Com --key ou --modulus, confere também a assinatura. Cada problema numa linha:\n"
      "ARQUIVO:LINHA: campo (posições A-B): problema",
      "0 nenhum problema; 1 algum problema; " + std::string(kStatusUsageIo));
  sub->add_option("ARQUIVO", o->files, "arquivos do PAF-ECF")->required()->type_name("");
  o->key.AddTo(sub);
  OneOf("Chave pública (só uma delas)", {o->key.publicKeyGiven, o->key.modulusGiven}, false);
  sub->add_flag("--json", o->json, "os problemas em JSON (UTF-8)");
  return {sub, [o] { return Run(*o); }};
}

}  // namespace quorix::cli
