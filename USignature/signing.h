// Calls to the outside signing library: key pairs, signing a file in place
// and validating a signed file.
#pragma once

#include <string>
#include <string_view>

namespace quorix::sig {

constexpr size_t kKeyLength = 256;

// Fills both keys (each resized to 256 characters before the call).
bool GenerateKeys(std::string& publicKey, std::string& privateKey);

// Loads the signing library now if it is not loaded yet; raises a Failure
// saying why it cannot be loaded.
void LoadSigner();

// Appends the signature record to the file (the host's name), under the
// file's lock; false with the last error message set.
bool SignFile(std::string_view publicKey, std::string_view privateKey, const std::string& file);
// The same for a file named in the system's form, whose lock the caller holds.
bool SignSystemFile(std::string_view publicKey, std::string_view privateKey,
                    const std::string& systemPath);

bool ValidateFile(std::string_view publicKey, std::string_view privateKey, const std::string& file);

}  // namespace quorix::sig
