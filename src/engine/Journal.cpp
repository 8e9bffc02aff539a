#include "engine/Journal.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "app/Constants.h"
#include "diag/Failure.h"
#include "engine/StandIns.h"
#include "platform/FileOpen.h"
#include "store/FolderRecord.h"
#include "store/LineReader.h"
#include "store/Names.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kHeader = "veilbox-journal 3";
// Earlier versions wrote one entry per journal, under a temporary name
// first; version 1 names each file by its path below the folder.
constexpr const char* kOldHeaders[] = {"veilbox-journal 2", "veilbox-journal 1"};
constexpr const char* kEnd = "end";
constexpr const char* kAmend = "amend";
// A rename with its side file: old name, new name, side file, cipher text.
// To a stand-in, the side file is written first; from one, removed after.
constexpr std::string_view kToStandIn = "to-stand-in";
constexpr std::string_view kFromStandIn = "from-stand-in";

bool IsStandInKey(std::string_view key) {
  return key == kToStandIn || key == kFromStandIn;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  if (!LineUnescapedInto(text, out)) return std::nullopt;
  return out;
}

// A line's key and its unescaped values; nullopt when a value is damaged.
std::optional<std::vector<std::string>> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = line.find('\t', start);
    const std::string_view field(line.data() + start,
                                 (end == std::string::npos ? line.size() : end) - start);
    if (fields.empty()) {
      fields.emplace_back(field);
    } else if (std::optional<std::string> value = Unescaped(field)) {
      fields.push_back(std::move(*value));
    } else {
      return std::nullopt;
    }
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

