// Helpers of the side-file tests: host string lists that record what the
// library does with them, the plain reading of a scrambled file, the current
// folder, and the sample software-house data.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quorix.h"

namespace qt {

// A host string list that records each call: "clear", then "+" and the text
// of each append. It can refuse the Nth append (0-based) or the clear, with
// or without a message of its own.
class RecordingList {
 public:
  RecordingList();
  RecordingList(const RecordingList&) = delete;
  RecordingList& operator=(const RecordingList&) = delete;
  const quorix_string_list* get() const { return &list_; }
  quorix_string_list* mutableList() { return &list_; }
  std::vector<std::string> calls;
  std::vector<std::string> entries() const;  // the list's contents now
  int refuseAppendAt = -1;
  bool refuseClear = false;
  std::string refusalText;         // empty: refuse without a message
  std::function<void()> onAppend;  // runs inside each append, before it is recorded

 private:
  static quorix_bool QUORIX_CALL Clear(void* context, char** error);
  static quorix_bool QUORIX_CALL Append(void* context, quorix_text text, char** error);
  quorix_string_list list_;
  std::vector<std::string> contents_;
};

// The file with every section name, key and value unscrambled, one line per
// "\n": "[section]", "key=value". Fails the test on a line without CR LF.
std::string PlainLayout(const std::string& fileBytes);
// The reverse: a scrambled file from such plain lines.
std::string ScrambledLayout(const std::string& plainLines);

// Changes the current folder for the life of the object.
class CurrentDir {
 public:
  explicit CurrentDir(const std::string& folder);
  ~CurrentDir();

 private:
  std::string saved_;
};

// The text of the failure raised for a text the side file would alter.
std::string Unstorable(const std::string& where, int position, int code);

// The thirteen texts of the sample software house, in call order.
extern const char* const kHouseTexts[13];

struct HouseFile {
  std::vector<std::string> texts;
  std::vector<std::string> auxFiles;
  std::vector<std::string> auxFilesMd5;
};

// quorix_GenerateDataSoftwareHouse with these data; returns its result.
quorix_bool GenerateHouse(const HouseFile& data, const std::string& file);

// quorix_GetDataSoftwareHouse into `data`, through two RecordingLists.
struct HouseRead {
  quorix_bool result = 0;
  HouseFile data;
  RecordingList files, digests;
};
void GetHouse(const std::string& file, HouseRead& read);

HouseFile SampleHouse();

}  // namespace qt
