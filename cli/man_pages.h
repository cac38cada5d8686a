// Manual pages written from the program's own command definitions.
#ifndef QUORIX_CLI_MAN_PAGES_H
#define QUORIX_CLI_MAN_PAGES_H

#include <CLI/CLI.hpp>
#include <string>

namespace quorix::cli {

// Writes quorix.1 and one quorix-COMMAND.1 per command into folder (UTF-8
// roff); returns the exit status or throws Failure.
int WriteManPages(const CLI::App& app, const std::string& folder, const std::string& version);

}  // namespace quorix::cli

#endif
