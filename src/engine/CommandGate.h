// One user command at a time. A long pass or a fetch lets pending events run
// so the windows keep painting; a command that arrives meanwhile must not
// start in the middle of the running one and change the same database.
#pragma once

namespace veilbox {

class CommandGate {
 public:
  bool Busy() const { return busy_; }

  // Runs command unless another one is running; returns whether it ran.
  template <class Command>
  bool Run(Command&& command) {
    if (busy_) return false;
    busy_ = true;
    struct Release {
      bool& busy;
      ~Release() { busy = false; }
    } release{busy_};
    command();
    return true;
  }

 private:
  bool busy_ = false;
};

}  // namespace veilbox
