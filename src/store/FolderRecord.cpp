#include "store/FolderRecord.h"

#include "diag/Failure.h"
#include "store/Names.h"
#include "store/TextUtil.h"

namespace veilbox {

std::string FolderRecord::Text() const {
  const std::string sep(1, kFieldSeparator);
  return name + sep + path + sep + status + sep + encryption + sep + actual + kRecordTerminator;
}

FolderRecord NewRecord(const std::string& folder_path) {
  RefuseSeparators(folder_path);
  const std::string name = GetLastFolder(folder_path);
  return {name, GetLastFolderPath(folder_path) + kPathSeparator, kVisible, kNormal, name};
}

std::optional<FolderRecord> ParseRecord(const std::string& text) {
  if (!text.ends_with(kRecordTerminator)) return std::nullopt;
  std::vector<std::string> f = SplitString(text.substr(0, text.size() - 1), kFieldSeparator);
  if (f.size() != 5 || f[4].find(kRecordTerminator) != std::string::npos) return std::nullopt;
  return FolderRecord{f[0], f[1], f[2], f[3], f[4]};
}

std::optional<std::string> RecordProblem(const FolderRecord& record, char separator) {
  auto field = [](const char* what, const std::string& value, const std::string& problem) {
    return std::string(what) + " \"" + value + "\" " + problem;
  };
  if (auto problem = NameProblem(record.name, separator)) {
    return field("its folder name", record.name, *problem);
  }
  if (auto problem = FullPathProblem(record.path, separator)) {
    return field("its path", record.path, *problem);
  }
  if (!record.path.ends_with(separator)) {
    return field("its path", record.path, "does not end in \"" + std::string(1, separator) + "\"");
  }
  if (auto problem = NameProblem(record.actual, separator)) {
    return field("its name in the store folder", record.actual, *problem);
  }
  return std::nullopt;
}

void RefuseSeparators(const std::string& text, Where where) {
  if (text.find_first_of("<*") != std::string::npos) {
    Raise(err::kInvalidArgument,
          "\"" + text +
              "\" contains \"<\" or \"*\", which Veilbox cannot keep in its list; "
              "rename it first",
          where);
  }
}

}  // namespace veilbox
