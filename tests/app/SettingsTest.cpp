#include <gtest/gtest.h>

#include "app/Settings.h"
#include "support/HomeTest.h"

namespace veilbox {
namespace {

using testing::WriteText;

class SettingsTest : public testing::HomeTest {};

// Text ends at its first NUL, other types and missing values read empty, and
// a write (an empty text too) is read back at once and keeps the other values.
TEST_F(SettingsTest, ReadsTextToTheFirstNulAndWritesAreReadBackAtOnce) {
  WriteText(
      home.SettingsFile(),
      R"({"SOFTWARE\\TK": {"VeilboxA": "one\u0000two", "VeilboxB": "x\u0000", "VeilboxN": 3}})");
  EXPECT_EQ(Setting("VeilboxA"), "one");
  EXPECT_EQ(Setting("VeilboxB"), "x");
  EXPECT_EQ(Setting("VeilboxN"), "");
  EXPECT_EQ(Setting("VeilboxMissing"), "");
  EXPECT_EQ(GetString(session, SettingsRoot::CurrentUser, "SOFTWARE\\None", "VeilboxA"), "");
  for (const char* value : {"AB", ""}) {
    EXPECT_TRUE(SaveString(session, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxA", value));
    EXPECT_EQ(Setting("VeilboxA"), value);
  }
  EXPECT_EQ(Setting("VeilboxB"), "x");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(SettingsTest, AFailedWriteIsReported) {
  // The settings folder cannot be made: a file stands in its way.
  WriteText(home.Root() / "config" / "veilbox", "not a folder");
  dialogue.Answers({Answer::Yes});
  EXPECT_FALSE(SaveString(session, SettingsRoot::CurrentUser, kMainKey, "VeilboxFirstTime", "No"));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
}

}  // namespace
}  // namespace veilbox
