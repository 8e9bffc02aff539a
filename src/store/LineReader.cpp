#include "store/LineReader.h"

#include <cstring>

namespace veilbox {

LineReader::LineReader(std::FILE* file) : file_(file), buffer_(1 << 16) {}

Line LineReader::Next(std::string& line) {
  line.clear();
  for (;;) {
    const char* begin = buffer_.data() + start_;
    if (const void* feed = std::memchr(begin, '\n', end_ - start_)) {
      const char* end = static_cast<const char*>(feed);
      line.append(begin, end);
      start_ = static_cast<size_t>(end - buffer_.data()) + 1;
      return Line::Whole;
    }
    line.append(begin, end_ - start_);
    start_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ == 0) return line.empty() ? Line::None : Line::CutOff;
  }
}

}  // namespace veilbox
