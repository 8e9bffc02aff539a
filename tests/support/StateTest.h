// A test with a started-up program's parts: a private temporary home, the
// scripted dialogue, the real platform and an AppState over them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/AppState.h"
#include "app/Settings.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox::testing {

class StateTest : public ::testing::Test {
 protected:
  StateTest() : platform(CreatePlatform()), state(*platform, dialogue) {}

  // A value under the program's settings key.
  std::string Setting(const std::string& name) {
    return GetString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", name);
  }

  TempHome home;
  ScriptedDialogue dialogue;
  std::unique_ptr<Platform> platform;
  AppState state;
};

}  // namespace veilbox::testing
