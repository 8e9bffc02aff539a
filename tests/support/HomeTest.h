// The one fixture of a program in a private temporary home: its program
// folder, settings and a second drive of its own (TwoDrivePlatform), every
// box answered by the scripted dialogue, and the session over them. The
// engine's, the windows' and the network's tests build on it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/Constants.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"
#include "support/TwoDrivePlatform.h"

namespace veilbox::testing {

class HomeTest : public ::testing::Test {
 protected:
  // Makes the dialogue the session talks to in front of the scripted one,
  // as a window puts its own in front of the toolkit's boxes.
  using Front = std::function<std::unique_ptr<Dialogue>(Dialogue& scripted)>;

  explicit HomeTest(const Front& front = nullptr)
      : front_(front ? front(dialogue) : nullptr),
        platform(home.Root() / "driveB"),
        session(platform, front_ ? *front_ : static_cast<Dialogue&>(dialogue)) {}

  // A value under the program's settings key.
  std::string Setting(const std::string& name) {
    return GetString(session, SettingsRoot::CurrentUser, kMainKey, name);
  }
  void SetSetting(const std::string& name, const std::string& value) {
    ASSERT_TRUE(SaveString(session, SettingsRoot::CurrentUser, kMainKey, name, value));
  }
  // A program started before: the agreement accepted and the password
  // stored, by an earlier run, so that this run's session starts empty.
  void KnownUser(const std::string& password = "secret") {
    SetSetting("VeilboxFirstTime", "No");
    ScriptedDialogue quiet;
    Session earlier(platform, quiet);
    ASSERT_TRUE(earlier.CreatePassword(password));
  }
  // The session started as a front end starts it, the agreement given.
  void StartSession() {
    SetSetting("VeilboxFirstTime", "No");
    ASSERT_EQ(session.Start(VersionCheck::Skip), StartUpResult::Continue);
  }

  TempHome home;
  ScriptedDialogue dialogue;

 private:
  std::unique_ptr<Dialogue> front_;

 protected:
  TwoDrivePlatform platform;
  Session session;
};

}  // namespace veilbox::testing
