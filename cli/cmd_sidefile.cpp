// quorix sidefile: the software-house data of a side file, in the clear.
#include <array>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "commands.h"
#include "console.h"
#include "host.h"
#include "native.h"
#include "text.h"

namespace quorix::cli {
namespace {

using Json = nlohmann::ordered_json;

// The file's own key names, in the order the library reads and writes them.
constexpr std::array<const char*, 13> kTextKeys = {
    "CNPJ",     "INSCESTADUAL", "INSCMUNICIPAL", "RAZAOSOCIAL", "ENDERECO",  "TELEFONE", "CONTATO",
    "SOFTWARE", "VERSAO",       "FILE",          "MD5",         "VERSAO ER", "LAUDO"};
constexpr std::array<const char*, 2> kListKeys = {"FILE AUX", "MD5 AUX"};

struct Data {
  std::array<std::string, 13> texts;  // Windows-1252
  std::array<std::vector<std::string>, 2> lists;
};

quorix_bool QUORIX_CALL ClearList(void* context, char** /*error*/) {
  static_cast<std::vector<std::string>*>(context)->clear();
  return 1;
}

quorix_bool QUORIX_CALL AppendToList(void* context, quorix_text text, char** error) {
  try {
    const int32_t n = quorix_text_length(text);
    static_cast<std::vector<std::string>*>(context)->emplace_back(
        n > 0 ? std::string(text, static_cast<size_t>(n)) : std::string());
    return 1;
  } catch (...) {
    *error = quorix_text_from("mem\xF3ria insuficiente");
    return 0;
  }
}

Data Load(const Path& ini) {
  Data data;
  std::array<ReceivedText, 13> texts;
  quorix_string_list files{&data.lists[0], ClearList, AppendToList};
  quorix_string_list digests{&data.lists[1], ClearList, AppendToList};
  const HostText name(ini.ForLibrary());
  if (!quorix_GetDataSoftwareHouse(
          texts[0].slot(), texts[1].slot(), texts[2].slot(), texts[3].slot(), texts[4].slot(),
          texts[5].slot(), texts[6].slot(), texts[7].slot(), texts[8].slot(), texts[9].slot(),
          texts[10].slot(), texts[11].slot(), texts[12].slot(), &files, &digests, name.get()))
    FailWithLibraryMessage({&ini});
  for (size_t i = 0; i < texts.size(); ++i) data.texts[i] = texts[i].bytes();
  return data;
}

// For reading on a terminal: control characters as \xNN, never raw.
std::string ForTerminal(const std::string& cp1252) {
  std::string out;
  for (const char c : cp1252) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    } else {
      out += Utf8FromCp1252(std::string_view(&c, 1));
    }
  }
  return out;
}

int Show(const std::string& iniName, bool json) {
  const Path ini(iniName);
  // Opened first so that a missing file reads as in every other command.
  { const InputFile mustExist(ini); }
  const Data data = Load(ini);
  if (json) {
    Json out = Json::object();
    for (size_t i = 0; i < kTextKeys.size(); ++i) out[kTextKeys[i]] = Utf8FromCp1252(data.texts[i]);
    for (size_t l = 0; l < kListKeys.size(); ++l) {
      Json& list = out[kListKeys[l]] = Json::array();
      for (const std::string& item : data.lists[l]) list.push_back(Utf8FromCp1252(item));
    }
    Print(out.dump(2) + "\n");
    return kSuccess;
  }
  std::string out;
  for (size_t i = 0; i < kTextKeys.size(); ++i)
    out += std::string(kTextKeys[i]) + "=" + ForTerminal(data.texts[i]) + "\n";
  for (size_t l = 0; l < kListKeys.size(); ++l)
    for (size_t i = 0; i < data.lists[l].size(); ++i)
      out += std::string(kListKeys[l]) + std::to_string(i) + "=" + ForTerminal(data.lists[l][i]) +
             "\n";
  Print(out);
  return kSuccess;
}

