// Exit statuses, the failure that ends a command, and the terminal: every
// byte the program prints is UTF-8 (on a Windows console, written as the
// console's own wide characters).
#ifndef QUORIX_CLI_CONSOLE_H
#define QUORIX_CLI_CONSOLE_H

#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace quorix::cli {

constexpr int kSuccess = 0;
constexpr int kCheckFailed = 1;  // a verification ran and the file did not pass
constexpr int kUsageError = 2;   // wrong usage, unreadable input, refused text, I/O

// Ends the running command: main prints "quorix: " + message on the error
// stream and exits with `status`.
class Failure : public std::runtime_error {
 public:
  Failure(int status, const std::string& message) : std::runtime_error(message), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

// Why a file or folder could not be made, in the words of the messages.
std::string Reason(std::error_code error);

void PrepareConsole();
void Print(std::string_view utf8);       // standard output
void PrintError(std::string_view utf8);  // standard error
// One diagnostic line: "quorix: " + message + "\n".
void Diagnose(std::string_view message);

}  // namespace quorix::cli

#endif
