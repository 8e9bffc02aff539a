// Start-up through the login window: the first run, create mode ending the
// program, enter mode opening the main window, and a row a stopped run left.
#include "LogicFixture.h"
#include "app/Password.h"
#include "engine/Journal.h"
#include "gui/StartStages.h"

namespace veilbox::testing {
namespace {

using StartLogic = LogicTest;

// Declining the agreement ends the program before any password. Then an
// empty password, a control character and No to the confirmation leave the
// window with what was typed; Yes stores it and ends the program.
TEST_F(StartLogic, FirstRunCreatesThePasswordAndEndsTheProgram) {
  dialogue.Answers({Answer::No});
  window->logic.Form_Load();
  EXPECT_TRUE(window->ended);
  EXPECT_EQ(window->login, nullptr);
  NewWindow();
  dialogue.boxes.clear();
  dialogue.Answers({Answer::Yes, Answer::No, Answer::Yes});
  window->logic.Form_Load();
  EXPECT_FALSE(window->visible);
  for (const char* typed : {"", "Open\tSesame", "Open Sesame"}) TypePassword(typed);
  EXPECT_EQ(window->login->password, "Open Sesame");
  EXPECT_FALSE(session.HasPassword());
  window->login->logic.cmdOK_Click();
  std::vector<std::string> titles;
  for (const ShownBox& box : dialogue.boxes) titles.push_back(box.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Agreement", "Password", "Password", "Password",
                                              "Password", "Password", kRestartTitle}));
  const auto text = [&](size_t i) { return dialogue.boxes.at(i).text; };
  EXPECT_EQ(text(1), "This is your first time using this product, please enter a password.");
  EXPECT_EQ(std::tuple(text(2), text(3), text(6)),
            std::tuple(kEnterPasswordText, kControlCharacterText, kRestartText));
  EXPECT_TRUE(window->ended);
  EXPECT_FALSE(window->login->visible);
  EXPECT_EQ(session.CheckPassword("Open Sesame"), PasswordCheck::Right);
}

// Cancel ends the program even with the right password typed. A wrong or
// damaged stored password is told, clears what was typed and opens nothing;
// the right one shows the list.
TEST_F(StartLogic, EnterModeRefusesAWrongOrDamagedPasswordThenOpensTheMainWindow) {
  KnownUser("secret");
  WriteText(home.ProgramFolder() / "Dat.sys",
            "Plans</work/<Hidden<Encrypted<Plans(1)*Notes</home/<Visible<Normal<Notes*\r\n");
  window->logic.Form_Load();
  window->login->password = "secret";
  window->login->logic.cmdCancel_Click();
  EXPECT_TRUE(window->ended);
  EXPECT_TRUE(window->rows.empty()) << "the list was never shown";
  for (const char* stored : {"", "damaged"}) {
    NewWindow();
    if (*stored) SetSetting("VeilboxPassword", stored);
    window->logic.Form_Load();
    dialogue.boxes.clear();
    TypePassword(*stored ? stored : "Secret");
    EXPECT_EQ(dialogue.boxes.size(), 1u);
    EXPECT_EQ(window->login->password, "");
    EXPECT_FALSE(window->visible);
    EXPECT_TRUE(window->login->visible);
    if (*stored) break;
    TypePassword("secret");
    EXPECT_TRUE(window->visible);
    EXPECT_FALSE(window->login->visible);
    EXPECT_EQ(window->rows, (std::vector<ListRow>{{"Plans", "/work/", "Hidden", "Encrypted"},
                                                  {"Notes", "/home/", "Visible", "Normal"}}));
  }
}

// The right password first finishes a hide that a stopped run left before
// its move (here nothing had moved), then the list shows.
TEST_F(StartLogic, AnInterruptedRowIsFinishedBeforeTheListShows) {
  const fs::path plans = home.MakeFolder("user/Plans"), store = home.MakeFolder("program/Data");
  const std::string record = "Plans<" + plans.parent_path().string() + "/<";
  WriteText(home.ProgramFolder() / "Dat.sys", record + "Visible<Normal<Plans*\r\n");
  WriteText(home.ProgramFolder() / "Dat.sys.journal",
            JournalText({"hide", *ParseRecord(record + "Visible<Normal<Plans*"),
                         ParseRecord(record + "Hidden<Normal<Plans*"), plans.string(),
                         (store / "Plans").string()}));
  StartLoggedIn(false);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Recovery");
  ASSERT_EQ(window->rows.size(), 1u);
  EXPECT_EQ(window->rows[0].status, "Visible");
  EXPECT_EQ(fs::status(store).permissions(), fs::perms::none) << "locked, as the window shows";
  EXPECT_EQ(window->progress.back(), (std::pair<long, long>{0, 0})) << "the bar starts empty";
}

}  // namespace
}  // namespace veilbox::testing
