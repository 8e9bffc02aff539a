#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/StartUp.h"
#include "support/StateTest.h"

namespace veilbox {
namespace {

constexpr const char* kAgreement =
    "Use this application at your own risk. Tollmark Inc is not responsible for any loss of "
    "data or any data corruption. Do you agree to this?";

class StartUpTest : public testing::StateTest {};

TEST_F(StartUpTest, FirstRunWritesTheDefaultStoreThenAsksTheAgreement) {
  const std::string program = home.ProgramFolder().string();
  dialogue.Answers({Answer::Yes});
  EXPECT_EQ(StartUp(state), StartUpResult::Continue);

  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].text, kAgreement);
  EXPECT_EQ(dialogue.boxes[0].title, "Agreement");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::Question);
  EXPECT_EQ(dialogue.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), program + "/Data*");
  EXPECT_EQ(Setting("VeilboxFirstTime"), "No");

  EXPECT_EQ(state.Appname, "Veilbox");
  EXPECT_EQ(state.MainKey, "SOFTWARE\\TK");
  EXPECT_EQ(state.CurrentVersion, "1.04");
  EXPECT_EQ(state.SrcDataFilename, program + "/Dat.sys");
  EXPECT_EQ(state.HideFolderPath, program + "/Data*");
  EXPECT_EQ(state.WinPath, "");
  EXPECT_EQ(state.EncryptDecryptKey.size(), 24u);
  EXPECT_TRUE(state.EncryptDecryptKey.starts_with("Veilbox"));
  EXPECT_FALSE(std::filesystem::exists(home.ProgramFolder() / "Data"))
      << "the store folder is made when a folder first goes into it";

  // The second run of a start asks nothing.
  EXPECT_EQ(StartUp(state), StartUpResult::Continue);
  EXPECT_EQ(dialogue.boxes.size(), 1u);
}

TEST_F(StartUpTest, DecliningTheAgreementEndsTheProgramAndAsksAgainNextTime) {
  for (Answer answer : {Answer::No, Answer::Cancel}) {
    dialogue.Answers({answer});
    EXPECT_EQ(StartUp(state), StartUpResult::EndProgram);
    EXPECT_EQ(Setting("VeilboxFirstTime"), "");
    EXPECT_NE(Setting("VeilboxHideFolderPath"), "");
  }
  EXPECT_EQ(dialogue.boxes.size(), 2u);
}

TEST_F(StartUpTest, AStoredStoreListIsUsedUnchanged) {
  ASSERT_TRUE(SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxHideFolderPath",
                         "/media/a/Store*"));
  ASSERT_TRUE(
      SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxFirstTime", "x"));
  EXPECT_EQ(StartUp(state), StartUpResult::Continue);
  EXPECT_EQ(state.HideFolderPath, "/media/a/Store*");
  EXPECT_TRUE(dialogue.boxes.empty());
}

}  // namespace
}  // namespace veilbox
