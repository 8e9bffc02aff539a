// Holds back the requests to end the program that a user sends from the
// terminal (Ctrl-C and the like) for its lifetime; one that came meanwhile
// takes effect afterwards. posix/ and win32/ hold the two implementations.
#pragma once

#include <memory>

namespace veilbox::cli {

class EndingSignalsHeld {
 public:
  EndingSignalsHeld();
  ~EndingSignalsHeld();
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

  // Lets them through again before the end of the lifetime.
  void Release();

 private:
  struct Saved;
  std::unique_ptr<Saved> saved_;
};

}  // namespace veilbox::cli
