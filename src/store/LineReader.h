// Reads a file line by line through a large buffer of its own: a journal's
// plan may hold millions of lines, read back at the speed of the disk.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace veilbox {

enum class Line {
  None,    // the end of the file: no line
  Whole,   // a line ended by a line feed
  CutOff,  // a last line without one: it was cut off while it was written
};

class LineReader {
 public:
  // Reads file from where it stands when Next is first called.
  explicit LineReader(std::FILE* file);

  // The next line without its line feed. A read error ends the lines as the
  // end of the file does.
  Line Next(std::string& line);

 private:
  std::FILE* file_;
  std::vector<char> buffer_;
  size_t start_ = 0;  // the first byte of buffer_ not yet handed out
  size_t end_ = 0;    // the end of what buffer_ holds
};

}  // namespace veilbox