std::optional<EntryId> ParseId(const std::string& text) {
  EntryId id;
  const auto colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  try {
    size_t used = 0;
    id.device = std::stoull(text.substr(0, colon), &used);
    if (used != colon) return std::nullopt;
    id.number = std::stoull(text.substr(colon + 1), &used);
    if (used != text.size() - colon - 1) return std::nullopt;
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return id;
}

// The row's facts, each on a line, and the end mark.
std::string FactsText(const Journal& j) {
  std::string text;
  auto line = [&](const char* key, const std::string& value) {
    text += std::string(key) + "\t" + LineEscaped(value) + "\n";
  };
  line("operation", j.operation);
  line("old", j.old_record.Text());
  line("new", j.new_record ? j.new_record->Text() : "");
  line("from", j.from);
  line("to", j.to);
  line("complete", j.names.complete ? "yes" : "no");
  if (j.folder) {
    line("folder", std::to_string(j.folder->device) + ":" + std::to_string(j.folder->number));
  }
  return text + kEnd + "\n";
}

// Applies one line of facts to j; false when it is not one.
bool ApplyFact(Journal& j, const std::vector<std::string>& f) {
  if (f.size() != 2) return false;
  const std::string& key = f[0];
  const std::string& value = f[1];
  if (key == "operation") {
    j.operation = value;
  } else if (key == "old") {
    // A value that is not a record is the entry's problem (FieldProblem).
    j.old_record = ParseRecord(value).value_or(FolderRecord{});
  } else if (key == "new") {
    j.new_record = ParseRecord(value);
  } else if (key == "from") {
    j.from = value;
  } else if (key == "to") {
    j.to = value;
  } else if (key == "complete") {
    j.names.complete = value == "yes";
  } else if (key == "folder") {
    j.folder = ParseId(value);
    return j.folder.has_value();
  } else {
    return false;
  }
  return true;
}

// Why a line of an entry names something the entry may not reach, or
// nullopt: renames are of names inside folders below the entry's folder,
// its moves between full paths, its records those of folders.
std::optional<std::string> FieldProblem(const std::vector<std::string>& f, char separator) {
  const std::string& key = f[0];
  auto record = [&](const std::string& text) -> std::optional<std::string> {
    if (text.empty()) return std::nullopt;  // a row that is dropped
    const std::optional<FolderRecord> record = ParseRecord(text);
    if (!record) return "is not a record";
    return RecordProblem(*record, separator);
  };
  if (key == "in") return RelativePathProblem(f[1], separator);
  // A line too short for its key is damaged, which the entry's parse finds.
  if ((key == "name" || key == "file" || IsStandInKey(key)) && f.size() < 3) return std::nullopt;
  if (key == "name" || IsStandInKey(key)) {
    if (auto problem = NameProblem(f[1], separator)) return problem;
    if (auto problem = NameProblem(f[2], separator)) return problem;
    return f.size() == 5 ? SideFileProblem(f[3], f[4]) : std::nullopt;
  }
  if (key == "file") {
    if (auto problem = RelativePathProblem(f[1], separator)) return problem;
    return f[2].empty() ? std::nullopt : NameProblem(f[2], separator);
  }
  if (key == "from" || key == "to") return FullPathProblem(f[1], separator);
  if (key == "old" || key == "new" || key == kAmend) return record(f[1]);
  return std::nullopt;
}

bool IsHeader(const std::string& line) {
  return line == kHeader || line == kOldHeaders[0] || line == kOldHeaders[1];
}

// The whole entries of a journal; nullopt when one of them is damaged. The
// entry after the last end mark was cut off while it was written: nothing
// moved for it.
std::optional<std::vector<Journal>> ParseJournal(std::FILE* file, const std::string& path,
                                                 char separator) {
  std::vector<Journal> entries;
  LineReader lines(file);
  std::string line;
  const Line first = lines.Next(line);
  if (first != Line::Whole) return entries;  // cut off before its first entry
  if (!IsHeader(line)) return std::nullopt;
  long long position = static_cast<long long>(line.size()) + 1;
  long long number = 1;
  Journal j;
  j.offset = position;
  bool damaged = false;  // a line of the current entry cannot be read
  while (lines.Next(line) == Line::Whole) {
    position += static_cast<long long>(line.size()) + 1;
    ++number;
    std::optional<std::vector<std::string>> f = Fields(line);
    if (f && f->size() >= 2) {
      if (auto problem = FieldProblem(*f, separator)) {
        Journal& entry =
            (*f)[0] == kAmend && !entries.empty() && j.operation.empty() && j.names.renames == 0
                ? entries.back()
                : j;
        if (entry.problem.empty()) {
          entry.problem = "line " + std::to_string(number) + " of " + path + " (" + (*f)[0] +
                          ") names \"" + (*f)[1] + "\", which " + *problem;
        }
      }
    }
    if (line == kEnd) {
      if (damaged || j.operation.empty() || j.to.empty()) return std::nullopt;
      entries.push_back(std::move(j));
      j = Journal{};
      j.offset = position;
    } else if (f && (*f)[0] == kAmend && f->size() == 2 && !entries.empty() &&
               j.operation.empty() && j.names.renames == 0 && ParseRecord((*f)[1])) {
      entries.back().new_record = ParseRecord((*f)[1]);
      j.offset = position;
    } else if (!f) {
      damaged = true;
    } else if (const std::string& key = (*f)[0];
               ((key == "name" || key == "file") && f->size() == 3) ||
               (IsStandInKey(key) && f->size() == 5)) {
      j.names.renames += !(*f)[2].empty();
    } else if (!(key == "in" && f->size() == 2) && !ApplyFact(j, *f)) {
      damaged = true;
    }
  }
  return entries;
}

// Where an older Veilbox wrote its journal before it took its name.
std::string TempPath(const Session& session) {
  return JournalPath(session) + ".new";
}

[[noreturn]] void RaiseNotWritten(const std::string& path, int error_code, Where where) {
  Raise(err::kPathFileAccess,
        "Cannot write the journal " + path +
            (error_code ? ": " + std::string(std::strerror(error_code)) : ""),
        where);
}

}  // namespace

std::string JournalPath(const Session& session) {
  return session.data_file + kJournalSuffix;
}

