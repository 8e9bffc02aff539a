// Start-up through the login window: the first run's boxes, create mode
// ending the program, enter mode opening the main window, a row a stopped
// run left half done, and the ways out.
#include "LogicFixture.h"
#include "engine/Journal.h"

namespace veilbox::testing {
namespace {

using StartLogic = LogicTest;

// The agreement, then the password to create: an empty one, one with a
// control character, and No to the confirmation leave the window with what
// was typed; Yes stores it and ends the program.
TEST_F(StartLogic, FirstRunCreatesThePasswordAndEndsTheProgram) {
  boxes.Answers({Answer::Yes, Answer::No, Answer::Yes});
  window->logic.Form_Load();
  EXPECT_FALSE(window->visible);
  for (const char* typed : {"", "Open\tSesame", "Open Sesame"}) TypePassword(typed);
  EXPECT_EQ(Login().password, "Open Sesame");
  EXPECT_FALSE(session.HasPassword());
  Login().logic.cmdOK_Click();

  const std::string confirm =
      "You have entered Open Sesame as a password. Do you wish to have this as your password?";
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "Use this application at your own risk. Tollmark Inc is not "
                            "responsible for any loss of data or any data corruption. Do you "
                            "agree to this?",
                            "This is your first time using this product, please enter a password.",
                            "Please enter a password.", kControlCharacterText, confirm, confirm,
                            "Please restart the application."}));
  EXPECT_TRUE(window->ended);
  EXPECT_FALSE(Login().visible);
  EXPECT_EQ(session.CheckPassword("Open Sesame"), PasswordCheck::Right);
}

// A wrong password is told and cleared; the right one opens the list; a
// damaged stored password is told and opens nothing.
TEST_F(StartLogic, EnterModeRefusesAWrongOrDamagedPasswordThenOpensTheMainWindow) {
  KnownUser("secret");
  WriteText(home.ProgramFolder() / "Dat.sys",
            "Plans</work/<Hidden<Encrypted<Plans(1)*Notes</home/<Visible<Normal<Notes*\r\n");
  window->logic.Form_Load();
  TypePassword("Secret");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Incorrect password, please try again."});
  EXPECT_EQ(Login().password, "");
  EXPECT_FALSE(window->visible);

  TypePassword("secret");
  EXPECT_TRUE(window->visible);
  EXPECT_FALSE(Login().visible);
  ASSERT_EQ(window->rows.size(), 2u);
  EXPECT_EQ(window->rows[0], (ListRow{"Plans", "/work/", "Hidden", "Encrypted"}));
  EXPECT_EQ(window->rows[1].folder, "Notes");

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
  const std::string record = "Plans<" + plans.parent_path().string() + "/<";
  WriteText(home.ProgramFolder() / "Dat.sys", record + "Visible<Normal<Plans*\r\n");
  Journal journal{"hide", *ParseRecord(record + "Visible<Normal<Plans*"),
                  ParseRecord(record + "Hidden<Normal<Plans*"), plans.string(),
                  (store / "Plans").string()};
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
// the login window ends it too, even with the right password typed.
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
  EXPECT_TRUE(window->rows.empty()) << "the list was never shown";
}

}  // namespace
}  // namespace veilbox::testing
