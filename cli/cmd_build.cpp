// quorix build: a report described as JSON, built line by line through the
// library's exports, written and signed.
#include <memory>
#include <nlohmann/json.hpp>

#include "UPAF/record_call.h"
#include "commands.h"
#include "console.h"
#include "host.h"
#include "keys.h"
#include "native.h"
#include "text.h"

namespace quorix::cli {
namespace {

using Json = nlohmann::ordered_json;
using upaf::CallValue;
using upaf::ParamKind;
using upaf::RecordKind;

struct Options {
  std::string report, out, privateKey;
};

constexpr std::string_view kExportPrefix = "quorix_";
constexpr const char* kTaxpayerKeys[] = {"cnpjCpf", "stateRegistration", "municipalRegistration",
                                         "companyName"};

// "Header" or "quorix_Header".
const RecordKind* KindNamed(const std::string& name) {
  for (const RecordKind* k : upaf::kRecordKinds) {
    const std::string_view exportName = k->exportName();
    if (name == exportName || name == exportName.substr(kExportPrefix.size())) return k;
  }
  return nullptr;
}

std::string KindNames() {
  std::string names;
  for (const RecordKind* k : upaf::kRecordKinds)
    (names += names.empty() ? "" : ", ") += k->exportName().substr(kExportPrefix.size());
  return names;
}

struct BuiltLine {
  const RecordKind* kind;
  std::string name;
  std::vector<CallValue> values;
};

// One value of the JSON in the form its parameter takes; `what` names it.
CallValue ValueOf(ParamKind kind, const Json& v, const std::string& what) {
  CallValue out;
  const auto refuse = [&](const std::string& expected) -> CallValue {
    throw Failure(kUsageError, what + ": esperado " + expected + ", veio " + v.dump());
  };
  switch (kind) {
    case ParamKind::Text:
      if (!v.is_string()) return refuse("um texto");
      out.text = Cp1252FromUtf8(v.get<std::string>(), what);
      return out;
    case ParamKind::Character: {
      if (!v.is_string()) return refuse("um caractere");
      const std::string c = Cp1252FromUtf8(v.get<std::string>(), what);
      if (c.size() != 1) return refuse("um caractere");
      out.slot = static_cast<unsigned char>(c[0]);
      return out;
    }
    case ParamKind::Integer:
      if (!v.is_number_integer() || v.get<int64_t>() != v.get<int32_t>())
        return refuse("um número inteiro");
      out.integer = v.get<int32_t>();
      return out;
    case ParamKind::Real:
      if (!v.is_number()) return refuse("um número");
      out.real = v.get<double>();
      return out;
    case ParamKind::Date:
    case ParamKind::Time: {
      const bool date = kind == ParamKind::Date;
      if (v.is_number()) {  // days since 1899-12-30, as the exports take them
        out.real = v.get<double>();
        return out;
      }
      if (!v.is_string() || !upaf::ValueFromText(kind, v.get<std::string>(), out))
        return refuse(date ? "uma data AAAA-MM-DD (\"\": sem data)" : "uma hora HH:MM:SS");
      return out;
    }
  }
  return out;
}

// Every line converted before the library sees any.
std::vector<BuiltLine> LinesOf(const Json& lines) {
  if (!lines.is_array()) throw Failure(kUsageError, "\"linhas\": esperada uma lista");
  std::vector<BuiltLine> built;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Json& line = lines[i];
    const std::string where = "linha " + std::to_string(i + 1);
    if (!line.is_object() || !line.contains("registro") || !line["registro"].is_string())
      throw Failure(kUsageError, where + ": falta \"registro\" (um de: " + KindNames() + ")");
    const std::string name = line["registro"].get<std::string>();
    const RecordKind* kind = KindNamed(name);
    if (!kind)
      throw Failure(kUsageError, where + ": registro desconhecido \"" + name +
                                     "\" (um de: " + KindNames() + ")");
    BuiltLine b{kind, name, {}};
    for (const upaf::Param& p : kind->params) {
      const std::string key(p.name);
      if (!line.contains(key)) throw Failure(kUsageError, where + " (" + name + "): falta " + key);
      b.values.push_back(ValueOf(p.kind, line[key], where + " (" + name + "), " + key));
    }
    for (const auto& [key, value] : line.items()) {
      bool known = key == "registro";
      for (const upaf::Param& p : kind->params) known |= key == p.name;
      if (!known) throw Failure(kUsageError, where + " (" + name + "): campo desconhecido " + key);
    }
    built.push_back(std::move(b));
  }
  return built;
}

int Run(const Options& o) {
  const Path reportFile(o.report), out(o.out), keyFile(o.privateKey);
  const PrivateKey key = ParsePrivateKeyFile(ReadWholeFile(keyFile), keyFile.shown());
  Json report;
  try {
    report = Json::parse(ReadWholeFile(reportFile));
  } catch (const Json::parse_error& e) {
    throw Failure(kUsageError, reportFile.shown() + ": JSON inválido (" + e.what() + ")");
  }
  if (!report.is_object() || !report.contains("contribuinte") || !report.contains("linhas"))
    throw Failure(kUsageError,
                  reportFile.shown() + ": esperado um objeto com \"contribuinte\" e \"linhas\"");
  const Json& taxpayer = report["contribuinte"];
  std::vector<std::string> taxpayerTexts;
  for (const char* k : kTaxpayerKeys) {
    if (!taxpayer.is_object() || !taxpayer.contains(k))
      throw Failure(kUsageError, std::string("contribuinte: falta ") + k);
    taxpayerTexts.push_back(
        ValueOf(ParamKind::Text, taxpayer[k], std::string("contribuinte, ") + k).text);
  }
  const std::vector<BuiltLine> lines = LinesOf(report["linhas"]);

  const HostText cnpj(taxpayerTexts[0]), ie(taxpayerTexts[1]), im(taxpayerTexts[2]),
      company(taxpayerTexts[3]);
  if (!quorix_InicializarPAF(cnpj.get(), ie.get(), im.get(), company.get()))
    throw Failure(kUsageError, "contribuinte recusado: " + LibraryMessage({}));
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!upaf::CallRecordExport(*lines[i].kind, lines[i].values)) {
      const std::string message = LibraryMessage({});
      quorix_FinalizarPAF(nullptr, nullptr, nullptr, 0);  // closes the report, writes nothing
      throw Failure(kUsageError, "linha " + std::to_string(i + 1) + " (" + lines[i].name +
                                     ") recusada: " + message);
    }
  }
  const HostText modulus(key.modulus), exponent(key.privateExponent), name(out.ForLibrary());
  if (!quorix_FinalizarPAF(modulus.get(), exponent.get(), name.get(), 0))
    FailWithLibraryMessage({&out});
  Print(out.shown() + ": " + std::to_string(lines.size()) + " linhas e a assinatura (EAD)\n");
  return kSuccess;
}

}  // namespace

