// The windows' logic through fake views: login, main window, preferences, about box.
#include "LogicFixture.h"
#include "app/Password.h"
#include "app/SysInfo.h"
#include "cli/RunCli.h"
#include "engine/Journal.h"
#include "engine/UnlockMarker.h"
#include "gui/PassProgress.h"
#include "gui/StartStages.h"

namespace veilbox::testing {
namespace {

using StartLogic = LogicTest;
using MainLogic = LogicTest;
using enum MainControl;
// A declined agreement ends the program; a refused or unconfirmed password keeps the login.
TEST_F(StartLogic, FirstRunCreatesThePasswordAndEndsTheProgram) {
  dialogue.Answers({Answer::No});
  window->logic.Form_Load();
  EXPECT_EQ(std::pair(window->ended, window->login == nullptr), std::pair(true, true));
  NewWindow();
  dialogue.Answers({Answer::Yes, Answer::No, Answer::Yes});
  window->logic.Form_Load();
  EXPECT_FALSE(window->visible);
  for (const char* typed : {"", "Open\tSesame", "Open Sesame"}) TypePassword(typed);
  EXPECT_EQ(window->login->password, "Open Sesame");
  EXPECT_FALSE(session.HasPassword());
  window->login->logic.cmdOK_Click();
  std::vector<std::string> titles;
  for (const ShownBox& box : dialogue.boxes) titles.push_back(box.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Agreement", "Agreement", "Password", "Password",
                                              "Password", "Password", "Password", kRestartTitle}));
  const auto text = [&](size_t i) { return dialogue.boxes.at(i).text; };
  EXPECT_EQ(std::tuple(text(2), text(3), text(4), text(7)),
            std::tuple("This is your first time using this product, please enter a password.",
                       kEnterPasswordText, kControlCharacterText, kRestartText));
  EXPECT_EQ(std::pair(window->ended, window->login->visible), std::pair(true, false));
  EXPECT_EQ(session.CheckPassword("Open Sesame"), PasswordCheck::Right);
}

// Cancel ends the program even with the right password typed; a refused one is cleared.
TEST_F(StartLogic, EnterModeRefusesAWrongOrDamagedPasswordThenOpensTheMainWindow) {
  KnownUser();
  WriteText(home.ProgramFolder() / "Dat.sys",
            "Plans</work/<Hidden<Encrypted<Plans(1)*Notes</home/<Visible<Normal<Notes*\r\n");
  window->logic.Form_Load();
  window->login->password = "secret";
  window->login->logic.cmdCancel_Click();
  EXPECT_EQ(std::pair(window->ended, window->rows.empty()), std::pair(true, true));
  for (const char* stored : {"", "damaged"}) {
    NewWindow();
    if (*stored) SetSetting("VeilboxPassword", stored);
    window->logic.Form_Load();
    dialogue.boxes.clear();
    TypePassword(*stored ? stored : "Secret");
    EXPECT_EQ(std::tuple(dialogue.boxes.size(), window->login->password, window->visible,
                         window->login->visible),
              std::tuple(1u, "", false, true));
    if (*stored) break;
    TypePassword("secret");
    EXPECT_EQ(std::pair(window->visible, window->login->visible), std::pair(true, false));
    EXPECT_EQ(window->rows, (std::vector<ListRow>{{"Plans", "/work/", "Hidden", "Encrypted"},
                                                  {"Notes", "/home/", "Visible", "Normal"}}));
  }
}

// The right password first settles a hide a stopped run left before its move.
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
  EXPECT_EQ(
      window->rows,
      (std::vector<ListRow>{{"Plans", plans.parent_path().string() + "/", "Visible", "Normal"}}));
  EXPECT_EQ(fs::status(store).permissions(), fs::perms::none) << "locked, as the window shows";
  EXPECT_EQ(window->progress.back(), (std::pair<long, long>{0, 0})) << "the bar starts empty";
}

