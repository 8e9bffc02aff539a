// A file opened for binary reading or writing with the C library, which works
// alike on every platform. Failures raise with the operating system's reason;
// a file written to is checked when it is closed, so a full disk is noticed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace veilbox {

class BinaryFile {
 public:
  static BinaryFile OpenForReading(const std::string& name);
  // Creates the file or empties an existing one.
  static BinaryFile OpenForWriting(const std::string& name);

  // Reads up to size bytes; fewer only at the end of the file.
  std::size_t Read(std::uint8_t* data, std::size_t size);
  // Reads exactly size bytes.
  void ReadAll(std::uint8_t* data, std::size_t size);
  void Write(const std::uint8_t* data, std::size_t size);
  // Flushes and closes a file that was written to; raises when that fails.
  void Close();

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  BinaryFile(std::unique_ptr<std::FILE, Closer> file, std::string name);

  std::unique_ptr<std::FILE, Closer> file_;
  std::string name_;
};

// Size of a file in bytes; raises when it cannot be read (a missing file
// raises error 53).
std::uintmax_t FileLength(const std::string& name);

}  // namespace veilbox
