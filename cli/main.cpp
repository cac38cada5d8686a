// quorix: the library's operations for people and scripts.
#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "commands.h"
#include "console.h"
#include "man_pages.h"

#if defined(_WIN32)
#include "native.h"
#endif

namespace quorix::cli {
namespace {

constexpr char kOptionsGroup[] = "Opções";

struct OneOfGroup {
  std::vector<const CLI::Option*> options;
  bool required;
};

std::vector<OneOfGroup>& OneOfGroups() {
  static std::vector<OneOfGroup> groups;
  return groups;
}

// The usage line of --help is the command's synopses, the manual page's too.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App* app, std::string name) const override {
    std::string out = get_label("Usage") + ":";
    const char* before = " ";
    for (const std::string& line : Synopses(app, name)) {
      out += before + line;
      before = "\n     ";
    }
    return out + "\n";
  }
  // CLI11 puts two blank lines between groups of options: one is enough.
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override {
    std::string help = CLI::Formatter::make_help(app, std::move(name), mode);
    for (size_t at; (at = help.find("\n\n\n")) != std::string::npos;) help.erase(at, 1);
    return help;
  }
};

void SpeakPortuguese(CLI::App& app) {
  auto formatter = std::make_shared<HelpFormatter>();
  app.formatter(formatter);
  formatter->label("Usage", "Uso");
  formatter->label("OPTIONS", "OPÇÕES");
  formatter->label("SUBCOMMAND", "COMANDO");
  formatter->label("SUBCOMMANDS", "COMANDOS");
  formatter->label("Positionals", "Argumentos");
  formatter->label("REQUIRED", "(exigido)");
  formatter->label("Excludes", "exclui");
  formatter->label("Needs", "requer");
  formatter->label("TEXT", "TEXTO");
  formatter->column_width(30);
  app.option_defaults()->group(kOptionsGroup);
  app.set_help_flag("-h,--help", "mostra esta ajuda e termina")->group(kOptionsGroup);
  app.group("Comandos");
}

// CLI11 words its errors in English; these are the ones our commands can
// meet (every other check is the commands' own).
std::string Translated(const CLI::ParseError& e) {
  const std::string what = e.what();
  const size_t colon = what.find(": ");
  const std::string before = what.substr(0, colon);
  const std::string after = colon == std::string::npos ? "" : what.substr(colon + 2);
  if (dynamic_cast<const CLI::RequiredError*>(&e)) {
    const size_t is = what.rfind(" is required");
    if (is != std::string::npos) {
      const std::string name = what.substr(0, is);
      return (name[0] == '-' ? "falta a opção " : "falta o argumento ") + name;
    }
  }
  if (dynamic_cast<const CLI::ExtrasError*>(&e))
    return (what.find("arguments were") != std::string::npos ? "argumentos inesperados: "
                                                             : "argumento inesperado: ") +
           after;
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
    if (what.find("At Most") != std::string::npos) return before + ": dado mais de uma vez";
    if (what.find("missing") != std::string::npos) return before + ": falta o valor";
  }
  return "argumentos inválidos (" + what + ")";
}

int Run(int argc, const char* const* argv) {
  CLI::App app(
      "quorix: chaves do desenvolvedor, assinatura de arquivos e arquivos auxiliares do "
      "PAF-ECF.",
      "quorix");
  SpeakPortuguese(app);
  app.set_version_flag("--version", "quorix " QUORIX_CLI_VERSION, "mostra a versão e termina");
  app.footer(
      "Textos em UTF-8; a biblioteca guarda-os em Windows-1252, e um caractere que o\n"
      "Windows-1252 não tem é recusado. Ajuda de cada comando: quorix COMANDO --help\n\n"
      "Estado de saída: 0 sucesso; 1 a verificação falhou; 2 uso incorreto ou erro de E/S.");

  std::string manFolder;
  app.add_option("--man-pages", manFolder,
                 "grava as páginas de manual (quorix.1, quorix-COMANDO.1) em PASTA, criada se "
                 "não existir, e termina")
      ->type_name("PASTA");

  std::vector<Command> commands;
#define QUORIX_ADD_COMMAND(name) commands.push_back(Add##name(app));
  QUORIX_COMMANDS(QUORIX_ADD_COMMAND)
#undef QUORIX_ADD_COMMAND

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    Print(app.help());
    return kSuccess;
  } catch (const CLI::CallForVersion& e) {
    Print(std::string(e.what()) + "\n");
    return kSuccess;
  } catch (const CLI::ParseError& e) {
    Diagnose(Translated(e));
    return kUsageError;
  }
  if (!manFolder.empty()) return WriteManPages(app, manFolder, QUORIX_CLI_VERSION);
  for (const Command& command : commands)
    if (command.app->parsed()) return command.run();
  throw Failure(kUsageError, "falta o comando; veja quorix --help");
}