// The store folders are open exactly while unlocked; ticks count only then.
TEST_F(MainLogic, LockStateAndTicksDecideWhatIsEnabled) {
  const fs::path store = home.MakeFolder("program/Data");
  WriteText(home.ProgramFolder() / "Dat.sys", "A</x/<Visible<Normal<A*B</x/<Visible<Normal<B*\r\n");
  StartLoggedIn(false);
  fs::permissions(store, fs::perms::none);
  const auto expect = [&](bool actions, bool status_group, std::vector<bool> ticks) {
    for (MainControl c : {lstFolders, fraAction, cmdAdd, cmdRemove, mnuAdd, mnuRemove,
                          mnuPreferences, mnuLockFolder})
      EXPECT_EQ(window->enabled.at(c), actions) << static_cast<int>(c);
    for (MainControl c :
         {fraStatus, lblStatus, cmbStatus, chkEncrypt, mnuHidden, mnuVisible, mnuEncryptfilenames})
      EXPECT_EQ(window->enabled.at(c), status_group) << static_cast<int>(c);
    EXPECT_EQ(window->enabled.at(mnuUnlockFolder), !actions);
    EXPECT_EQ(window->lock_caption, actions ? "Lock folder" : "Unlock folder");
    EXPECT_EQ(window->ticks, ticks);
    EXPECT_EQ(fs::status(store).permissions(), actions ? fs::perms::owner_all : fs::perms::none);
  };
  const auto lock = [&] { window->logic.cmdUnlockFolder_Click(); };
  expect(false, false, {false, false});
  lock();
  expect(true, false, {false, false});
  window->Tick(1);
  expect(true, true, {false, true});
  window->Tick(0);
  window->Tick(1);
  expect(true, true, {true, false});  // a row is still ticked
  lock();
  expect(false, false, {true, false});  // the lock keeps the ticks
  lock();
  expect(true, false, {false, false});  // the unlock clears them
  window->Tick(0);
  window->Tick(0);
  expect(true, false, {false, false});
  EXPECT_TRUE(dialogue.boxes.empty());
}

// A hide and a restore show a bar, status lines and the busy cursor, all cleared
// at the end. Commands that arrive during a pass run in order after it.
TEST_F(MainLogic, PassesShowTheirProgressAndCommandsDuringThemWaitForTheirEnd) {
  const fs::path plans = home.MakeFolder("user/Plans");
  for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) WriteText(plans / name, "x");
  StartLoggedIn();
  Add(plans);
  Add(home.MakeFolder("user/Notes"));
  for (const std::string verb : {"Hiding Plans", "Restoring Plans"}) {
    const std::string status = verb.starts_with("Hiding") ? kHidden : kVisible;
    window->progress.clear();
    window->lines.clear();
    window->busy.clear();
    window->Tick(0);
    window->encrypt = true;
    window->status_choice = kHidden;
    status == kHidden ? window->logic.cmbStatus_Click() : window->logic.mnuVisible_Click();
    EXPECT_EQ(
        std::tuple(window->status_choice, window->rows.at(0).status, window->rows.at(1).status),
        std::tuple(status, status, kVisible));  // an unticked row stays
    EXPECT_EQ(window->ticks, std::vector<bool>(2, false)) << "the reload clears the ticks";
    EXPECT_EQ(window->progress,
              (std::vector<std::pair<long, long>>{{0, 0}, {0, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 0}}));
    std::vector<std::string> lines{verb};
    for (char done : {'0', '1', '2', '3'}) lines.push_back(verb + ": " + done + " of 3 files");
    lines.push_back("");
    EXPECT_EQ(window->lines, lines);
    EXPECT_EQ(window->busy, (std::vector<bool>{true, false}));
  }
  window->Tick(1);
  window->logic.cmdRemove_Click();
  window->logic.cmdAdd_Click();
  ASSERT_EQ(window->rows.size(), 1u);
  EXPECT_EQ(window->rows[0].folder, "Plans");

  window->Tick(0);
  window->encrypt = true;  // the filename pass lets events run
  bool clicked = false;
  dialogue.on_show = [&] {
    if (std::exchange(clicked, true)) return;
    window->logic.cmdRemove_Click();
    window->logic.cmdUnlockFolder_Click();
    EXPECT_TRUE(window->logic.Form_QueryUnload()) << "the window stays open for now";
    EXPECT_EQ(window->lock_caption, "Lock folder") << "nothing ran yet";
  };
  window->logic.mnuHidden_Click();
  EXPECT_TRUE(clicked) << "the pass let events run";
  ASSERT_EQ(window->rows.size(), 1u);
  EXPECT_EQ(window->rows[0].status, kHidden);
  EXPECT_EQ(fs::status(home.ProgramFolder() / "Data").permissions(), fs::perms::none);
  EXPECT_EQ(std::pair(window->ended, dialogue.boxes.empty()), std::pair(true, true));
}

// A box or chooser during a pass shows the normal cursor; the busy one comes back.
TEST_F(MainLogic, BoxesDuringAPassShowTheNormalCursor) {
  std::vector<bool> busy_at_box;
  dialogue.on_show = [&] { busy_at_box.push_back(window->busy.back()); };
  Dialogue& front = session.dialogue;
  front.BeginPass("Plans");
  dialogue.Answers({Answer::No});
  front.Ask(ask::LockOnClose{});
  front.ChooseFolder(FolderChoice::Folder, "/x");
  front.EndPass();
  front.Tell("Done", "Notice");
  EXPECT_EQ(busy_at_box, (std::vector<bool>{false, false}));
  EXPECT_EQ(window->busy, (std::vector<bool>{true, false, true, false, true, false}));
}

