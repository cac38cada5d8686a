// Helpers of the unit tests, which reach the library's layers directly: the
// software-house file and a key pair made by the library's own code.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "UFuncoes/software_house.h"
#include "USignature/signing.h"
#include "side_files_support.h"

namespace qt::unit {

inline bool WriteHouseFile(const HouseFile& h, const std::string& file) {
  namespace store = quorix::store;
  std::array<std::string_view, store::kShTextCount> texts;
  for (int i = 0; i < store::kShTextCount; ++i) texts[i] = h.texts[i];
  const std::vector<std::string_view> files(h.auxFiles.begin(), h.auxFiles.end()),
      digests(h.auxFilesMd5.begin(), h.auxFilesMd5.end());
  return store::GenerateSoftwareHouseData(texts, files, digests, file);
}

struct Keys {
  std::string publicKey, privateKey;
};
// Made once; empty when the signing library gave none.
inline const Keys& SampleKeys() {
  static const Keys keys = [] {
    Keys k;
    if (!quorix::sig::GenerateKeys(k.publicKey, k.privateKey)) k = {};
    return k;
  }();
  return keys;
}

}  // namespace qt::unit
