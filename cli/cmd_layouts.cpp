// quorix layouts: every record kind's line as the library writes it, read
// from the same tables the record frame renders with, as text, Markdown,
// JSON or an HTML page. docs/records.md is its Markdown, kept by a test.
#include <memory>
#include <nlohmann/json.hpp>

#include "UConst/messages.h"
#include "UFuncoes/software_house.h"
#include "UPAF/field_kinds.h"
#include "UPAF/record_frame.h"
#include "commands.h"
#include "console.h"
#include "html.h"
#include "report_file.h"
#include "text.h"

namespace quorix::cli {
namespace {

using Json = nlohmann::ordered_json;

struct Options {
  std::string kind;
  bool markdown = false;
  bool json = false;
  std::string html;
  CLI::Option* htmlGiven = nullptr;
};

// Everything below is UTF-8, ready for any of the forms.
struct ShownField {
  size_t position, width;
  std::string name;
  char letter;
  std::string source;
  std::string rendering;
};

struct ShownStep {
  std::string what;     // what the step does or tests
  std::string message;  // the last error message it sets, quoted, with what follows it
};

struct ShownKind {
  std::string name, exportName;
  size_t typeLength, lineLength;
  std::vector<ShownField> fields;
  std::vector<ShownStep> steps;  // the frame's, in its order; own checks one by one
  std::string closing;           // what the steps leave unsaid (no clearing, no chaining)
};

std::string U(std::string_view cp1252) { return Utf8FromCp1252(cp1252); }

// A message as the library sets it: quoted, line breaks shown as escapes, so
// that trailing blanks and CR LF stay visible.
std::string Quoted(std::string_view cp1252) {
  std::string out = "\"";
  for (char c : U(cp1252)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out + "\"";
}

std::string ParameterName(const upaf::RecordKind& kind, int index) {
  return U(kind.params[static_cast<size_t>(index)].name);
}

std::string SourceOf(const upaf::RecordKind& kind, const upaf::Field& f) {
  switch (f.source.kind) {
    case upaf::SourceKind::Parameter:
      return ParameterName(kind, f.source.index);
    case upaf::SourceKind::Taxpayer:
      return "contribuinte: " + U(upaf::kTaxpayerItemNames[static_cast<size_t>(f.source.index)]) +
             " (quorix_InicializarPAF)";
    case upaf::SourceKind::SoftwareHouse:
      return "software house: " +
             U(store::kSoftwareHouseKeys[static_cast<size_t>(f.source.index)].key) +
             " (arquivo da software house)";
    case upaf::SourceKind::Computed:
      break;
  }
  return "calculado";
}

// The kind's own rendering, then what the field itself sets: justification,
// fill and decimals.
std::string RenderingOf(const upaf::RecordKind& kind, const upaf::Field& f) {
  std::string r = upaf::WithKind(f.kind, [](auto k) { return U(decltype(k)::kRendering); });
  switch (f.kind) {
    case upaf::FieldKind::Text:
      if (f.justify == rules::Justify::Right)
        r += std::string("; à direita, com \"") + f.fill + "\" à esquerda";
      else
        r += "; brancos à direita";
      break;
    case upaf::FieldKind::Number:
      r += "; " + std::to_string(f.decimals) + " casas decimais";
      break;
    case upaf::FieldKind::NumberByCount:
      r += ": " + ParameterName(kind, f.decimalsSource);
      break;
    default:
      break;
  }
  return r;
}

// A record's own checks, from the table the frame runs them by.
std::vector<ShownStep> OwnChecks(const upaf::RecordKind& kind) {
  std::vector<ShownStep> shown;
  for (const upaf::Check& check : kind.frame.checks) {
    std::string what;
    for (size_t i = 0; i < check.count; ++i) {
      const upaf::Condition& c = check.all[i];
      if (i > 0) what += "; ";
      what += ParameterName(kind, c.parameter) + ": " + U(c.predicate.description);
      if (!c.accepted.empty()) what += " " + U(c.accepted);
    }
    std::string message;
    if (check.shownCount > 0) {
      // Every listed value, whichever failed.
      for (size_t i = 0; i < check.shownCount; ++i) {
        const upaf::ListedValue& v = check.shown[i];
        message += (i > 0 ? " + " : "") + Quoted(v.label) + " + " + ParameterName(kind, v.source);
        if (v.as == upaf::Shows::Date) message += " (DD/MM/AAAA)";
      }
    } else {
      message = Quoted(check.message);
      if (check.appended >= 0) message += " + " + ParameterName(kind, check.appended);
    }
    shown.push_back({what, message});
  }
  return shown;
}

ShownKind Shown(const upaf::RecordKind& kind) {
  ShownKind k{
      U(kind.name), std::string(kind.exportName()), kind.typeLength, kind.lineLength, {}, {}, {}};
  bool holdsNoSign = false;
  for (size_t i = 0; i < kind.layout.size; ++i) {
    const upaf::Field& f = kind.layout[i];
    k.fields.push_back({upaf::Position(kind.layout, i), static_cast<size_t>(f.width), U(f.name),
                        upaf::WithKind(f.kind, [](auto t) { return decltype(t)::kLetter; }),
                        SourceOf(kind, f), RenderingOf(kind, f)});
    holdsNoSign |= upaf::WithKind(f.kind, [](auto t) { return decltype(t)::kHoldsNoSign; });
  }

  const upaf::Frame& frame = kind.frame;
  for (const upaf::Step step : frame.steps()) {
    switch (step) {
      case upaf::Step::ClearMessage:
        k.steps.push_back({"apaga a mensagem anterior", ""});
        break;
      case upaf::Step::CheckType: {
        std::string type = ParameterName(kind, 0);
        if (frame.secondType >= 0) type += " e " + ParameterName(kind, frame.secondType);
        k.steps.push_back(
            {type + ": aparado, com " + std::to_string(kind.typeLength) + " caracteres",
             Quoted(msg::kInvalidRecordType) + " + " + ParameterName(kind, 0)});
        break;
      }
      case upaf::Step::CheckTaxpayer:
        k.steps.push_back(
            {"contribuinte do relatório aberto: CNPJ/CPF válido; razão social "
             "preenchida (as duas mensagens juntas quando as duas falham)",
             Quoted(msg::kInvalidCnpjCpf) + ", " + Quoted(msg::kInvalidCompanyName)});
        break;
      case upaf::Step::LoadSoftwareHouse:
        k.steps.push_back({ParameterName(kind, frame.softwareHouseFile) +
                               ": arquivo da software house lido para os campos da software house "
                               "(o que lhe falta gravado nele com o padrão)",
                           Quoted(msg::kInvalidFile) + " + arquivo; ilegível: " +
                               Quoted(std::string(msg::kInvalidFile) + "\r\n") +
                               " + arquivo + \"\\r\\n\" + falha"});
        break;
      case upaf::Step::OwnChecks:
        for (ShownStep& c : OwnChecks(kind)) k.steps.push_back(std::move(c));
        break;
      case upaf::Step::ChainFailures:
        k.steps.push_back(
            {"daqui em diante, uma falha (valor que não se escreve, falta de memória, arquivo "
             "ilegível) vem depois da mensagem anterior e de CR LF",
             ""});
        break;
      case upaf::Step::Render:
        if (holdsNoSign)
          k.steps.push_back(
              {"monta a linha pelos campos; campo sem sinal (N numérico, inteiro): valor negativo "
               "que não se escreve como zeros",
               Quoted(msg::kNegativeInUnsignedField) + " + campo + " +
                   Quoted(msg::kFieldPositions) + " + posições + " + Quoted(msg::kFieldValue) +
                   " + valor"});
        else
          k.steps.push_back({"monta a linha pelos campos", ""});
        break;
      case upaf::Step::CheckLength:
        k.steps.push_back({"cada campo exatamente da sua largura, a linha de " +
                               std::to_string(kind.lineLength) +
                               " caracteres; texto como passado sem CR nem LF",
                           Quoted(msg::kInvalidLayout) + " + linha"});
        break;
      case upaf::Step::Append:
        k.steps.push_back({"relatório aberto (quorix_InicializarPAF); memória para a linha",
                           Quoted(msg::kNoOpenReport) + ", " + Quoted(msg::kOutOfMemory)});
        break;
    }
  }
  if (!frame.steps().Has(upaf::Step::ClearMessage))
    k.closing = "a mensagem anterior fica até um passo definir outra";
  if (!frame.steps().Has(upaf::Step::ChainFailures))
    k.closing += std::string(k.closing.empty() ? "" : "; ") +
                 "uma falha é a mensagem sozinha, nunca encadeada";
  return k;
}

// A kind by its Portuguese name or its export, with or without "quorix_".
std::vector<const upaf::RecordKind*> Chosen(const std::string& wanted) {
  if (wanted.empty()) return {std::begin(upaf::kRecordKinds), std::end(upaf::kRecordKinds)};
  for (const upaf::RecordKind* k : upaf::kRecordKinds) {
    const std::string exportName(k->exportName());
    if (wanted == U(k->name) || wanted == exportName || "quorix_" + wanted == exportName)
      return {k};
  }
  std::string valid;
  for (const upaf::RecordKind* k : upaf::kRecordKinds)
    valid += "\n  " + U(k->name) + " (" + std::string(k->exportName()) + ")";
  throw Failure(kUsageError,
                "tipo de registro desconhecido: \"" + wanted + "\"; os válidos:" + valid);
}

std::string Text(const std::vector<ShownKind>& kinds) {
  std::string out;
  for (const ShownKind& k : kinds) {
    if (!out.empty()) out += "\n";
    out += k.name + " (" + k.exportName + "): tipo de " + std::to_string(k.typeLength) +
           " caracteres, linha de " + std::to_string(k.lineLength) + " caracteres\n";
    for (const ShownField& f : k.fields)
      out +=
          "  " +
          PaddedTo(std::to_string(f.position) + "-" + std::to_string(f.position + f.width - 1), 9) +
          PaddedTo(std::to_string(f.width), 5) + f.letter + "  " + PaddedTo(f.name, 44) + f.source +
          " — " + f.rendering + "\n";
    out += "  passos, em ordem:\n";
    for (size_t i = 0; i < k.steps.size(); ++i)
      out += "  " + std::to_string(i + 1) + ". " + k.steps[i].what +
             (k.steps[i].message.empty() ? "" : " → " + k.steps[i].message) + "\n";
    if (!k.closing.empty()) out += "  " + k.closing + "\n";
  }
  return out;
}

// A table cell: "|" would end it.
std::string Cell(std::string s) {
  std::string out;
  for (char c : s) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return out;
}

constexpr char kMarkdownIntro[] =
    "# Record layouts\n\n"
    "Every line kind of a PAF-ECF report file as quorix writes it: for each record kind, the "
    "export that builds its lines, the length of its record type and of its line, each field's "
    "first position (1-based), width, name, kind in the regulation's letters (N numeric, "
    "X alphanumeric, D date AAAAMMDD, H time HHMMSS), the parameter or stored item it comes "
    "from and how it is rendered, then the steps the export runs, in their order (its own checks "
    "one by one), with the message each sets (Windows-1252 in the library, shown here as UTF-8; "
    "`\\r\\n` is CR LF). "
    "This file is generated by `quorix layouts --markdown` from the tables the library renders "
    "with (`UPAF/records/`, `UPAF/field_kinds.h`); do not edit it by hand: a test fails when it "
    "differs from what the program prints.\n";

std::string Markdown(const std::vector<ShownKind>& kinds) {
  std::string out = kMarkdownIntro;
  for (const ShownKind& k : kinds) {
    out += "\n## " + k.name + " (`" + k.exportName + "`)\n\n";
    out += "Record type: " + std::to_string(k.typeLength) +
           " characters. Line: " + std::to_string(k.lineLength) + " characters.\n\n";
    out += "| posição | tamanho | campo | tipo | origem | formatação |\n";
    out += "|---:|---:|---|:-:|---|---|\n";
    for (const ShownField& f : k.fields)
      out += "| " + std::to_string(f.position) + " | " + std::to_string(f.width) + " | " +
             Cell(f.name) + " | " + f.letter + " | " + Cell(f.source) + " | " + Cell(f.rendering) +
             " |\n";
    out += "\nPassos, em ordem:\n\n";
    for (size_t i = 0; i < k.steps.size(); ++i)
      out += std::to_string(i + 1) + ". " + k.steps[i].what +
             (k.steps[i].message.empty() ? "" : ": `" + k.steps[i].message + "`") + "\n";
    if (!k.closing.empty()) out += "\nAlém disso: " + k.closing + ".\n";
  }
  return out;
}

Json JsonOf(const std::vector<ShownKind>& kinds) {
  Json out = Json::array();
  for (const ShownKind& k : kinds) {
    Json fields = Json::array();
    for (const ShownField& f : k.fields)
      fields.push_back({{"position", f.position},
                        {"width", f.width},
                        {"name", f.name},
                        {"kind", std::string(1, f.letter)},
                        {"source", f.source},
                        {"rendering", f.rendering}});
    Json steps = Json::array();
    for (const ShownStep& c : k.steps) steps.push_back({{"step", c.what}, {"message", c.message}});
    out.push_back({{"name", k.name},
                   {"export", k.exportName},
                   {"typeLength", k.typeLength},
                   {"lineLength", k.lineLength},
                   {"fields", fields},
                   {"steps", steps},
                   {"closing", k.closing}});
  }
  return out;
}

// Each kind's line as coloured fields (the look of show --html), each field
// filled with its kind letter and named on hover, then its table and steps.
std::string Html(const std::vector<ShownKind>& kinds) {
  using html::Escaped;
  std::string page = html::PageStart("Leiautes dos registros do PAF-ECF");
  page +=
      "<h1>Leiautes dos registros do PAF-ECF</h1>\n<p>Cada campo da linha traz a letra do seu "
      "tipo (N, X, D, H); passe o ponteiro sobre ele para ver seu nome, posições, origem e "
      "formatação.</p>\n";
  for (const ShownKind& k : kinds) {
    page += "<h2>" + Escaped(k.name) + " (" + Escaped(k.exportName) + ")</h2>\n<p>Tipo de " +
            std::to_string(k.typeLength) + " caracteres, linha de " + std::to_string(k.lineLength) +
            " caracteres.</p>\n<div class=\"line\">";
    for (size_t i = 0; i < k.fields.size(); ++i) {
      const ShownField& f = k.fields[i];
      page += std::string("<span class=\"f\" style=\"background:") + html::FieldColour(i) +
              "\" title=\"" +
              Escaped(f.name + " (" + std::to_string(f.position) + "-" +
                      std::to_string(f.position + f.width - 1) + "): " + f.source + "; " +
                      f.rendering) +
              "\">" + std::string(f.width, f.letter) + "</span>";
    }
    page +=
        "</div>\n<table>\n<tr><th>posição</th><th>tamanho</th><th>campo</th><th>tipo</th>"
        "<th>origem</th><th>formatação</th></tr>\n";
    for (size_t i = 0; i < k.fields.size(); ++i) {
      const ShownField& f = k.fields[i];
      page += std::string("<tr><td class=\"n\" style=\"background:") + html::FieldColour(i) +
              "\">" + std::to_string(f.position) + "</td><td class=\"n\">" +
              std::to_string(f.width) + "</td><td>" + Escaped(f.name) + "</td><td>" + f.letter +
              "</td><td>" + Escaped(f.source) + "</td><td>" + Escaped(f.rendering) + "</td></tr>\n";
    }
    page += "</table>\n<p>Passos, em ordem:</p>\n<ol>\n";
    for (const ShownStep& c : k.steps)
      page += "<li>" + Escaped(c.what) +
              (c.message.empty() ? "" : ": <code>" + Escaped(c.message) + "</code>") + "</li>\n";
    page += "</ol>\n";
    if (!k.closing.empty()) page += "<p>Além disso: " + Escaped(k.closing) + ".</p>\n";
  }
  return page + html::kPageEnd;
}

int Run(const Options& o) {
  if ((o.markdown ? 1 : 0) + (o.json ? 1 : 0) + (*o.htmlGiven ? 1 : 0) > 1)
    throw Failure(kUsageError, "dê --markdown, --json ou --html (só um deles)");
  std::vector<ShownKind> kinds;
  for (const upaf::RecordKind* k : Chosen(o.kind)) kinds.push_back(Shown(*k));
  if (o.json)
    Print(JsonOf(kinds).dump(2) + "\n");
  else if (o.markdown)
    Print(Markdown(kinds));
  else if (*o.htmlGiven)
    WriteWholeFile(Path(o.html), Html(kinds));
  else
    Print(Text(kinds));
  return kSuccess;
}

}  // namespace

Command AddLayouts(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(
      parent, "layouts", "mostra o leiaute de cada tipo de registro",
      "Mostra cada tipo de registro como a biblioteca o escreve, das mesmas tabelas que ela\n"
      "usa: a função que o monta, o tamanho do tipo e da linha, e de cada campo a posição,\n"
      "o tamanho, o nome, o tipo (N, X, D, H), a origem e a formatação; depois os\n"
      "passos, em ordem, com as mensagens. REGISTRO (o nome em português ou a função,\n"
      "com ou sem quorix_) mostra só aquele. --markdown dá docs/records.md; --json, um\n"
      "array; --html grava uma página.",
      "0 sucesso; " + std::string(kStatusUsageIo));
  sub->add_option("REGISTRO", o->kind, "só este tipo de registro");
  CLI::Option* markdown = sub->add_flag("--markdown", o->markdown, "em Markdown (docs/records.md)");
  CLI::Option* json = sub->add_flag("--json", o->json, "em JSON (UTF-8)");
  o->htmlGiven = sub->add_option("--html", o->html, "grava a página HTML em SAIDA.html")
                     ->type_name("SAIDA.html");
  OneOf("Formato (só um deles)", {markdown, json, o->htmlGiven}, false);
  return {sub, [o] { return Run(*o); }};
}

}  // namespace quorix::cli
