// Text and path routines used by every subsystem that reads the database,
// the store-folder list or a path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/PathSeparator.h"

namespace veilbox {

// Splits at every separator: always (separators + 1) elements, so a trailing
// separator gives an empty last element and empty text gives one element.
std::vector<std::string> SplitString(const std::string& text, char separator);

// 1-based position of the last occurrence of searched that starts at or
// before (start - length of searched + 1); 0 when absent. A start of 0 or
// beyond the text means its end.
int RInstr(const std::string& text, const std::string& searched, int start = 0);

// The last element of the path split at the separator: "/a/b" gives "b",
// "/a/b/" gives empty text.
std::string GetLastFolder(const std::string& path, char separator = kPathSeparator);

// Every element but the last, joined again: "C:\a\b" gives "C:\a"; a path
// without a separator gives empty text.
std::string GetLastFolderPath(const std::string& path, char separator = kPathSeparator);

// The text on one line: a backslash, tab, line feed and carriage return
// become "\\", "\t", "\n" and "\r", so a backslash always begins an escape.
std::string LineEscaped(const std::string& text);
// The same, appended to out.
void AppendLineEscaped(std::string& out, std::string_view text);
// Puts text with those escapes undone in out; false when an escape is
// damaged.
bool LineUnescapedInto(std::string_view text, std::string& out);

// Joins a folder and a name with exactly one separator between them.
std::string JoinPath(const std::string& folder, const std::string& name,
                     char separator = kPathSeparator);

}  // namespace veilbox