// Only the close box stays open on Cancel, and only Yes locks the store folders.
TEST_F(MainLogic, TheLockQuestionAtTheCloseBoxAndThroughFileExit) {
  const fs::path store = home.MakeFolder("program/Data");
  using enum Answer;
  for (const auto& [exit_menu, answer, ends] : std::vector<std::tuple<bool, Answer, bool>>{
           {0, Cancel, 0}, {0, No, 1}, {0, Yes, 1}, {1, Cancel, 1}, {1, No, 1}, {1, Yes, 1}}) {
    NewWindow();
    StartLoggedIn();
    dialogue.questions.clear();
    dialogue.Answers({answer});
    if (exit_menu) {
      window->logic.mnuExit_Click();
    } else {
      EXPECT_EQ(window->logic.Form_QueryUnload(), !ends);
    }
    ASSERT_EQ(dialogue.questions.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<ask::LockOnClose>(dialogue.questions[0]));
    // Unlocked, the marker stays (held by the window, or left to the user).
    EXPECT_EQ(std::tuple(window->ended, fs::status(store).permissions() == fs::perms::none,
                         fs::exists(UnlockMarkerPath(session))),
              std::tuple(ends, answer == Yes, answer != Yes));
    fs::remove(UnlockMarkerPath(session));  // the next start is of a new process
    fs::permissions(store, fs::perms::owner_all);
  }
}

// veilbox-cli leaves the store folders as the window holds them; its lock shows later.
TEST_F(MainLogic, AnotherCopyLeavesTheStoreFoldersAsTheWindowHoldsThem) {
  const fs::path plans = home.MakeFolder("user/Plans"), store = home.ProgramFolder() / "Data";
  StartLoggedIn();
  Add(plans);
  Add(home.MakeFolder("user/Notes"));
  const fs::path scratch = home.MakeFolder("scratch");
  const auto cli = [&](std::vector<std::string> args) {
    args.insert(args.begin(), "--password-stdin");
    return RunCli(args, "secret\n", scratch).code;
  };
  EXPECT_EQ(cli({"hide", plans.string()}), 0);
  EXPECT_EQ(fs::status(store).permissions() & fs::perms::owner_all, fs::perms::owner_all);
  window->Tick(1);
  window->status_choice = kHidden;
  window->logic.cmbStatus_Click();
  EXPECT_TRUE(dialogue.boxes.empty()) << dialogue.boxes.front().text;
  EXPECT_EQ(std::tuple(window->rows.at(0).status, window->rows.at(1).status),
            std::tuple(kHidden, kHidden));  // the other copy's hide shows
  window->lines.clear();
  window->Tick(0);
  window->logic.cmdRemove_Click();
  EXPECT_EQ(window->lines.at(0), "Removing Plans");

  EXPECT_EQ(cli({"lock"}), 0);
  window->logic.Form_Activate();
  EXPECT_EQ(std::tuple(window->lock_caption, fs::status(store).permissions()),
            std::tuple("Unlock folder", fs::perms::none));
}

// 12345 reads "12,345"; 200,000 files redraw the window 1,001 times.
TEST(MainPassProgress, GroupsDigitsAndRedrawsOnlyWhenTheBarMoves) {
  for (const auto& [number, text] : std::vector<std::pair<long, std::string>>{
           {0, "0"}, {999, "999"}, {1000, "1,000"}, {12345, "12,345"}, {1234567, "1,234,567"}})
    EXPECT_EQ(GroupedDigits(number), text);
  PassProgress progress;
  progress.SetVerb("Hiding");
  progress.Begin("Plans");
  int redraws = 0;
  for (long done = 0; done <= 200000; ++done) redraws += progress.Progress(done, 200000) ? 1 : 0;
  EXPECT_EQ(redraws, 1001);
  EXPECT_EQ(progress.Progress(1, 1)->line, "Hiding Plans: 1 of 1 file");
}

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

TEST_F(PreferencesLogic, ShowsAndEditsTheRowsAndOnlyOkStoresThem) {
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
  window->logic.mnuPreferences_Click();
  EXPECT_EQ(Options().rows.size(), 2u);

  // Edit changes the selected row; a failed write keeps the window open.
  const std::string moved = (home.MakeFolder("driveB") / "Moved").string();
  dialogue.Folders({moved});
  Options().Select(1);
  Options().logic.cmdEdit_Click();
  EXPECT_EQ(Options().rows[1].path, moved);
  EXPECT_EQ(Options().selected, 1u) << "the edited row stays selected";

  platform.refuse_setting_writes = true;
  dialogue.Answers({Answer::Yes});  // the error box
  Options().logic.cmdOK_Click();
  EXPECT_FALSE(Options().closed);
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
