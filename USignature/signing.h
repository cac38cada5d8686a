// Calls to the outside signing library: key pairs, signing a file in place
// and validating a signed file.
#pragma once

#include <string>
#include <string_view>

namespace quorix::sig {

constexpr size_t kKeyLength = 256;

// Fills both keys (each resized to 256 characters before the call).
bool GenerateKeys(std::string& publicKey, std::string& privateKey);

// Appends the signature record to the file; false with the last error message set.
bool SignFile(std::string_view publicKey, std::string_view privateKey, const std::string& file);

bool ValidateFile(std::string_view publicKey, std::string_view privateKey,
                  const std::string& file);

}  // namespace quorix::sig
