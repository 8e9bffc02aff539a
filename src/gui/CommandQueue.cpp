#include "gui/CommandQueue.h"

#include <algorithm>

namespace veilbox {

void CommandQueue::Run(const void* owner, std::function<void()> command) {
  if (busy_) {
    waiting_.push_back({owner, std::move(command)});
    return;
  }
  busy_ = true;
  struct Release {
    bool& busy;
    ~Release() { busy = false; }
  } release{busy_};
  command();
  while (!waiting_.empty()) {
    const std::function<void()> next = std::move(waiting_.front().command);
    waiting_.pop_front();
    next();
  }
}

void CommandQueue::Forget(const void* owner) {
  std::erase_if(waiting_, [owner](const Waiting& w) { return w.owner == owner; });
}

}  // namespace veilbox
