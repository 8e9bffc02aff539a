#include "engine/Journal.h"

#include <sstream>

#include "diag/Failure.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kHeader = "veilbox-journal 1";
constexpr const char* kEnd = "end";

std::optional<std::string> Unescaped(const std::string& text) {
  std::string out;
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

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
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

}  // namespace

std::string JournalPath(const AppState& state) {
  return state.SrcDataFilename + ".journal";
}

std::string JournalText(const Journal& j) {
  std::string text = std::string(kHeader) + "\n";
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
  for (const NameChange& change : j.names.files) {
    text += "file\t" + LineEscaped(change.relative) + "\t" + LineEscaped(change.new_name) + "\n";
  }
  return text + kEnd + "\n";
}

std::optional<Journal> ParseJournal(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  Journal j;
  bool ended = false;
  while (std::getline(in, line)) {
    if (line == kEnd) {
      ended = true;
      break;
    }
    std::vector<std::string> f = Fields(line);
    std::vector<std::string> values;
    for (size_t i = 1; i < f.size(); ++i) {
      std::optional<std::string> v = Unescaped(f[i]);
      if (!v) return std::nullopt;
      values.push_back(*v);
    }
    const std::string& key = f.empty() ? line : f[0];
    if (key == "file" && values.size() == 2) {
      j.names.files.push_back({values[0], values[1]});
    } else if (values.size() != 1) {
      return std::nullopt;
    } else if (key == "operation") {
      j.operation = values[0];
    } else if (key == "old") {
      j.old_record = values[0];
    } else if (key == "new") {
      j.new_record = values[0];
    } else if (key == "from") {
      j.from = values[0];
    } else if (key == "to") {
      j.to = values[0];
    } else if (key == "complete") {
      j.names.complete = values[0] == "yes";
    } else if (key == "folder") {
      j.folder = ParseId(values[0]);
      if (!j.folder) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!ended || j.operation.empty() || j.to.empty()) return std::nullopt;
  return j;
}

void WriteJournal(AppState& state, const Journal& journal, Where where) {
  state.platform.WriteFileAtomic(JournalPath(state), JournalText(journal), where);
}

std::optional<Journal> ReadJournal(AppState& state, Where where) {
  const std::string path = JournalPath(state);
  if (!state.platform.FileExists(path)) return std::nullopt;
  std::optional<Journal> journal = ParseJournal(state.platform.ReadFile(path, where));
  if (!journal) Raise(err::kPathFileAccess, "The journal " + path + " is damaged", where);
  return journal;
}

void RemoveJournal(AppState& state, Where where) {
  const std::string path = JournalPath(state);
  if (state.platform.FileExists(path)) state.platform.RemoveFile(path, where);
}

}  // namespace veilbox
