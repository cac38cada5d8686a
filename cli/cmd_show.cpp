// quorix show: each line of a report file as its named fields and their
// values, as text, JSON or an HTML page of coloured fields.
#include <memory>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "console.h"
#include "html.h"
#include "report_file.h"
#include "text.h"

namespace quorix::cli {
namespace {

using Json = nlohmann::ordered_json;
using upaf::reader::Finding;
using upaf::reader::Line;
using upaf::reader::Value;

struct Options {
  std::string file;
  KeyOptions key;
  bool json = false;
  std::string html;
  CLI::Option* htmlGiven = nullptr;
};

// One field of a line, ready for any of the three forms.
struct ShownField {
  std::string name;  // UTF-8
  size_t first, last;
  std::string raw;  // UTF-8
  Value value;      // text UTF-8
};

std::vector<ShownField> FieldsOf(const Line& line, std::string_view text) {
  std::vector<ShownField> fields;
  if (line.kind) {
    const upaf::RecordKind& kind = *line.kind;
    for (size_t i = 0; i < kind.layout.size; ++i) {
      const size_t first = upaf::Position(kind.layout, i);
      const size_t width = static_cast<size_t>(kind.layout[i].width);
      Value v = upaf::reader::Decode(kind, i, text);
      v.text = Utf8FromCp1252(v.text);
      fields.push_back({Utf8FromCp1252(kind.layout[i].name), first, first + width - 1,
                        Utf8FromCp1252(text.substr(first - 1, width)), v});
    }
  } else if (line.ead && text.size() == upaf::reader::kEadLength) {
    fields.push_back({"tipo do registro", 1, 3, "EAD", {Value::Text, "EAD"}});
    fields.push_back({"assinatura",
                      4,
                      text.size(),
                      std::string(text.substr(3)),
                      {Value::Text, std::string(text.substr(3))}});
  } else if (!text.empty()) {
    const std::string raw = Utf8FromCp1252(text);
    fields.push_back({"linha", 1, text.size(), raw, {Value::Unreadable, raw}});
  }
  return fields;
}

std::string LineTitle(const Line& line) {
  if (line.kind) return Utf8FromCp1252(line.kind->name);
  return line.ead ? "assinatura (EAD)" : "linha de tipo desconhecido";
}

// Values as a person reads them: decimal comma, day/month/year.
std::string Readable(const Value& v) {
  switch (v.type) {
    case Value::Number: {
      std::string s = v.text;
      for (char& c : s)
        if (c == '.') c = ',';
      return s;
    }
    case Value::Date:
      return v.text.substr(8, 2) + "/" + v.text.substr(5, 2) + "/" + v.text.substr(0, 4);
    case Value::Blank:
      return "(em branco)";
    case Value::Unreadable:
      return "\"" + v.text + "\" (ilegível)";
    default:
      return v.text;
  }
}

Json JsonValue(const Value& v) {
  switch (v.type) {
    case Value::Number:
      return std::stod(v.text);
    case Value::Blank:
      return nullptr;
    default:
      return v.text;
  }
}

// The findings of each line, in the file's order.
template <class F>
void ForEachLine(const ReportFile& r, F&& take) {
  size_t next = 0;
  const auto& findings = r.reading.findings;
  std::vector<const Finding*> own;
  for (const Line& line : r.reading.lines) {
    own.clear();
    for (size_t i = next; i < findings.size(); ++i)
      if (findings[i].line == line.number) own.push_back(&findings[i]);
    while (next < findings.size() && findings[next].line <= line.number) ++next;
    take(line, std::string_view(r.bytes).substr(line.offset, line.length), own);
  }
}

void ShowText(const ReportFile& r, const Path& file) {
  std::string out;
  ForEachLine(r, [&](const Line& line, std::string_view text, const auto& own) {
    out += "linha " + std::to_string(line.number) + ": " + LineTitle(line) + " (" +
           std::to_string(line.length) + " caracteres)\n";
    for (const ShownField& f : FieldsOf(line, text))
      out += "  " + PaddedTo(std::to_string(f.first) + "-" + std::to_string(f.last), 9) +
             PaddedTo(f.name, 44) + Readable(f.value) + "\n";
    for (const Finding* f : own) out += "  ! " + FindingLine(file.shown(), *f) + "\n";
    if (out.size() > (1u << 20)) Print(out), out.clear();
  });
  // Findings past the last line (a missing EAD line).
  for (const Finding& f : r.reading.findings)
    if (f.line > r.reading.lines.size()) out += "! " + FindingLine(file.shown(), f) + "\n";
  Print(out);
}

void ShowJson(const ReportFile& r, const Path& file) {
  Json lines = Json::array();
  ForEachLine(r, [&](const Line& line, std::string_view text, const auto& own) {
    Json fields = Json::array();
    for (const ShownField& f : FieldsOf(line, text))
      fields.push_back(
          {{"campo", f.name},
           {"inicio", f.first},
           {"fim", f.last},
           {"bruto", f.raw},
           {"valor", f.value.type == Value::Unreadable ? Json() : JsonValue(f.value)}});
    Json problems = Json::array();
    for (const Finding* f : own) problems.push_back(FindingLine(file.shown(), *f));
    lines.push_back({{"linha", line.number},
                     {"registro", LineTitle(line)},
                     {"campos", fields},
                     {"problemas", problems}});
  });
  Json problems = Json::array();
  for (const Finding& f : r.reading.findings) problems.push_back(FindingLine(file.shown(), f));
  Print(Json{{"arquivo", file.shown()}, {"linhas", lines}, {"problemas", problems}}.dump(2) + "\n");
}

using html::Escaped;

void ShowHtml(const ReportFile& r, const Path& file, const Path& out) {
  std::string page = html::PageStart(file.shown());
  page +=
      "<h1>" + Escaped(file.shown()) + "</h1>\n<p>" + std::to_string(r.reading.lines.size()) +
      " linhas; " +
      (r.reading.findings.empty() ? std::string("<span class=\"ok\">nenhum problema</span>")
                                  : std::to_string(r.reading.findings.size()) + " problema(s)") +
      ". Passe o ponteiro sobre um campo para ver seu nome, posições e valor.</p>\n";
  ForEachLine(r, [&](const Line& line, std::string_view text, const auto& own) {
    page += "<div class=\"kind\">" + Escaped(LineTitle(line)) + "</div><div class=\"line\">";
    page += "<span class=\"no\">" + std::to_string(line.number) + "</span>";
    size_t colour = 0;
    for (const ShownField& f : FieldsOf(line, text)) {
      bool bad = false;
      for (const Finding* p : own) bad |= p->first <= f.first && f.last <= p->last;
      page += "<span class=\"f" + std::string(bad ? " bad" : "") +
              "\" style=\"background:" + html::FieldColour(colour++) + "\" title=\"" +
              Escaped(f.name + " (" + std::to_string(f.first) + "-" + std::to_string(f.last) +
                      "): " + Readable(f.value)) +
              "\">" + Escaped(f.raw) + "</span>";
    }
    page += "</div>\n";
    for (const Finding* p : own)
      page += "<div class=\"problem\">" + Escaped(FindingLine(file.shown(), *p)) + "</div>\n";
  });
  for (const Finding& f : r.reading.findings)
    if (f.line > r.reading.lines.size())
      page += "<div class=\"problem\">" + Escaped(FindingLine(file.shown(), f)) + "</div>\n";
  page += html::kPageEnd;
  WriteWholeFile(out, page);
}

int Run(const Options& o) {
  const Path file(o.file);
  if (o.json && *o.htmlGiven) throw Failure(kUsageError, "dê --json ou --html (só um deles)");
  const ReportFile r = ReadReportFile(file, o.key.Modulus());
  if (o.json)
    ShowJson(r, file);
  else if (*o.htmlGiven)
    ShowHtml(r, file, Path(o.html));
  else
    ShowText(r, file);
  return kSuccess;
}

}  // namespace

Command AddShow(CLI::App& parent) {
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(
      parent, "show", "mostra cada linha de um arquivo do PAF-ECF campo a campo",
      "Mostra cada linha de ARQUIVO com o nome, as posições e o valor de cada campo\n"
      "(datas como datas, valores com as casas decimais), e os problemas que check acha.\n"
      "--json dá o mesmo em JSON; --html grava uma página em que cada campo é um trecho\n"
      "colorido da linha e mostra seu valor sob o ponteiro.",
      "0 sucesso; " + std::string(kStatusUsageIo));
  AddArgument(sub, "ARQUIVO", o->file, "arquivo do PAF-ECF");
  CLI::Option* json = sub->add_flag("--json", o->json, "em JSON (UTF-8)");
  o->htmlGiven = sub->add_option("--html", o->html, "grava a página HTML em SAIDA.html")
                     ->type_name("SAIDA.html");
  OneOf("Formato (só um deles)", {json, o->htmlGiven}, false);
  o->key.AddTo(sub);
  OneOf("Chave pública (só uma delas)", {o->key.publicKeyGiven, o->key.modulusGiven}, false);
  return {sub, [o] { return Run(*o); }};
}

}  // namespace quorix::cli
