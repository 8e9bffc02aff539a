// Common ground of the network tests: a private home and settings, the
// scripted dialogue with a hook on its event pump, and an environment in
// which no request leaves the machine through a proxy.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/AppState.h"
#include "platform/Environment.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"
#include "support/TestEnvironment.h"

namespace veilbox::testing {

class PumpingDialogue : public ScriptedDialogue {
 public:
  void PumpEvents() override {
    if (on_pump) on_pump();
  }
  std::function<void()> on_pump;
};

class NetTest : public ::testing::Test {
 protected:
  NetTest() : platform(CreatePlatform()), state(*platform, dialogue) { SetEnv("no_proxy", "*"); }
  ~NetTest() override {
    for (const auto& [name, value] : saved_env_) SetEnvironment(name, value);
  }

  // Sets (or, given nullopt, removes) a variable until the test ends, when
  // its value from before the test comes back.
  void SetEnv(const std::string& name, std::optional<std::string> value) {
    saved_env_.emplace(name, EnvironmentValue(name));
    SetEnvironment(name, value);
  }

  TempHome home;
  PumpingDialogue dialogue;
  std::unique_ptr<Platform> platform;
  AppState state;

 private:
  std::map<std::string, std::optional<std::string>> saved_env_;
};

}  // namespace veilbox::testing
