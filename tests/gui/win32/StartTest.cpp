// Start-up through the Windows windows: the first run from the agreement to
// the restart notice, the login in enter mode, and the ways out of it.
#include "WindowFixture.h"

namespace veilbox::testing {
namespace {

using StartTest = WindowTest;

TEST_F(StartTest, FirstRunCreatesThePasswordThroughTheKeyboardAndEnds) {
  boxes.Answers({Answer::Yes, Answer::Yes});  // the agreement, the password
  window->Logic().Form_Load();

  ASSERT_NE(window->Login(), nullptr);
  EXPECT_EQ(win32::TextOf(Login()), "Login");
  EXPECT_TRUE(IsWindowVisible(Login()));
  EXPECT_FALSE(IsWindowVisible(Main()));
  HWND field = Control(Login(), IDC_TXTPASSWORD);
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(SendMessageW(field, EM_GETPASSWORDCHAR, 0, 0), L'*');

  TypePassword("tiger");
  ASSERT_EQ(boxes.boxes.size(), 4u);
  EXPECT_EQ(boxes.boxes[0].title, "Agreement");
  EXPECT_EQ(boxes.boxes[1].text,
            "This is your first time using this product, please enter a password.");
  EXPECT_EQ(boxes.boxes[2].text,
            "You have entered tiger as a password. Do you wish to have this as your password?");
  EXPECT_EQ(boxes.boxes[3].text, "Please restart the application.");
  EXPECT_TRUE(ended);
  EXPECT_FALSE(IsWindowVisible(Main()));
  EXPECT_FALSE(Setting("VeilboxPassword").empty());
}

TEST_F(StartTest, AWrongPasswordEmptiesTheFieldAndTheRightOneOpensTheMainWindow) {
  KnownUser();
  window->Logic().Form_Load();
  TypePassword("Secret");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Incorrect password, please try again.");
  EXPECT_EQ(win32::TextOf(Control(Login(), IDC_TXTPASSWORD)), "");
  EXPECT_FALSE(IsWindowVisible(Main()));

  TypePassword("secret");
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_FALSE(IsWindowVisible(Login()));
  EXPECT_EQ(win32::TextOf(Main()), "Veilbox 1.04");
  EXPECT_FALSE(ended);
}

TEST_F(StartTest, CancelEscapeAndTheCloseBoxEachEndTheProgram) {
  KnownUser();
  const struct {
    const char* way;
    void (*act)(HWND login);
  } ways[] = {
      {"Cancel", [](HWND login) { Click(GetDlgItem(login, IDCANCEL)); }},
      {"Escape", [](HWND login) { Key(GetDlgItem(login, IDC_TXTPASSWORD), VK_ESCAPE); }},
      {"close box", [](HWND login) { SendMessageW(login, WM_CLOSE, 0, 0); }},
  };
  for (const auto& way : ways) {
    ended = false;
    window.reset();  // the old window's logic lets go of the dialogue first
    window = std::make_unique<win32::MainWindow>(session, dialogue, [this] { ended = true; });
    window->Logic().Form_Load();
    way.act(Login());
    EXPECT_TRUE(ended) << way.way;
    EXPECT_FALSE(IsWindowVisible(Main())) << way.way;
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace veilbox::testing
