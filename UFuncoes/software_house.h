// The software-house identification data: the developer's company, its
// program and the program's files, kept in a scrambled side file whose path
// the host chooses, and loaded into the process state (UPAF/process_state.h)
// for the Anexo VI block and for handing back to the host.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorix::store {

// The thirteen single texts, in the order they are written, read and passed.
enum SoftwareHouseText : int {
  kShCnpj,
  kShStateRegistration,
  kShMunicipalRegistration,
  kShCompanyName,
  kShAddress,
  kShPhone,
  kShContact,
  kShSoftwareName,
  kShSoftwareVersion,
  kShMainFile,
  kShMainFileMd5,
  kShErVersion,
  kShReportNumber,
  kShTextCount
};

inline constexpr std::string_view kSoftwareHouseSection = "IDENTIFICACAO EMPRESA";
inline constexpr std::string_view kAuxFilesStem = "FILE AUX";
inline constexpr std::string_view kAuxFilesMd5Stem = "MD5 AUX";

struct SoftwareHouseKey {
  std::string_view key;
  std::string_view defaultValue;  // stored when the key is absent
};
inline constexpr std::array<SoftwareHouseKey, kShTextCount> kSoftwareHouseKeys = {{
    {"CNPJ", ""},
    {"INSCESTADUAL", "ISENTO"},
    {"INSCMUNICIPAL", "ISENTO"},
    {"RAZAOSOCIAL", ""},
    {"ENDERECO", ""},
    {"TELEFONE", ""},
    {"CONTATO", ""},
    {"SOFTWARE", ""},
    {"VERSAO", ""},
    {"FILE", ""},
    {"MD5", ""},
    {"VERSAO ER", ""},
    {"LAUDO", "AAAAAA"},
}};

struct SoftwareHouseData {
  std::array<std::string, kShTextCount> texts;
  std::vector<std::string> auxFiles;
  std::vector<std::string> auxFilesMd5;

  // Empties the first twelve texts and both lists.
  void Clear() noexcept;
};

// Reads the file into `data`; false with the last error message set.
bool LoadSoftwareHouseData(SoftwareHouseData& data, std::string_view iniFileName);

// Writes the data into the file, each list whole and ended by an empty entry,
// so that reading the file back writes nothing; an empty entry is refused.
// False with the last error message set.
bool GenerateSoftwareHouseData(const std::array<std::string_view, kShTextCount>& texts,
                               const std::vector<std::string_view>& auxFiles,
                               const std::vector<std::string_view>& auxFilesMd5,
                               std::string_view iniFileName);

// Loads the file into `data` and hands a copy to handOver, which may raise a
// Failure (the host's lists refusing an entry); false with the last error
// message set.
bool GetSoftwareHouseData(SoftwareHouseData& data, std::string_view iniFileName,
                          const std::function<void(const SoftwareHouseData&)>& handOver);

}  // namespace quorix::store
