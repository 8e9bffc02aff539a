// Reaching a path's last component through folder handles, one component at
// a time from the root, without ever following a link: what is opened is
// what the path names, even while others change the tree.
#pragma once

#include <string>

namespace veilbox::posix {

// An open file descriptor, closed when destroyed.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd();
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  bool Valid() const { return fd_ >= 0; }
  int Get() const { return fd_; }

 private:
  int fd_;
};

struct ParentWalk {
  std::string full;     // the path made absolute, "." and ".." resolved in the text
  Fd parent;            // the folder holding the last component; invalid when the walk stopped
  std::string name;     // the last component ("." for the root)
  std::string stopped;  // the path up to the component that stopped the walk
  int error = 0;        // why it stopped: ELOOP a link, ENOENT missing, ENOTDIR not a folder...
};

// Opens the folder that holds the last component of path.
ParentWalk WalkToParent(const std::string& path);

}  // namespace veilbox::posix
