#include "console.h"

#include <cstdio>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace quorix::cli {
namespace {

#if defined(_WIN32)
// A console takes wide characters whatever its code page; pipes and files
// get the UTF-8 bytes as they are.
bool WriteToConsole(std::FILE* stream, std::string_view utf8) {
  HANDLE h = GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (h == INVALID_HANDLE_VALUE || !GetConsoleMode(h, &mode)) return false;
  if (utf8.empty()) return true;
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  std::fflush(stream);
  DWORD written = 0;
  return WriteConsoleW(h, wide.data(), static_cast<DWORD>(n), &written, nullptr) != 0;
}
#endif

void Write(std::FILE* stream, std::string_view utf8) {
#if defined(_WIN32)
  if (WriteToConsole(stream, utf8)) return;
#endif
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

}  // namespace

std::string Reason(std::error_code error) {
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
      error == std::errc::read_only_file_system)
    return "permissão negada";
  if (error == std::errc::not_a_directory || error == std::errc::file_exists)
    return "um nome do caminho é um arquivo, não uma pasta";
  if (error == std::errc::no_such_file_or_directory) return "pasta não encontrada";
  if (error == std::errc::no_space_on_device) return "disco cheio";
  if (error == std::errc::is_a_directory) return "é uma pasta";
  return "erro do sistema " + std::to_string(error.value());
}

void PrepareConsole() {
#if defined(_WIN32)
  // Lines end in LF on both builds; no text-mode translation.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
}

void Print(std::string_view utf8) { Write(stdout, utf8); }

void PrintError(std::string_view utf8) {
  std::fflush(stdout);
  Write(stderr, utf8);
}

void Diagnose(std::string_view message) {
  std::string line("quorix: ");
  line += message;
  line += '\n';
  PrintError(line);
}

}  // namespace quorix::cli
