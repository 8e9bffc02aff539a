// Settings as read, and the start-up over them (Linux: the settings file).
#include "app/Session.h"

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "support/HomeTest.h"

namespace veilbox {
namespace {

using StartUpTest = testing::HomeTest;

// Text ends at its first NUL; a value of another type reads as no value.
TEST_F(StartUpTest, SettingsReadTextToTheFirstNul) {
  testing::WriteText(
      home.SettingsFile(),
      R"({"SOFTWARE\\TK": {"VeilboxA": "one\u0000two", "VeilboxB": "x\u0000", "VeilboxN": 3}})");
  EXPECT_EQ(std::tuple(Setting("VeilboxA"), Setting("VeilboxB"), Setting("VeilboxN"),
                       Setting("VeilboxMissing"), dialogue.boxes.size()),
            std::tuple("one", "x", "", "", 0u));
}

// A refused agreement ends the program but keeps the default store list written before it.
TEST_F(StartUpTest, FirstRunWritesTheDefaultStoreThenAsksTheAgreementUntilAccepted) {
  dialogue.Answers({Answer::No, Answer::Cancel, Answer::Yes});
  for (StartUpResult result :
       {StartUpResult::EndProgram, StartUpResult::EndProgram, StartUpResult::Continue}) {
    EXPECT_EQ(Setting("VeilboxFirstTime"), "");
    EXPECT_EQ(session.Start(), result);
    EXPECT_EQ(Setting("VeilboxHideFolderPath"), home.ProgramFolder().string() + "/Data*");
  }
  EXPECT_EQ(dialogue.boxes.at(2).text,
            "Use this application at your own risk. Tollmark Inc is not responsible for any loss "
            "of data or any data corruption. Do you agree to this?");
  EXPECT_EQ(session.key_text, std::string(kAppname) + kKeyText);
}

TEST_F(StartUpTest, AProgramFolderOthersCanChangeEndsTheProgram) {
  std::filesystem::create_directories(home.ProgramFolder());
  std::filesystem::permissions(home.ProgramFolder(), std::filesystem::perms(0770));
  EXPECT_EQ(session.Start(), StartUpResult::Refused);
  EXPECT_EQ(dialogue.boxes.at(0).text,
            "Veilbox does not use " + home.ProgramFolder().string() +
                ": it can be changed by other users (its mode is 0770). Only a folder and files "
                "of your own, which no other user can change, may hold Veilbox's list.");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), "");
}

}  // namespace
}  // namespace veilbox
