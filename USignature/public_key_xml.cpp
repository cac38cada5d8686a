#include "USignature/public_key_xml.h"

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"
#include "UConst/windows1252.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace quorix::sig {
namespace {

void AppendEscaped(std::string& out, std::string_view value) {
  for (const char c : value) {
    const unsigned char b = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (b < 0x80) {
          out.push_back(c);
        } else {
          out += "&#";
          out += std::to_string(static_cast<unsigned>(Windows1252CodePoint(b)));
          out += ';';
        }
    }
  }
}

// XML has no way to carry these bytes, not even as references.
bool HoldsControlCharacter(std::string_view value) {
  for (const char c : value)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return true;
  return false;
}

// Windows opens a device, not a file, for these names whatever their extension.
bool IsDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

// Only a plain name: nothing that leads out of the folder, into a stream or
// to a device. Both builds refuse the same names.
bool IsPlainFileName(std::string_view name) {
  if (name.find("..") != std::string_view::npos || IsDeviceName(name)) return false;
  for (const char c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

bool Refuse(std::string_view message, std::string_view what) {
  std::string text(message);
  text += Visible(what);
  SetLastError(text);
  return false;
}

}  // namespace

std::string PublicKeyXml(std::string_view developerName, std::string_view modulus,
                         std::string_view publicExponent) {
  std::string xml = "<?xml version=\"1.0\"?> \r\n<empresa_desenvolvedora> \r\n     <nome>";
  AppendEscaped(xml, developerName);
  xml += "</nome> \r\n     <chave> \r\n                <modulo>";
  AppendEscaped(xml, modulus);
  xml += "</modulo> \r\n                     <expoente_publico>";
  AppendEscaped(xml, publicExponent);
  xml += "</expoente_publico> \r\n     </chave> \r\n</empresa_desenvolvedora> \r\n\r\n";
  return xml;
}

bool GeneratePublicKeyXml(std::string_view developerName, std::string_view modulus,
                          std::string_view folder, std::string_view publicExponent) {
  if (!IsPlainFileName(developerName)) return Refuse(msg::kInvalidDeveloperName, developerName);
  if (folder.find('\0') != std::string_view::npos) return Refuse(msg::kInvalidFolder, folder);
  if (HoldsControlCharacter(modulus)) return Refuse(msg::kXmlControlCharacter, "modulo");
  if (HoldsControlCharacter(publicExponent))
    return Refuse(msg::kXmlControlCharacter, "expoente_publico");

  std::string path(folder.empty() ? platform::kDefaultFolder : folder);
  if (path.back() != platform::kFolderSeparator) path.push_back(platform::kFolderSeparator);
  path += developerName;
  path += ".xml";

  try {
    platform::ReplaceFileWithBytes(path, PublicKeyXml(developerName, modulus, publicExponent));
  } catch (const std::exception& e) {
    SetLastError(FailureText(e));
    return false;
  }
  if (platform::FileExists(path)) return true;
  return Refuse(msg::kCannotCreateFile, path);
}

}  // namespace quorix::sig
