// One record of the folder database: five fields joined by "<" and ended by
// "*", for example "Plans</home/me/Work/<Visible<Normal<Plans*".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/PathSeparator.h"
#include "platform/Platform.h"

namespace veilbox {

constexpr char kFieldSeparator = '<';
constexpr char kRecordTerminator = '*';
constexpr const char* kVisible = "Visible";
constexpr const char* kHidden = "Hidden";
constexpr const char* kNormal = "Normal";
constexpr const char* kEncrypted = "Encrypted";

struct FolderRecord {
  std::string name;        // the folder's own name
  std::string path;        // its parent, ending in the separator
  std::string status;      // Visible or Hidden
  std::string encryption;  // Normal or Encrypted
  std::string actual;      // its name inside the store folder

  // The record's full text, terminator included.
  std::string Text() const;
  bool operator==(const FolderRecord&) const = default;
};

// The record of a folder just added: its name, its parent with a trailing
// separator, Visible, Normal, its name again.
FolderRecord NewRecord(const std::string& folder_path);

// The record that a record's text (five fields and its terminator) holds;
// nullopt for any other text.
std::optional<FolderRecord> ParseRecord(const std::string& text);

// Why a record read back from Dat.sys may not be used to reach a folder, as
// a phrase naming the field, or nullopt: its name and its name in the store
// folder must each be one name, its path a full path ending in the separator.
std::optional<std::string> RecordProblem(const FolderRecord& record,
                                         char separator = kPathSeparator);

// Neither "<" nor "*" can be stored in the database or the store-folder list;
// Linux allows both in names. Raises with a clear message when text has one.
void RefuseSeparators(const std::string& text, Where where = Where::current());

}  // namespace veilbox
