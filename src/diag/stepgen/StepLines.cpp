#include "diag/stepgen/StepLines.h"

namespace veilbox::stepgen {
namespace {

std::string_view Trim(std::string_view s) {
  const char* ws = " \t\r\n\f\v";
  size_t b = s.find_first_not_of(ws);
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool OnlyPunctuation(std::string_view s) {
  return s.find_first_not_of("{}();, \t") == std::string_view::npos;
}

bool IsLabel(std::string_view code) {
  for (std::string_view word : {"public:", "private:", "protected:", "default:"}) {
    if (code == word) return true;
  }
  if (!StartsWith(code, "case ")) return false;
  // "case X:" alone, or followed only by a brace.
  size_t colon = code.rfind(':');
  return colon != std::string_view::npos && colon > 0 && code[colon - 1] != ':' &&
         OnlyPunctuation(code.substr(colon + 1));
}

}  // namespace

std::string StepLineClassifier::CodeOf(std::string_view line) {
  std::string code;
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if (in_block_comment_) {
      if (c == '*' && next == '/') {
        in_block_comment_ = false;
        ++i;
      }
      continue;
    }
    if (quote) {
      code += c;
      if (c == '\\' && next) {
        code += next;
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
      continue;
    }
    if (c == '/' && next == '/') break;
    if (c == '/' && next == '*') {
      in_block_comment_ = true;
      ++i;
      continue;
    }
    if (c == '"' || c == '\'') quote = c;
    code += c;
  }
  return code;
}

bool StepLineClassifier::IsStep(std::string_view line) {
  std::string code_text = CodeOf(line);
  std::string_view code = Trim(code_text);
  if (code.empty() || code[0] == '#' || OnlyPunctuation(code)) return false;
  if (IsLabel(code)) return false;
  if (StartsWith(code, "namespace") || StartsWith(code, "using namespace")) return false;
  return true;
}

std::string StepText(std::string_view line) { return std::string(Trim(line)); }

}  // namespace veilbox::stepgen
