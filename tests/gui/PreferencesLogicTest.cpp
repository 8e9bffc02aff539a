// The preferences window's and the about box's logic: the store-folder rows
// as the window shows and edits them, OK (also one that cannot store the
// rows) and Cancel; the System Info button.
#include "LogicFixture.h"

namespace veilbox::testing {
namespace {

class PreferencesLogic : public LogicTest {
 protected:
  // Store folders on drives /A/ and /B/, and a listed folder on /A/.
  void SetUp() override {
    SetSetting("VeilboxHideFolderPath", stored);
    WriteText(home.ProgramFolder() / "Dat.sys",
              "Work<" + home.Root().string() + "/user/<Visible<Normal<Work*\r\n");
    StartUnlocked();
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

  // A second opening keeps the open window as it is.
  FakeOptions* first = &Options();
  first->rows.clear();
  window->logic.mnuPreferences_Click();
  EXPECT_EQ(&Options(), first);
  EXPECT_TRUE(Options().rows.empty());

  // Refusals come from the rules: here a drive in use by the listed folder.
  Options().logic.cmdRemove_Click();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"/A/ is being used. Please remove items from "
                                                 "the main list using /A/ before removing this "
                                                 "folder."});
  // Cancel drops the changed rows; a new opening starts from the stored list.
  Options().Select(1);
  boxes.Answers({Answer::Yes});
  Options().logic.cmdRemove_Click();
  EXPECT_EQ(Options().rows.size(), 1u);
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
  boxes.Folders({moved});
  Options().Select(1);
  Options().logic.cmdEdit_Click();
  EXPECT_EQ(boxes.chooser_titles, std::vector<std::string>{"Select Folder..."});
  EXPECT_EQ(boxes.chooser_starts, std::vector<std::string>{store_b});
  EXPECT_EQ(Options().rows[1].path, moved);
  EXPECT_EQ(Options().selected, 1u) << "the edited row stays selected";

  platform.refuse_writes = true;
  boxes.Answers({Answer::Yes});  // the error box
  Options().logic.cmdOK_Click();
  EXPECT_EQ(boxes.boxes.back().title, "Error");
  EXPECT_FALSE(Options().closed);
  EXPECT_EQ(session.stores.Text(), stored);
  platform.refuse_writes = false;
  Options().logic.cmdOK_Click();
  EXPECT_TRUE(Options().closed);
  EXPECT_EQ(session.stores.Text(), store_a + "*" + moved + "*");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store_a + "*" + moved + "*");
}

TEST_F(PreferencesLogic, TheAboutBoxSaysWhenSystemInfoCannotStart) {
  window->logic.mnuAboutVeilbox_Click();
  FakeAbout& about = *window->about;
  for (bool starts : {true, false}) {
    about.system_info_starts = starts;
    about.logic.cmdSysInfo_Click();
    EXPECT_EQ(boxes.boxes.size(), starts ? 0u : 1u);
  }
  EXPECT_EQ(boxes.boxes[0].text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(boxes.boxes[0].title, "Veilbox");
  about.logic.cmdOK_Click();
  EXPECT_TRUE(about.closed);
}

}  // namespace
}  // namespace veilbox::testing
