// A test with a started-up program's parts: a private temporary home, the
// scripted dialogue, the real platform and an Session over them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Session.h"
#include "app/Settings.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox::testing {

class StateTest : public ::testing::Test {
 protected:
  StateTest() : platform(CreatePlatform()), session(*platform, dialogue) {}

  // A value under the program's settings key.
  std::string Setting(const std::string& name) {
    return GetString(session, SettingsRoot::CurrentUser, "SOFTWARE\\TK", name);
  }

  TempHome home;
  ScriptedDialogue dialogue;
  std::unique_ptr<Platform> platform;
  Session session;
};

}  // namespace veilbox::testing