JournalWriter::JournalWriter(Session& session, Where where)
    : session_(session), path_(JournalPath(session)), buffer_(1 << 16) {
  created_ = !session.platform.FileExists(path_);
  file_ = OpenPrivateForAppend(path_);
  if (!file_) RaiseNotWritten(path_, errno, where);
  // A plan of millions of lines goes to the file in large writes.
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
  if (created_) std::fputs((std::string(kHeader) + "\n").c_str(), file_);
  offset_ = FileEnd(file_);
  if (offset_ < 0 || std::ferror(file_)) {
    const int error_code = errno;
    CutOff();
    RaiseNotWritten(path_, error_code, where);
  }
}

JournalWriter::~JournalWriter() {
  if (!file_) return;
  if (!committed_) CutOff();
  if (file_) std::fclose(file_);
}

void JournalWriter::CutOff() {
  std::fclose(file_);
  file_ = nullptr;
  try {
    if (created_) {
      session_.platform.RemoveFile(path_);
      return;
    }
    // An entry cut off where it started leaves the journal as it was; one
    // that cannot be cut off was never flushed whole, so it stays ignored.
    if (std::FILE* file = OpenFile(path_, "r+b")) {
      TruncateFile(file, offset_);
      std::fclose(file);
    }
  } catch (const Failure&) {
  }
}

void JournalWriter::Add(const PlannedRename& rename) {
  line_.clear();
  if (!any_ || rename.folder != folder_) {
    line_ += "in\t";
    AppendLineEscaped(line_, rename.folder);
    line_ += '\n';
    folder_ = rename.folder;
    any_ = true;
  }
  if (rename.side == SideFile::None) {
    line_ += "name";
  } else {
    line_ += rename.side == SideFile::WriteFirst ? kToStandIn : kFromStandIn;
  }
  line_ += '\t';
  AppendLineEscaped(line_, rename.name);
  line_ += '\t';
  AppendLineEscaped(line_, rename.new_name);
  if (rename.side != SideFile::None) {
    line_ += '\t';
    AppendLineEscaped(line_, rename.side_name);
    line_ += '\t';
    AppendLineEscaped(line_, rename.side_text);
  }
  line_ += '\n';
  std::fwrite(line_.data(), 1, line_.size(), file_);
}

void JournalWriter::Commit(const Journal& journal, Where where) {
  std::fputs(FactsText(journal).c_str(), file_);
  if (!std::ferror(file_) && SyncFile(file_, path_, created_)) {
    committed_ = true;
    return;
  }
  const int error_code = errno;
  CutOff();
  RaiseNotWritten(path_, error_code, where);
}

void JournalWriter::Withdraw() {
  committed_ = false;
  CutOff();
}

void JournalWriter::Amend(const FolderRecord& new_record, Where where) {
  std::fputs((std::string(kAmend) + "\t" + LineEscaped(new_record.Text()) + "\n").c_str(), file_);
  if (std::ferror(file_) || !SyncFile(file_, path_, false)) RaiseNotWritten(path_, errno, where);
}

void WriteJournal(Session& session, const Journal& journal, Where where) {
  JournalWriter(session, where).Commit(journal, where);
}

std::vector<Journal> ReadJournal(Session& session, Where where) {
  const std::string path = JournalPath(session);
  if (!session.platform.FileExists(path)) return {};
  std::FILE* file = OpenFile(path, "rb");
  if (!file) RaiseErrno(errno, "Cannot read the journal " + path, where);
  std::optional<std::vector<Journal>> entries =
      ParseJournal(file, path, session.platform.Separator());
  std::fclose(file);
  if (!entries) Raise(err::kPathFileAccess, "The journal " + path + " is damaged", where);
  return *entries;
}

JournalPlan::JournalPlan(Session& session, long long offset, Where where)
    : file_(OpenFile(JournalPath(session), "rb")),
      lines_(file_),
      separator_(session.platform.Separator()) {
  if (!file_) RaiseErrno(errno, "Cannot read the journal " + JournalPath(session), where);
  if (!SeekFile(file_, offset)) {
    const int error_code = errno;
    std::fclose(file_);
    RaiseErrno(error_code, "Cannot read the journal " + JournalPath(session), where);
  }
}

