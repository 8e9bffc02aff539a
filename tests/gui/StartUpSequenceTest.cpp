// Start-up through the password dialog: the first run's order of boxes,
// create mode ending the program, enter mode, and the ways out.
#include "GuiFixture.h"

#include <QLineEdit>

#include "engine/Journal.h"

namespace veilbox::testing {
namespace {

constexpr const char* kAgreement =
    "Use this application at your own risk. Tollmark Inc is not responsible for any loss of "
    "data or any data corruption. Do you agree to this?";
constexpr const char* kFirstTime =
    "This is your first time using this product, please enter a password.";

using StartUpSequence = GuiTest;

TEST_F(StartUpSequence, FirstRunAsksTheAgreementThenOpensTheDialogInCreateMode) {
  boxes.Answers({Answer::Yes});
  window->Form_Load();

  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, kAgreement);
  EXPECT_EQ(boxes.boxes[0].title, "Agreement");
  EXPECT_EQ(boxes.boxes[1].text, kFirstTime);
  EXPECT_EQ(boxes.boxes[1].title, "Password");
  EXPECT_EQ(boxes.boxes[1].icon, Icon::Information);
  EXPECT_EQ(boxes.boxes[1].buttons, Buttons::OK);
  EXPECT_EQ(Setting("VeilboxFirstTime"), "No");

  EXPECT_TRUE(state.CreatePassword);
  EXPECT_FALSE(state.EnterPassword);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(Login().isVisible());
  EXPECT_FALSE(Login().isModal());
  EXPECT_FALSE(window->ProgramEnded());
}

TEST_F(StartUpSequence, DecliningTheAgreementEndsTheProgramBeforeAnyPassword) {
  boxes.Answers({Answer::No});
  window->Form_Load();
  EXPECT_TRUE(window->ProgramEnded());
  EXPECT_EQ(window->Login(), nullptr);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(Setting("VeilboxFirstTime"), "");
}

TEST_F(StartUpSequence, CreateModeStoresThePasswordAndEndsTheProgram) {
  boxes.Answers({Answer::Yes});
  window->Form_Load();
  boxes.boxes.clear();

  // An empty field and a control character are refused; No keeps the
  // dialog with the typed text.
  Click(Login().cmdOK);
  Login().txtPassword->setText("Open\tSesame");
  Click(Login().cmdOK);
  Login().txtPassword->clear();
  boxes.Answers({Answer::No});
  QTest::keyClicks(Login().txtPassword, "Open Sesame");
  Click(Login().cmdOK);
  EXPECT_EQ(Login().txtPassword->text(), "Open Sesame");
  EXPECT_TRUE(Login().isVisible());
  EXPECT_FALSE(HasPassword(state));

  boxes.Answers({Answer::Yes});
  QTest::keyClick(Login().txtPassword, Qt::Key_Return);  // OK is the default button

  ASSERT_EQ(boxes.boxes.size(), 5u);
  EXPECT_EQ(boxes.boxes[0].text, "Please enter a password.");
  EXPECT_EQ(boxes.boxes[1].text, kControlCharacterText);
  const std::string confirm =
      "You have entered Open Sesame as a password. Do you wish to have this as your password?";
  EXPECT_EQ(boxes.boxes[2].text, confirm);
  EXPECT_EQ(boxes.boxes[2].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(boxes.boxes[3].text, confirm);
  EXPECT_EQ(boxes.boxes[4].text, "Please restart the application.");
  EXPECT_EQ(boxes.boxes[4].title, "Restart");
  EXPECT_TRUE(window->ProgramEnded());
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(Login().isVisible());
  EXPECT_EQ(CheckPassword(state, "Open Sesame"), PasswordCheck::Right);
}

TEST_F(StartUpSequence, EnterModeRefusesAWrongPasswordThenOpensTheMainWindow) {
  KnownUser("secret");
  WriteText(home.ProgramFolder() / "Dat.sys",
            "Plans</work/<Hidden<Encrypted<Plans(1)*Notes</home/<Visible<Normal<Notes*\r\n");
  window->Form_Load();
  EXPECT_TRUE(boxes.boxes.empty()) << "a known user is asked nothing before the password";
  EXPECT_TRUE(state.EnterPassword);
  EXPECT_FALSE(window->isVisible());

  TypePassword("Secret");
  ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Incorrect password, please try again."});
  EXPECT_EQ(Login().txtPassword->text(), "");
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(RowCount(), 0);

  TypePassword("secret");
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(Login().isVisible());
  EXPECT_TRUE(state.DonePassword);
  EXPECT_EQ(window->windowTitle(), "Veilbox 1.04");
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(0, 0), "Plans");
  EXPECT_EQ(Cell(0, 1), "/work/");
  EXPECT_EQ(Cell(0, 2), "Hidden");
  EXPECT_EQ(Cell(0, 3), "Encrypted");
  EXPECT_EQ(Cell(1, 0), "Notes");
  EXPECT_FALSE(Ticked(0));
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_FALSE(window->ProgramEnded());
}

TEST_F(StartUpSequence, ADamagedStoredPasswordIsToldAndOpensNothing) {
  SetSetting("VeilboxFirstTime", "No");
  SetSetting("VeilboxPassword", "damaged");
  window->Form_Load();
  TypePassword("damaged");
  ASSERT_EQ(BoxTexts(), std::vector<std::string>{kDamagedPasswordText});
  EXPECT_EQ(boxes.boxes[0].icon, Icon::Exclamation);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(Login().isVisible());
}

// A hide that a stopped run left before its move: the right password first
// finishes it (here: nothing had moved), then the list shows.
TEST_F(StartUpSequence, AnInterruptedRowIsFinishedBeforeTheListShows) {
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
  EXPECT_TRUE(fs::exists(plans));
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, 2), "Visible");
  EXPECT_EQ(fs::status(store).permissions(), fs::perms::none) << "locked, as the window shows";
}

TEST_F(StartUpSequence, CancelEscapeAndTheCloseBoxEachEndTheProgram) {
  const std::vector<std::function<void(frmLogin&)>> ways_out = {
      [](frmLogin& login) { Click(login.cmdCancel); },
      [](frmLogin& login) { QTest::keyClick(login.txtPassword, Qt::Key_Escape); },
      [](frmLogin& login) { login.close(); },
  };
  KnownUser();
  for (const auto& leave : ways_out) {
    frmMain main(state, dialogue);
    main.Form_Load();
    ASSERT_NE(main.Login(), nullptr);
    QTest::keyClicks(main.Login()->txtPassword, "secret");
    leave(*main.Login());
    EXPECT_TRUE(main.ProgramEnded());
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(state.DonePassword);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace veilbox::testing