Command AddBuild(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(
      parent, "build", "gera e assina um arquivo do PAF-ECF descrito em JSON",
      "Lê de RELATORIO.json o contribuinte e as linhas, gera cada linha pela função da\n"
      "biblioteca que o registro nomeia, grava o arquivo em --out e o assina com a chave\n"
      "privada. Formato:\n"
      "  {\"contribuinte\": {\"cnpjCpf\": ..., \"stateRegistration\": ...,\n"
      "                    \"municipalRegistration\": ..., \"companyName\": ...},\n"
      "   \"linhas\": [{\"registro\": \"Header\", \"recordType\": \"E1\"}, ...]}\n"
      "Cada linha dá os parâmetros da função com os nomes do cabeçalho quorix.h; datas\n"
      "\"AAAA-MM-DD\", horas \"HH:MM:SS\", caracteres como textos de um caractere.\n"
      "Registros: " +
          KindNames() + ".",
      "0 sucesso; 2 uso incorreto, erro de E/S, linha recusada ou texto recusado");
  AddArgument(sub, "RELATORIO.json", o->report, "o relatório em JSON");
  sub->add_option("--out", o->out, "arquivo a gravar")->required()->type_name("ARQUIVO");
  sub->add_option("--private-key", o->privateKey, "arquivo da chave privada (quorix keygen)")
      ->required()
      ->type_name("ARQUIVO");
  return {sub, [o] { return Run(*o); }};
}

}  // namespace quorix::cli