JournalPlan::~JournalPlan() {
  std::fclose(file_);
}

bool JournalPlan::IsPlainName(const std::string& name) const {
  return !NameProblem(name, separator_);
}

bool JournalPlan::Next(PlannedRename& rename) {
  // ReadJournal has read the whole journal once and found the entry whole.
  // Each line is taken apart in place: a plan may hold millions of them.
  while (lines_.Next(line_) == Line::Whole && line_ != kEnd) {
    const std::string_view line(line_);
    const size_t key_end = line.find('\t');
    if (key_end == std::string_view::npos) return false;
    const std::string_view key = line.substr(0, key_end);
    const std::string_view values = line.substr(key_end + 1);
    const size_t split = values.find('\t');
    if (key == "in") {
      if (split != std::string_view::npos || !LineUnescapedInto(values, folder_) ||
          RelativePathProblem(folder_, separator_)) {
        return false;
      }
      continue;
    }
    rename.side = SideFile::None;
    if (IsStandInKey(key)) {
      std::optional<std::vector<std::string>> f = Fields(line_);
      if (!f || f->size() != 5 || !IsPlainName((*f)[1]) || !IsPlainName((*f)[2]) ||
          SideFileProblem((*f)[3], (*f)[4])) {
        return false;
      }
      rename = {folder_,
                std::move((*f)[1]),
                std::move((*f)[2]),
                key == kToStandIn ? SideFile::WriteFirst : SideFile::RemoveAfter,
                std::move((*f)[3]),
                std::move((*f)[4])};
      return true;
    }
    // The row's facts follow the renames: any other key ends the plan.
    if ((key != "name" && key != "file") || split == std::string_view::npos ||
        values.find('\t', split + 1) != std::string_view::npos ||
        !LineUnescapedInto(values.substr(0, split), rename.name) ||
        !LineUnescapedInto(values.substr(split + 1), rename.new_name)) {
      return false;
    }
    if (key == "name") {
      // A name that would reach outside its folder ends the plan: the files
      // it would have named keep their names.
      if (!IsPlainName(rename.name) || !IsPlainName(rename.new_name)) return false;
      rename.folder = folder_;
      return true;
    }
    // An older journal's file line: the path below the folder, and no new
    // name for a file that kept its own.
    if (rename.new_name.empty()) continue;
    const size_t cut = rename.name.rfind(separator_);
    rename.folder = cut == std::string::npos ? "" : rename.name.substr(0, cut);
    if (cut != std::string::npos) rename.name.erase(0, cut + 1);
    if (RelativePathProblem(rename.folder, separator_) || !IsPlainName(rename.name) ||
        !IsPlainName(rename.new_name)) {
      return false;
    }
    return true;
  }
  return false;
}

namespace {

// The row holding the entry's old record, when the list has one.
std::optional<size_t> RowOf(const FolderList& list, const FolderRecord& record) {
  for (size_t r = 0; r < list.Size(); ++r) {
    if (list[r] == record) return r;
  }
  return std::nullopt;
}

}  // namespace

bool RecordChanged(const FolderList& list, const Journal& entry) {
  return entry.new_record == entry.old_record || !RowOf(list, entry.old_record);
}

bool ApplyChange(FolderList& list, const Journal& entry) {
  const std::optional<size_t> row = RowOf(list, entry.old_record);
  if (!row) return false;
  if (entry.new_record) {
    list.Replace(*row, *entry.new_record);
  } else {
    list.Erase(*row);
  }
  return true;
}

void RemoveJournal(Session& session, Where where) {
  for (const std::string& path : {JournalPath(session), TempPath(session)}) {
    if (session.platform.FileExists(path)) session.platform.RemoveFile(path, where);
  }
}

std::string JournalText(const Journal& journal) {
  return std::string(kHeader) + "\n" + FactsText(journal);
}

}  // namespace veilbox