int Main(int argc, const char* const* argv) {
  try {
    return Run(argc, argv);
  } catch (const Failure& f) {
    Diagnose(f.what());
    return f.status();
  } catch (const std::bad_alloc&) {
    Diagnose("memória insuficiente");
  } catch (const std::exception& e) {
    Diagnose(std::string("falha inesperada: ") + e.what());
  }
  return kUsageError;
}

}  // namespace

CLI::App* AddSubcommand(CLI::App& parent, const std::string& name, const std::string& description,
                        const std::string& details, const std::string& exitStatuses) {
  CLI::App* sub = parent.add_subcommand(name, description);
  // Subcommands take the help flag before they take the option defaults.
  sub->get_help_ptr()->group(kOptionsGroup);
  sub->footer((details.empty() ? "" : details + "\n\n") + "Estado de saída: " + exitStatuses + ".");
  return sub;
}

CLI::Option* AddArgument(CLI::App* command, const std::string& name, std::string& value,
                         const std::string& description) {
  return command->add_option(name, value, description)->type_name("")->required();
}

void OneOf(const std::string& group, const std::vector<CLI::Option*>& options, bool required) {
  OneOfGroup one{{}, required};
  for (CLI::Option* option : options) {
    option->group(group);
    one.options.push_back(option);
  }
  OneOfGroups().push_back(std::move(one));
}

std::vector<std::string> Synopses(const CLI::App* command, const std::string& path) {
  const auto usage = [](const CLI::Option* option) {
    if (option->get_positional())
      return option->get_name(true) + (option->get_items_expected_max() > 1 ? "..." : "");
    const std::string type = option->get_type_name();
    return option->get_name() + (type.empty() ? "" : " " + type);
  };
  const auto own = command->get_options([command](const CLI::Option* option) {
    return option != command->get_help_ptr() && !option->get_group().empty();
  });
  std::vector<std::string> lines;
  const auto subs = command->get_subcommands([](const CLI::App*) { return true; });
  if (!subs.empty()) {
    for (const CLI::App* sub : subs)
      for (const std::string& line : Synopses(sub, path + " " + sub->get_name()))
        lines.push_back(line);
    for (const CLI::Option* option : own) lines.push_back(path + " " + usage(option));
    return lines;
  }
  std::string line = path;
  for (const CLI::Option* option : own) {
    if (!option->get_positional()) continue;
    line += " " + (option->get_required() ? usage(option) : "[" + usage(option) + "]");
  }
  std::vector<const CLI::Option*> written;
  for (const CLI::Option* option : own) {
    if (option->get_positional() ||
        std::find(written.begin(), written.end(), option) != written.end())
      continue;
    const OneOfGroup* group = nullptr;
    for (const OneOfGroup& g : OneOfGroups())
      if (std::find(g.options.begin(), g.options.end(), option) != g.options.end()) group = &g;
    if (group == nullptr) {
      line += " " + (option->get_required() ? usage(option) : "[" + usage(option) + "]");
      continue;
    }
    std::string alternatives;
    for (const CLI::Option* alternative : group->options) {
      alternatives += (alternatives.empty() ? "" : " | ") + usage(alternative);
      written.push_back(alternative);
    }
    line += group->required ? " (" + alternatives + ")" : " [" + alternatives + "]";
  }
  return {line};
}

int RunChosen(const CLI::App& group, const std::vector<Choice>& choices) {
  std::string names;
  for (const Choice& choice : choices) {
    if (choice.app->parsed()) return choice.run();
    names += (names.empty() ? "" : " ou ") + choice.app->get_name();
  }
  throw Failure(kUsageError, "falta o comando de " + group.get_name() + ": " + names);
}

}  // namespace quorix::cli

#if defined(_WIN32)
// The wide command line: arguments reach the program whatever the console's
// code page, and are turned into UTF-8 like everywhere else.
int wmain(int argc, wchar_t** argv) {
  using namespace quorix::cli;
  PrepareConsole();
  std::vector<std::string> args;
  std::vector<const char*> pointers;
  try {
    for (int i = 0; i < argc; ++i) args.push_back(Utf8FromWide(argv[i], "argumento"));
  } catch (const Failure& f) {
    Diagnose(f.what());
    return f.status();
  }
  for (const std::string& arg : args) pointers.push_back(arg.c_str());
  return Main(argc, pointers.data());
}
#else
int main(int argc, char** argv) {
  quorix::cli::PrepareConsole();
  return quorix::cli::Main(argc, argv);
}
#endif
