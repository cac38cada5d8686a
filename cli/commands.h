// The program's commands. Each lives in its own cmd_*.cpp, which defines
// `Command Add<Name>(CLI::App& parent)`: it adds its subcommand (options,
// help, exit statuses) and returns what runs it. Adding a command is that
// file, its line in QUORIX_COMMANDS and its name in CMakeLists.txt.
#ifndef QUORIX_CLI_COMMANDS_H
#define QUORIX_CLI_COMMANDS_H

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

// In the order `quorix --help` lists them.
#define QUORIX_COMMANDS(X) \
  X(Keygen)                \
  X(Sign)                  \
  X(Verify)                \
  X(Check)                 \
  X(Show)                  \
  X(Layouts)               \
  X(Build)                 \
  X(Md5)                   \
  X(Sidefile)              \
  X(Total)

namespace quorix::cli {

struct Command {
  CLI::App* app;             // the subcommand, to tell whether it was given
  std::function<int()> run;  // returns the exit status, or throws Failure
};

#define QUORIX_DECLARE_COMMAND(name) Command Add##name(CLI::App& parent);
QUORIX_COMMANDS(QUORIX_DECLARE_COMMAND)
#undef QUORIX_DECLARE_COMMAND

// A subcommand: a one-line description for the list of commands; its own
// help adds the details and the exit statuses it gives.
CLI::App* AddSubcommand(CLI::App& parent, const std::string& name, const std::string& description,
                        const std::string& details, const std::string& exitStatuses);

// A positional argument the command needs, named as its help shows it.
CLI::Option* AddArgument(CLI::App* command, const std::string& name, std::string& value,
                         const std::string& description);

// Options of which at most one may be given (the command itself refuses two;
// exactly one when `required`): --help lists them under `group`, and the
// synopses write them as [A | B], or (A | B) when one is required.
void OneOf(const std::string& group, const std::vector<CLI::Option*>& options, bool required);

// The synopsis lines of `command` called as `path` ("quorix check"), one per
// runnable form: what --help shows after "Uso:" and the manual page under
// SINOPSE.
std::vector<std::string> Synopses(const CLI::App* command, const std::string& path);

// A command made of subcommands (sidefile show | write): runs the one given.
struct Choice {
  const CLI::App* app;
  std::function<int()> run;
};
int RunChosen(const CLI::App& group, const std::vector<Choice>& choices);

// Help wording shared by the commands.
inline constexpr char kStatusUsageIo[] = "2 uso incorreto ou erro de E/S";
inline constexpr char kOneKeyOnly[] =
    "dê a chave pública com --key ou com --modulus (só uma delas)";

}  // namespace quorix::cli

#endif