Data FromJson(const Path& source) {
  const std::string bytes = ReadWholeFile(source);
  Json json;
  try {
    json = Json::parse(bytes);
  } catch (const Json::parse_error& e) {
    throw Failure(kUsageError,
                  source.shown() + ": JSON inválido perto do byte " + std::to_string(e.byte));
  }
  const auto refuse = [&](const std::string& what) {
    throw Failure(kUsageError, source.shown() + ": " + what);
  };
  if (!json.is_object()) refuse("esperado um objeto JSON com as chaves de sidefile show --json");
  Data data;
  std::array<bool, 13> given{};
  for (const auto& [key, value] : json.items()) {
    const std::string what = source.shown() + ": " + key;
    bool known = false;
    for (size_t i = 0; i < kTextKeys.size(); ++i) {
      if (key != kTextKeys[i]) continue;
      if (!value.is_string()) refuse(key + ": esperado um texto");
      data.texts[i] = Cp1252FromUtf8(value.get<std::string>(), what);
      given[i] = known = true;
    }
    for (size_t l = 0; l < kListKeys.size(); ++l) {
      if (key != kListKeys[l]) continue;
      if (!value.is_array()) refuse(key + ": esperada uma lista de textos");
      for (const Json& item : value) {
        if (!item.is_string()) refuse(key + ": esperada uma lista de textos");
        // An empty entry ends the list when the file is read: what followed
        // it would be lost.
        if (item.get<std::string>().empty()) refuse(key + ": a lista não pode ter textos vazios");
        data.lists[l].push_back(Cp1252FromUtf8(item.get<std::string>(), what));
      }
      known = true;
    }
    if (!known) refuse("chave desconhecida: " + key);
  }
  for (size_t i = 0; i < given.size(); ++i)
    if (!given[i]) refuse(std::string("falta a chave ") + kTextKeys[i]);
  return data;
}

int Write(const std::string& iniName, const std::string& sourceName) {
  const Path ini(iniName), source(sourceName);
  Data data = FromJson(source);
  std::vector<std::unique_ptr<HostText>> owned;
  const auto text = [&](const std::string& bytes) {
    owned.push_back(std::make_unique<HostText>(bytes));
    return owned.back()->get();
  };
  std::array<quorix_text, 13> t;
  for (size_t i = 0; i < t.size(); ++i) t[i] = text(data.texts[i]);
  // The library replaces each list whole: entries of a longer list written
  // before do not survive.
  std::array<std::vector<quorix_text>, 2> lists;
  for (size_t l = 0; l < lists.size(); ++l)
    for (const std::string& item : data.lists[l]) lists[l].push_back(text(item));
  const HostText name(ini.ForLibrary());
  if (!quorix_GenerateDataSoftwareHouse(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9],
                                        t[10], t[11], t[12], lists[0].data(),
                                        static_cast<int32_t>(lists[0].size()) - 1, lists[1].data(),
                                        static_cast<int32_t>(lists[1].size()) - 1, name.get()))
    FailWithLibraryMessage({&ini});
  return kSuccess;
}

}  // namespace

Command AddSidefile(CLI::App& parent) {
  struct Options {
    std::string ini, from;
    bool json = false;
  };
  auto o = std::make_shared<Options>();
  CLI::App* sub = AddSubcommand(parent, "sidefile", "dados da software house (arquivo INI)",
                                "Os dados ficam embaralhados num arquivo INI; estes comandos os\n"
                                "mostram e gravam em claro.",
                                "0 sucesso; " + std::string(kStatusUsageIo));
  CLI::App* show = AddSubcommand(
      *sub, "show", "mostra os dados em claro",
      "Mostra os dados de INI: CHAVE=valor, um por linha, caracteres de controle como \\xNN;\n"
      "com --json, um objeto com as mesmas chaves (FILE AUX e MD5 AUX como listas). Como a\n"
      "biblioteca, a leitura grava no arquivo o valor padrão das chaves ausentes.",
      "0 dados mostrados; " + std::string(kStatusUsageIo));
  AddArgument(show, "INI", o->ini, "arquivo INI");
  show->add_flag("--json", o->json, "em JSON (UTF-8)");
  CLI::App* write = AddSubcommand(
      *sub, "write", "grava os dados de um arquivo JSON",
      "Grava em INI os dados do arquivo JSON, no formato de sidefile show --json: as treze\n"
      "chaves de texto são obrigatórias; as listas podem faltar (vazias) e não têm textos\n"
      "vazios.",
      "0 dados gravados; " + std::string(kStatusUsageIo));
  AddArgument(write, "INI", o->ini, "arquivo INI (criado se não existir)");
  write->add_option("--from", o->from, "arquivo JSON com os dados")
      ->type_name("DADOS.json")
      ->required();
  return {sub, [o, sub, show, write] {
            return RunChosen(*sub, {{show, [o] { return Show(o->ini, o->json); }},
                                    {write, [o] { return Write(o->ini, o->from); }}});
          }};
}

}  // namespace quorix::cli
