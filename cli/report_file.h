// A report file read back by the library's reader, for check and show: the
// public key that its EAD line is checked with, and findings as UTF-8 lines.
#ifndef QUORIX_CLI_REPORT_FILE_H
#define QUORIX_CLI_REPORT_FILE_H

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>

#include "UPAF/report_reader.h"
#include "native.h"

namespace quorix::cli {

// --key PUBLIC.xml | --modulus HEX, at most one of them.
struct KeyOptions {
  std::string publicKey, modulus;
  CLI::Option* publicKeyGiven = nullptr;
  CLI::Option* modulusGiven = nullptr;

  void AddTo(CLI::App* command);
  // 256 upper-case hex digits, or empty when neither was given.
  std::string Modulus() const;
};

struct ReportFile {
  std::string bytes;
  upaf::reader::Reading reading;
};

// Reads and checks the file; with a modulus its EAD line must sign the rest.
ReportFile ReadReportFile(const Path& file, const std::string& modulus);

// Whether `digits` (256 hex) sign `signedBytes` with the key of that modulus,
// as the signing library signs: the MD5 of the bytes in a block raised to the
// private exponent.
bool SignatureHolds(std::string_view signedBytes, std::string_view digits,
                    const std::string& modulus);

// "FILE:LINE: field (posições A-B): what", UTF-8.
std::string FindingLine(const std::string& shownFile, const upaf::reader::Finding& f);

}  // namespace quorix::cli

#endif
