// The preferences window's logic: the store-folder rows as it shows and
// edits them, OK and Cancel; the about box's System Info button.
#include "LogicFixture.h"
#include "app/SysInfo.h"

namespace veilbox::testing {
namespace {

class PreferencesLogic : public LogicTest {
 protected:
  void SetUp() override {  // store folders on drives /A/ and /B/, a listed folder on /A/
    SetSetting("VeilboxHideFolderPath", stored);
    WriteText(home.ProgramFolder() / "Dat.sys",
              "Work<" + home.Root().string() + "/user/<Visible<Normal<Work*\r\n");
    StartLoggedIn();
    window->logic.mnuPreferences_Click();
    ASSERT_NE(window->options, nullptr);
  }
  FakeOptions& Options() { return *window->options; }

  const std::string store_a = (home.Root() / "Store").string();
  const std::string store_b = (home.Root() / "driveB" / "Store").string();
  const std::string stored = store_a + "*" + store_b + "*";
};

TEST_F(PreferencesLogic, ShowsTheRowsAndEnablesEditAndRemoveOnceARowIsSelected) {
  EXPECT_EQ(Options().rows, (std::vector<StoreRow>{{"/A/", store_a}, {"/B/", store_b}}));
  using enum OptionsControl;
  EXPECT_FALSE(Options().enabled[cmdEdit] || Options().enabled[cmdRemove]);
  Options().Select(0);
  EXPECT_TRUE(Options().enabled[cmdEdit] && Options().enabled[cmdRemove]);

  Options().logic.cmdRemove_Click();  // refused with a box: the listed folder's drive
  EXPECT_EQ(dialogue.boxes.size(), 1u);
  Options().Select(1);  // Cancel drops the changed rows; a new opening starts from the stored list
  dialogue.Answers({Answer::Yes});
  Options().logic.cmdRemove_Click();
  EXPECT_EQ(Options().rows, (std::vector<StoreRow>{{"/A/", store_a}}));
  Options().logic.cmdCancel_Click();
  EXPECT_TRUE(Options().closed);
  EXPECT_EQ(session.stores.Text(), stored);
  window->logic.mnuPreferences_Click();
  EXPECT_EQ(Options().rows.size(), 2u);
}

// Nothing is stored before OK; a failed write keeps the window open with the
// edited rows, and a second OK stores them.
TEST_F(PreferencesLogic, EditOpensTheChooserAtTheRowAndOkStoresTheRows) {
  const std::string moved = (home.MakeFolder("driveB") / "Moved").string();
  dialogue.Folders({moved});
  Options().Select(1);
  Options().logic.cmdEdit_Click();
  EXPECT_EQ(dialogue.chooser_starts, std::vector<std::string>{store_b});
  EXPECT_EQ(Options().rows[1].path, moved);
  EXPECT_EQ(Options().selected, 1u) << "the edited row stays selected";

  platform.refuse_setting_writes = true;
  dialogue.Answers({Answer::Yes});  // the error box
  Options().logic.cmdOK_Click();
  EXPECT_EQ(dialogue.boxes.at(0).title, "Error");
  EXPECT_FALSE(Options().closed);
  EXPECT_EQ(session.stores.Text(), stored);
  platform.refuse_setting_writes = false;
  Options().logic.cmdOK_Click();
  EXPECT_TRUE(Options().closed);
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store_a + "*" + moved + "*");
}

TEST_F(PreferencesLogic, TheAboutBoxSaysWhenSystemInfoCannotStart) {
  window->logic.mnuAboutVeilbox_Click();
  FakeAbout& about = *window->about;
  for (bool starts : {true, false}) {
    about.system_info_starts = starts;
    about.logic.cmdSysInfo_Click();
    EXPECT_EQ(dialogue.boxes.size(), starts ? 0u : 1u);
  }
  EXPECT_EQ(std::tie(dialogue.boxes[0].text, dialogue.boxes[0].title),
            std::tuple(kSysInfoUnavailable, "Veilbox"));
  about.logic.cmdOK_Click();
  EXPECT_TRUE(about.closed);
}

}  // namespace
}  // namespace veilbox::testing
