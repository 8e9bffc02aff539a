#include "engine/Journal.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "diag/Failure.h"
#include "platform/FileOpen.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kHeader = "veilbox-journal 2";
// Journals of earlier versions name each file by its path below the folder.
constexpr const char* kOldHeader = "veilbox-journal 1";
constexpr const char* kEnd = "end";

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return std::nullopt;
    }
  }
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

// The next line without its line feed; false at the end of the file.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, file)) {
    line += buffer;
    if (line.back() == '\n') {
      line.pop_back();
      return true;
    }
  }
  return !line.empty();
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
  line("old", j.old_record);
  line("new", j.new_record);
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
    j.old_record = value;
  } else if (key == "new") {
    j.new_record = value;
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

std::optional<Journal> ParseJournal(std::FILE* file) {
  std::string line;
  if (!ReadLine(file, line) || (line != kHeader && line != kOldHeader)) return std::nullopt;
  Journal j;
  while (ReadLine(file, line)) {
    if (line == kEnd) {
      if (j.operation.empty() || j.to.empty()) return std::nullopt;
      return j;
    }
    std::optional<std::vector<std::string>> f = Fields(line);
    if (!f) return std::nullopt;
    const std::string& key = (*f)[0];
    if ((key == "name" || key == "file") && f->size() == 3) {
      j.names.renames += !(*f)[2].empty();
    } else if (!(key == "in" && f->size() == 2) && !ApplyFact(j, *f)) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::string TempPath(const AppState& state) {
  return JournalPath(state) + ".new";
}

[[noreturn]] void RaiseNotWritten(const std::string& path, int error_code, Where where) {
  Raise(err::kPathFileAccess,
        "Cannot write the journal " + path +
            (error_code ? ": " + std::string(std::strerror(error_code)) : ""),
        where);
}

}  // namespace

std::string JournalPath(const AppState& state) {
  return state.SrcDataFilename + ".journal";
}

JournalWriter::JournalWriter(AppState& state, Where where) : state_(state), temp_(TempPath(state)) {
  file_ = OpenFile(temp_, "wb");
  if (!file_) RaiseNotWritten(temp_, errno, where);
  std::fputs((std::string(kHeader) + "\n").c_str(), file_);
}

JournalWriter::~JournalWriter() {
  if (!file_) return;
  std::fclose(file_);
  try {
    state_.platform.RemoveFile(temp_);
  } catch (const Failure&) {
    // A journal left unfinished is never followed, and the next one
    // replaces it.
  }
}

void JournalWriter::Add(const std::string& folder, const std::string& name,
                        const std::string& new_name) {
  if (!any_ || folder != folder_) {
    std::fputs(("in\t" + LineEscaped(folder) + "\n").c_str(), file_);
    folder_ = folder;
    any_ = true;
  }
  std::fputs(("name\t" + LineEscaped(name) + "\t" + LineEscaped(new_name) + "\n").c_str(), file_);
  ++renames_;
}

void JournalWriter::Commit(const Journal& journal, Where where) {
  std::fputs(FactsText(journal).c_str(), file_);
  const bool written = !std::ferror(file_);
  const int error_code = errno;
  std::FILE* file = file_;
  file_ = nullptr;
  if (!written) {
    std::fclose(file);
  } else if (CommitFile(file, temp_, JournalPath(state_))) {
    return;
  }
  const int commit_error = written ? errno : error_code;
  try {
    state_.platform.RemoveFile(temp_);
  } catch (const Failure&) {
  }
  RaiseNotWritten(JournalPath(state_), commit_error, where);
}

void WriteJournal(AppState& state, const Journal& journal, Where where) {
  JournalWriter(state, where).Commit(journal, where);
}

std::optional<Journal> ReadJournal(AppState& state, Where where) {
  const std::string path = JournalPath(state);
  if (!state.platform.FileExists(path)) return std::nullopt;
  std::FILE* file = OpenFile(path, "rb");
  if (!file) RaiseErrno(errno, "Cannot read the journal " + path, where);
  std::optional<Journal> journal = ParseJournal(file);
  std::fclose(file);
  if (!journal) Raise(err::kPathFileAccess, "The journal " + path + " is damaged", where);
  return journal;
}

JournalPlan::JournalPlan(AppState& state, Where where)
    : file_(OpenFile(JournalPath(state), "rb")), separator_(state.platform.Separator()) {
  if (!file_) RaiseErrno(errno, "Cannot read the journal " + JournalPath(state), where);
}

JournalPlan::~JournalPlan() {
  std::fclose(file_);
}

bool JournalPlan::Next(PlannedRename& rename) {
  // ReadJournal has read the whole journal once and found it whole.
  while (ReadLine(file_, line_) && line_ != kEnd) {
    std::optional<std::vector<std::string>> f = Fields(line_);
    if (!f) return false;
    const std::string& key = (*f)[0];
    if (key == "in" && f->size() == 2) {
      folder_ = (*f)[1];
    } else if (key == "name" && f->size() == 3) {
      rename = {folder_, (*f)[1], (*f)[2]};
      return true;
    } else if (key == "file" && f->size() == 3 && !(*f)[2].empty()) {
      const std::string& relative = (*f)[1];
      const size_t cut = relative.rfind(separator_);
      rename = {cut == std::string::npos ? "" : relative.substr(0, cut),
                cut == std::string::npos ? relative : relative.substr(cut + 1), (*f)[2]};
      return true;
    }
  }
  return false;
}

void RemoveJournal(AppState& state, Where where) {
  for (const std::string& path : {JournalPath(state), TempPath(state)}) {
    if (state.platform.FileExists(path)) state.platform.RemoveFile(path, where);
  }
}

std::string JournalText(const Journal& journal) {
  return std::string(kHeader) + "\n" + FactsText(journal);
}

}  // namespace veilbox
