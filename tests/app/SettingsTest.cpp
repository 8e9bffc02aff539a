#include <gtest/gtest.h>

#include "app/Settings.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

using testing::WriteText;

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : platform(CreatePlatform()), state(*platform, dialogue) {}
  std::string Get(const std::string& name) {
    return GetString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", name);
  }

  testing::TempHome home;
  testing::ScriptedDialogue dialogue;
  std::unique_ptr<Platform> platform;
  AppState state;
};

TEST_F(SettingsTest, WritesAreReadBackAtOnceAndEmptyMeansAbsent) {
  EXPECT_EQ(Get("VeilboxPassword"), "");
  EXPECT_TRUE(SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxPassword", "AB"));
  EXPECT_EQ(Get("VeilboxPassword"), "AB");
  EXPECT_TRUE(SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxPassword", ""));
  EXPECT_EQ(Get("VeilboxPassword"), "");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(SettingsTest, TextEndsAtTheFirstNulAndOtherTypesReadEmpty) {
  WriteText(home.SettingsFile(),
            R"({"SOFTWARE\\TK": {"VeilboxA": "one\u0000two", "VeilboxB": "x\u0000", "VeilboxN": 3}})");
  EXPECT_EQ(Get("VeilboxA"), "one");
  EXPECT_EQ(Get("VeilboxB"), "x");
  EXPECT_EQ(Get("VeilboxN"), "");
  EXPECT_EQ(Get("VeilboxMissing"), "");
  EXPECT_EQ(GetString(state, SettingsRoot::CurrentUser, "SOFTWARE\\None", "VeilboxA"), "");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(SettingsTest, AFailedWriteIsReported) {
  // The settings folder cannot be made: a file stands in its way.
  WriteText(home.Root() / "config" / "veilbox", "not a folder");
  dialogue.Answers({Answer::Yes});
  EXPECT_FALSE(SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxFirstTime", "No"));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
}

}  // namespace
}  // namespace veilbox
