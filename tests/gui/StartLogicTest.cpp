// Start-up through the login window: the first run's boxes, create mode
// ending the program, enter mode opening the main window, a row a stopped
// run left half done, and the ways out.
#include "LogicFixture.h"
#include "engine/Journal.h"

namespace veilbox::testing {
namespace {

using StartLogic = LogicTest;

TEST_F(StartLogic, FirstRunCreatesThePasswordAndEndsTheProgram) {
  boxes.Answers({Answer::Yes});
  window->logic.Form_Load();
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{
                "Use this application at your own risk. Tollmark Inc is not "
                "responsible for any loss of data or any data corruption. Do you "
                "agree to this?",
                "This is your first time using this product, please enter a password."}));
  EXPECT_TRUE(state.CreatePassword);
  EXPECT_FALSE(window->visible);
  EXPECT_EQ(Login().caption, "Login");
  EXPECT_TRUE(Login().visible);
  boxes.boxes.clear();

  // Empty, a control character, and No to the confirmation: the window
  // stays with what was typed.
  for (const char* typed : {"", "Open\tSesame"}) TypePassword(typed);
  boxes.Answers({Answer::No, Answer::Yes});
  TypePassword("Open Sesame");
  EXPECT_EQ(Login().password, "Open Sesame");
  EXPECT_FALSE(HasPassword(state));
  Login().logic.cmdOK_Click();

  const std::string confirm =
      "You have entered Open Sesame as a password. Do you wish to have this as your password?";
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{"Please enter a password.", kControlCharacterText, confirm,
                                      confirm, "Please restart the application."}));
  EXPECT_TRUE(window->ended);
  EXPECT_FALSE(Login().visible);
  EXPECT_EQ(CheckPassword(state, "Open Sesame"), PasswordCheck::Right);
}

TEST_F(StartLogic, EnterModeRefusesAWrongOrDamagedPasswordThenOpensTheMainWindow) {
  KnownUser("secret");
  WriteText(home.ProgramFolder() / "Dat.sys",
            "Plans</work/<Hidden<Encrypted<Plans(1)*Notes</home/<Visible<Normal<Notes*\r\n");
  window->logic.Form_Load();
  EXPECT_TRUE(boxes.boxes.empty()) << "a known user is asked nothing before the password";
  EXPECT_EQ(window->caption, "Veilbox");

  TypePassword("Secret");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Incorrect password, please try again."});
  EXPECT_EQ(Login().password, "");
  EXPECT_FALSE(window->visible);

  TypePassword("secret");
  EXPECT_TRUE(window->visible);
  EXPECT_FALSE(Login().visible);
  EXPECT_EQ(window->caption, "Veilbox 1.04");
  ASSERT_EQ(window->rows.size(), 2u);
  EXPECT_EQ(window->rows[0], (ListRow{"Plans", "/work/", "Hidden", "Encrypted"}));
  EXPECT_EQ(window->rows[1].folder, "Notes");

  // A damaged stored password is told and opens nothing.
  NewWindow();
  boxes.boxes.clear();
  SetSetting("VeilboxPassword", "damaged");
  window->logic.Form_Load();
  TypePassword("damaged");
  ASSERT_EQ(BoxTexts(), std::vector<std::string>{kDamagedPasswordText});
  EXPECT_FALSE(window->visible);
  EXPECT_TRUE(Login().visible);
}

// The right password first finishes a hide that a stopped run left before
// its move (here nothing had moved), then the list shows.
TEST_F(StartLogic, AnInterruptedRowIsFinishedBeforeTheListShows) {
  const fs::path plans = home.MakeFolder("user/Plans");
  const fs::path store = home.MakeFolder("program/Data");
  const std::string visible = "Plans<" + plans.parent_path().string() + "/<Visible<Normal<Plans*";
  WriteText(home.ProgramFolder() / "Dat.sys", visible + "\r\n");
  Journal journal{"hide", visible, "", plans.string(), (store / "Plans").string(), {}, {}};
  journal.new_record = "Plans<" + plans.parent_path().string() + "/<Hidden<Normal<Plans*";
  WriteText(home.ProgramFolder() / "Dat.sys.journal", JournalText(journal));

  StartLoggedIn();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, "Recovery");
  EXPECT_FALSE(fs::exists(home.ProgramFolder() / "Dat.sys.journal"));
  ASSERT_EQ(window->rows.size(), 1u);
  EXPECT_EQ(window->rows[0].status, "Visible");
  EXPECT_EQ(fs::status(store).permissions(), fs::perms::none) << "locked, as the window shows";
  EXPECT_EQ(window->progress.back(), (std::pair<long, long>{0, 0})) << "the bar starts empty";
}

// Declining the agreement ends the program before any password; Cancel in
// the login window ends it too.
TEST_F(StartLogic, DecliningOrCancellingEndsTheProgram) {
  boxes.Answers({Answer::No});
  window->logic.Form_Load();
  EXPECT_TRUE(window->ended);
  EXPECT_EQ(window->login, nullptr);
  EXPECT_EQ(Setting("VeilboxFirstTime"), "");

  NewWindow();
  KnownUser();
  window->logic.Form_Load();
  Login().password = "secret";
  Login().logic.cmdCancel_Click();
  EXPECT_TRUE(window->ended);
  EXPECT_FALSE(state.DonePassword);
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
}  // namespace veilbox::testing
