// The developer's public key published as a small XML file:
// folder + developer name + ".xml".
#pragma once

#include <string>
#include <string_view>

namespace quorix::sig {

// The file's contents: eight lines, each ending in a blank and CR LF, then
// one more CR LF. Values are escaped so that the file is always well-formed:
// the five XML special characters by their entities, bytes from 0x80 by
// character references to their Windows-1252 characters.
std::string PublicKeyXml(std::string_view developerName, std::string_view modulus,
                         std::string_view publicExponent);

// Writes the file; false with the last error message set when the name is
// not a plain file name, a value holds a control character, or the file
// cannot be written.
bool GeneratePublicKeyXml(std::string_view developerName, std::string_view modulus,
                          std::string_view folder, std::string_view publicExponent);

}  // namespace quorix::sig
