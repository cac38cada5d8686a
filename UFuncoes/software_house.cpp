#include "UFuncoes/software_house.h"

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "UFuncoes/scrambled_ini.h"

namespace quorix::store {
namespace {

std::string ListKey(std::string_view stem, size_t index) {
  std::string key(stem);
  key += std::to_string(index);
  return key;
}

// Reads entries 0, 1, 2... until the first empty one (which an absent key is,
// after its empty default has been stored).
void ReadList(ScrambledIni& ini, std::string_view stem, std::vector<std::string>& list) {
  for (size_t i = 0;; ++i) {
    std::string entry = ini.ReadScrambledValue(kSoftwareHouseSection, ListKey(stem, i), {});
    if (entry.empty()) return;
    list.push_back(std::move(entry));
  }
}

// The checks of one list before anything is written: an empty entry would
// end the list on reading, and every entry must be storable intact.
void CheckList(std::string_view stem, const std::vector<std::string_view>& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].empty()) {
      std::string text(msg::kEmptyListEntry);
      text += stem;
      text += msg::kEmptyListEntryIndex;
      text += std::to_string(i);
      throw Failure(text);
    }
    CheckStorable(kSoftwareHouseSection, ListKey(stem, i), list[i]);
  }
}

// Writes the list whole: its entries, the empty entry that ends it (so that
// reading it never has to store one), and no entry of an earlier, longer list.
void WriteList(ScrambledIni& ini, std::string_view stem,
               const std::vector<std::string_view>& list) {
  for (size_t i = 0; i < list.size(); ++i)
    ini.WriteScrambledValue(kSoftwareHouseSection, ListKey(stem, i), list[i]);
  ini.WriteScrambledValue(kSoftwareHouseSection, ListKey(stem, list.size()), {});
  for (size_t i = list.size() + 1; ini.HasKey(kSoftwareHouseSection, ListKey(stem, i)); ++i)
    ini.DeleteScrambledValue(kSoftwareHouseSection, ListKey(stem, i));
}

}  // namespace

void SoftwareHouseData::Clear() noexcept {
  // The report number is not emptied: every load that gets as far as the
  // texts sets it again before anything can print or hand it out.
  for (int i = 0; i < kShReportNumber; ++i) texts[i].clear();
  auxFiles.clear();
  auxFilesMd5.clear();
}

bool LoadSoftwareHouseData(SoftwareHouseData& d, std::string_view iniFileName) {
  d.Clear();
  if (RefusedNulFileName(iniFileName)) return false;
  ScrambledIni ini(iniFileName);
  if (iniFileName.empty() || !ini.FileExists()) {
    SetInvalidFile(iniFileName);
    return false;
  }
  try {
    for (int i = 0; i < kShTextCount; ++i)
      d.texts[i] = ini.ReadScrambledValue(kSoftwareHouseSection, kSoftwareHouseKeys[i].key,
                                          kSoftwareHouseKeys[i].defaultValue);
    ReadList(ini, kAuxFilesStem, d.auxFiles);
    ReadList(ini, kAuxFilesMd5Stem, d.auxFilesMd5);
    ini.Commit();
  } catch (const std::exception& e) {
    SetInvalidFile(iniFileName, e);
    return false;
  }
  return true;
}

bool GenerateSoftwareHouseData(const std::array<std::string_view, kShTextCount>& texts,
                               const std::vector<std::string_view>& auxFiles,
                               const std::vector<std::string_view>& auxFilesMd5,
                               std::string_view iniFileName) {
  if (iniFileName.empty()) {
    SetInvalidFile(iniFileName);
    return false;
  }
  if (RefusedNulFileName(iniFileName)) return false;
  try {
    // Everything is checked before the first write: a refused text leaves
    // the file as it was.
    for (int i = 0; i < kShTextCount; ++i)
      CheckStorable(kSoftwareHouseSection, kSoftwareHouseKeys[i].key, texts[i]);
    CheckList(kAuxFilesStem, auxFiles);
    CheckList(kAuxFilesMd5Stem, auxFilesMd5);

    ScrambledIni ini(iniFileName);
    for (int i = 0; i < kShTextCount; ++i)
      ini.WriteScrambledValue(kSoftwareHouseSection, kSoftwareHouseKeys[i].key, texts[i]);
    WriteList(ini, kAuxFilesStem, auxFiles);
    WriteList(ini, kAuxFilesMd5Stem, auxFilesMd5);
    ini.Commit();
    if (ini.FileExists()) return true;
  } catch (const std::exception& e) {
    SetInvalidFile(iniFileName, e);
    return false;
  }
  // Written without complaint yet not there: say so rather than fail silently.
  SetInvalidFile(iniFileName);
  return false;
}

bool GetSoftwareHouseData(SoftwareHouseData& data, std::string_view iniFileName,
                          const std::function<void(const SoftwareHouseData&)>& handOver) {
  if (RefusedNulFileName(iniFileName)) return false;
  if (iniFileName.empty() || !ScrambledIni(iniFileName).FileExists()) {
    SetInvalidFile(iniFileName);
    return false;
  }
  if (!LoadSoftwareHouseData(data, iniFileName)) return false;
  try {
    // The host gets a copy: its lists may call back into the library (a
    // finished report or another load empties the process's data).
    const SoftwareHouseData copy = data;
    handOver(copy);
  } catch (const std::exception& e) {
    SetInvalidFile(iniFileName, e);
    return false;
  }
  return true;
}

}  // namespace quorix::store
