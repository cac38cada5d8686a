// The manual pages of the program, written from the same definitions that
// --help shows, so that neither can say what the other does not: quorix(1)
// lists the commands, quorix-COMMAND(1) gives each one's arguments, options,
// details and exit statuses. The packages install them.
#include "man_pages.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "commands.h"
#include "console.h"

namespace quorix::cli {
namespace {

// roff takes a leading "." or "'" as a request and "\" as an escape; "-"
// unescaped may be typeset as a hyphen and not copy as a minus.
std::string Roff(const std::string& text) {
  std::string out;
  bool lineStart = true;
  for (char c : text) {
    if (lineStart && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
    lineStart = c == '\n';
  }
  return out;
}

std::string OptionName(const CLI::Option* option) {
  std::string name =
      option->get_positional() ? option->get_name(true) : option->get_name(false, true);
  const std::string type = option->get_type_name();
  if (!option->get_positional() && !type.empty()) name += " " + type;
  return name;
}

std::vector<const CLI::Option*> Shown(const CLI::App* app) {
  std::vector<const CLI::Option*> out;
  for (const CLI::Option* option : app->get_options())
    if (!option->get_group().empty()) out.push_back(option);
  return out;
}

std::vector<const CLI::App*> Commands(const CLI::App* app) {
  return app->get_subcommands([](const CLI::App*) { return true; });
}

void Synopsis(std::string& page, const CLI::App* app, const std::string& path) {
  for (const std::string& line : Synopses(app, path)) page += Roff(line) + "\n.br\n";
}

// As --help lists them: the arguments, then each group of options.
void Options(std::string& page, const CLI::App* app) {
  const auto item = [&page](const CLI::Option* option) {
    page += ".TP\n.B " + Roff(OptionName(option)) + "\n" + Roff(option->get_description()) +
            (option->get_required() ? " (exigido)" : "") + "\n";
  };
  const auto options = Shown(app);
  bool arguments = false;
  for (const CLI::Option* option : options) {
    if (!option->get_positional()) continue;
    if (!arguments) page += ".SS Argumentos\n";
    arguments = true;
    item(option);
  }
  for (const std::string& group : app->get_groups()) {
    bool named = false;
    for (const CLI::Option* option : options) {
      if (option->get_positional() || option->get_group() != group) continue;
      if (!named) page += ".SS " + Roff(group) + "\n";
      named = true;
      item(option);
    }
  }
}

// Paragraphs of a help footer, blank lines kept as paragraph breaks.
void Text(std::string& page, const std::string& text) {
  std::string paragraph;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.empty()) {
      if (!paragraph.empty()) page += ".PP\n" + Roff(paragraph) + "\n";
      paragraph.clear();
    } else {
      paragraph += (paragraph.empty() ? "" : "\n") + line;
    }
    start = end + 1;
  }
  if (!paragraph.empty()) page += ".PP\n" + Roff(paragraph) + "\n";
}

std::string Header(const std::string& name, const std::string& version) {
  std::string upper;
  for (char c : name) upper += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
  return ".TH " + upper + " 1 \"\" \"quorix " + version + "\" \"quorix\"\n";
}

std::string CommandPage(const CLI::App* command, const std::string& version) {
  const std::string name = "quorix-" + command->get_name();
  std::string page = Header(name, version) + ".SH NOME\n" + Roff(name) + " \\- " +
                     Roff(command->get_description()) + "\n.SH SINOPSE\n";
  const auto subs = Commands(command);
  Synopsis(page, command, "quorix " + command->get_name());
  page +=
      ".SH OP\xC3\x87\xC3\x95"
      "ES\n";
  Options(page, command);
  for (const CLI::App* sub : subs) {
    page += ".SH " + Roff(command->get_name() + " " + sub->get_name()) + "\n" +
            Roff(sub->get_description()) + "\n";
    Options(page, sub);
    Text(page, sub->get_footer());
  }
  page += ".SH DESCRI\xC3\x87\xC3\x83O\n";
  Text(page, command->get_footer());
  page += ".SH VEJA TAMB\xC3\x89M\n.BR quorix (1)\n";
  return page;
}

std::string MainPage(const CLI::App& app, const std::string& version) {
  // The description starts with the program's name, which the name line
  // already gives.
  std::string description = app.get_description();
  if (description.rfind("quorix: ", 0) == 0) description.erase(0, 8);
  std::string page =
      Header("quorix", version) + ".SH NOME\nquorix \\- " + Roff(description) + "\n.SH SINOPSE\n";
  Synopsis(page, &app, "quorix");
  page +=
      ".SH OP\xC3\x87\xC3\x95"
      "ES\n";
  Options(page, &app);
  page += ".SH COMANDOS\n";
  std::string seeAlso;
  for (const CLI::App* command : Commands(&app)) {
    page += ".TP\n.BR quorix\\-" + Roff(command->get_name()) + " (1)\n" +
            Roff(command->get_description()) + "\n";
    seeAlso +=
        (seeAlso.empty() ? "" : ",\n") + (".BR quorix\\-" + Roff(command->get_name()) + " (1)");
  }
  page += ".SH DESCRI\xC3\x87\xC3\x83O\n";
  Text(page, app.get_footer());
  page += ".SH VEJA TAMB\xC3\x89M\n" + seeAlso + "\n";
  return page;
}

void Write(const std::filesystem::path& folder, const std::string& name, const std::string& page) {
  const std::filesystem::path path = folder / (name + ".1");
  std::ofstream out(path, std::ios::binary);
  out << page;
  out.close();
  if (!out)
    throw Failure(kUsageError, "--man-pages: não foi possível gravar " + path.u8string() + " (" +
                                   Reason(std::error_code(errno, std::generic_category())) + ")");
}

}  // namespace

int WriteManPages(const CLI::App& app, const std::string& folderName, const std::string& version) {
  const std::filesystem::path folder = std::filesystem::u8path(folderName);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error)
    throw Failure(kUsageError, "--man-pages: não foi possível criar a pasta " + folderName + " (" +
                                   Reason(error) + ")");
  Write(folder, "quorix", MainPage(app, version));
  for (const CLI::App* command : Commands(&app))
    Write(folder, "quorix-" + command->get_name(), CommandPage(command, version));
  return kSuccess;
}

}  // namespace quorix::cli
