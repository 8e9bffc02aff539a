#include "store/TextUtil.h"

namespace veilbox {

std::vector<std::string> SplitString(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t begin = 0;
  for (size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, begin)) {
    parts.push_back(text.substr(begin, at - begin));
    begin = at + 1;
  }
  parts.push_back(text.substr(begin));
  return parts;
}

int RInstr(const std::string& text, const std::string& searched, int start) {
  const int length = static_cast<int>(text.size());
  if (start <= 0 || start > length) start = length;
  for (int pos = start - static_cast<int>(searched.size()) + 1; pos >= 1; --pos) {
    if (text.compare(pos - 1, searched.size(), searched) == 0) return pos;
  }
  return 0;
}

std::string GetLastFolder(const std::string& path, char separator) {
  return SplitString(path, separator).back();
}

std::string GetLastFolderPath(const std::string& path, char separator) {
  std::vector<std::string> parts = SplitString(path, separator);
  std::string joined;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  return joined;
}

std::string JoinPath(const std::string& folder, const std::string& name, char separator) {
  if (folder.empty()) return name;
  if (folder.back() == separator) return folder + name;
  return folder + separator + name;
}

namespace {

// The escape that stands for c in a line of text, or nullptr when c stands
// for itself.
const char* EscapeOf(char c) {
  switch (c) {
    case '\\':
      return "\\\\";
    case '\t':
      return "\\t";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    default:
      return nullptr;
  }
}

}  // namespace

std::string LineEscaped(const std::string& text) {
  std::string out;
  AppendLineEscaped(out, text);
  return out;
}

void AppendLineEscaped(std::string& out, std::string_view text) {
  size_t copied = 0;  // text before this is in out
  for (size_t i = 0; i < text.size(); ++i) {
    const char* escape = EscapeOf(text[i]);
    if (!escape) continue;
    out.append(text.substr(copied, i - copied));
    out += escape;
    copied = i + 1;
  }
  out.append(text.substr(copied));
}

bool LineUnescapedInto(std::string_view text, std::string& out) {
  out.clear();
  for (;;) {
    const size_t escape = text.find('\\');
    out.append(text.substr(0, escape));
    if (escape == std::string_view::npos) return true;
    if (escape + 1 == text.size()) return false;
    switch (text[escape + 1]) {
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
        return false;
    }
    text.remove_prefix(escape + 2);
  }
}

}  // namespace veilbox
