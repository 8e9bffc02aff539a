// One user command at a time, shared by every window. A long pass or a fetch
// lets pending events run so the windows keep painting; a command that
// arrives meanwhile never starts in the middle of the running one (which
// changes the same database): it waits and runs when that one has ended, in
// the order the commands arrived.
#pragma once

#include <deque>
#include <functional>

namespace veilbox {

class CommandQueue {
 public:
  bool Busy() const { return busy_; }

  // Runs command now, or after the running command (and the commands that
  // arrived before it). owner is the window the command belongs to.
  void Run(const void* owner, std::function<void()> command);

  // Drops the waiting commands of a window that goes away.
  void Forget(const void* owner);

 private:
  struct Waiting {
    const void* owner;
    std::function<void()> command;
  };

  bool busy_ = false;
  std::deque<Waiting> waiting_;
};

}  // namespace veilbox
