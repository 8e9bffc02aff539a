// The windows' logic through fake views that keep what it sets, over the real engine.
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "app/Password.h"
#include "app/SysInfo.h"
#include "engine/Journal.h"
#include "engine/UnlockMarker.h"
#include "gui/MainWindowDialogue.h"
#include "gui/PassProgress.h"
#include "gui/StartStages.h"
#include "gui/frmAbout.h"
#include "gui/frmLogin.h"
#include "gui/frmMain.h"
#include "gui/frmOptions.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

struct FakeLogin : frmLoginView {
  explicit FakeLogin(frmMain& main) : logic(*this, main) { logic.Form_Load(); }
  void SetCaption(const std::string&) override {}
  std::string Password() const override { return password; }
  void ClearPassword() override { password.clear(); }
  void Hide() override { visible = false; }
  std::string password;
  bool visible = true;
  frmLogin logic;
};

struct FakeOptions : frmOptionsView {
  explicit FakeOptions(frmMain& main) : logic(*this, main) { logic.Form_Load(); }
  void SetCaption(const std::string&) override {}
  void SetEnabled(OptionsControl c, bool on) override { enabled[c] = on; }
  void FillList(const std::vector<StoreRow>& shown) override { rows = shown, selected.reset(); }
  std::optional<size_t> SelectedRow() const override { return selected; }
  void SelectRow(size_t row) override { selected = row; }
  void Close() override { closed = true; }
  void Select(size_t row) { selected = row, logic.lstFoldersPath_Click(); }  // a click on a row
  std::map<OptionsControl, bool> enabled;
  std::vector<StoreRow> rows;
  std::optional<size_t> selected;
  bool closed = false;
  frmOptions logic;
};

struct FakeAbout : frmAboutView {
  explicit FakeAbout(frmMain& main) : logic(*this, main) { logic.Form_Load(); }
  void SetCaption(const std::string&) override {}
  void SetText(AboutControl, const std::string&) override {}
  bool StartSystemInfo() override { return system_info_starts; }
  void Close() override { closed = true; }
  bool system_info_starts = false, closed = false;
  frmAbout logic;
};

struct FakeMain : frmMainView {
  frmMain logic;  // first, so that the other windows, which reach it, go before it
  FakeMain(Session& session, Dialogue& front)
      : logic(*this, session, static_cast<MainWindowDialogue&>(front)) {}
  void SetCaption(const std::string&) override {}
  void SetLockButtonCaption(const std::string& text) override { lock_caption = text; }
  void SetEnabled(MainControl c, bool on) override { enabled[c] = on; }
  void FillList(const std::vector<ListRow>& r) override { rows = r, ticks.assign(r.size(), 0); }
  std::vector<bool> Ticks() const override { return ticks; }
  void ClearTicks() override { ticks.assign(ticks.size(), false); }
  std::string StatusChoice() const override { return status_choice; }
  void SetStatusChoice(const std::string& text) override { status_choice = text; }
  bool EncryptTicked() const override { return encrypt; }
  void SetEncryptTicked(bool on) override { encrypt = on; }
  void SetEncryptMenuChecked(bool) override {}
  void SetProgress(long value, long maximum) override { progress.emplace_back(value, maximum); }
  void SetStatusLine(const std::string& text) override { lines.push_back(text); }
  void SetBusy(bool on) override { busy.push_back(on); }
  void SetVisible(bool on) override { visible = on; }
  void OpenLogin() override { login = std::make_unique<FakeLogin>(logic); }
  void OpenOptions() override { options = std::make_unique<FakeOptions>(logic); }
  void OpenAbout() override { about = std::make_unique<FakeAbout>(logic); }
  void EndProgram() override { ended = true, visible = false; }
  void Tick(size_t row) { ticks.at(row) = !ticks.at(row), logic.lstFolders_Click(); }  // a click
  std::string lock_caption, status_choice;
  std::map<MainControl, bool> enabled;
  std::vector<ListRow> rows;
  std::vector<bool> ticks, busy;
  bool encrypt = false, visible = false, ended = false;
  std::vector<std::pair<long, long>> progress;
  std::vector<std::string> lines;
  std::unique_ptr<FakeLogin> login;
  std::unique_ptr<FakeOptions> options;
  std::unique_ptr<FakeAbout> about;
};

class LogicTest : public HomeTest {
 protected:
  LogicTest() : HomeTest([](Dialogue& d) { return std::make_unique<MainWindowDialogue>(d); }) {
    NewWindow();
  }
  void NewWindow() {  // a fresh start of the program in the same home (the old one goes first)
    window.reset(), window = std::make_unique<FakeMain>(session, session.dialogue);
  }
  void TypePassword(const std::string& typed) {
    ASSERT_NE(window->login, nullptr);
    window->login->password = typed;
    window->login->logic.cmdOK_Click();
  }
  void StartLoggedIn(bool unlock = true) {
    KnownUser();
    window->logic.Form_Load();
    TypePassword("secret");
    ASSERT_TRUE(window->visible);
    if (unlock) window->logic.cmdUnlockFolder_Click();
  }
  void Add(const fs::path& path) {
    dialogue.Folders({path.string()}), window->logic.cmdAdd_Click();
  }

  std::unique_ptr<FakeMain> window;
};
using enum MainControl;

// A declined agreement ends the program; a refused or unconfirmed password keeps the login.
TEST_F(LogicTest, FirstRunCreatesThePasswordAndEndsTheProgram) {
  dialogue.Answers({Answer::No});
  window->logic.Form_Load();
  EXPECT_EQ(std::pair(window->ended, window->login == nullptr), std::pair(true, true));
  NewWindow();
  dialogue.Answers({Answer::Yes, Answer::No, Answer::Yes});
  window->logic.Form_Load();
  for (const char* typed : {"", "Open\tSesame", "Open Sesame"}) TypePassword(typed);
  window->login->logic.cmdOK_Click();  // the unconfirmed password stays typed
  std::string titles;
  for (const ShownBox& box : dialogue.boxes) titles += box.title + " ";
  EXPECT_EQ(titles, "Agreement Agreement Password Password Password Password Password Restart ");
  EXPECT_EQ(std::tuple(dialogue.boxes.at(3).text, dialogue.boxes.at(4).text),
            std::tuple(kEnterPasswordText, kControlCharacterText));
  EXPECT_EQ(std::tuple(window->ended, window->login->visible, session.CheckPassword("Open Sesame")),
            std::tuple(true, false, PasswordCheck::Right));
}

// A wrong password is cleared; the right one settles a stopped hide, then shows the list.
TEST_F(LogicTest, EnterModeRefusesAWrongPasswordThenSettlesAStoppedRunAndShowsTheList) {
  const fs::path plans = home.MakeFolder("user/Plans"), store = home.MakeFolder("program/Data");
  const std::string user = plans.parent_path().string() + "/", record = "Plans<" + user + "<";
  WriteText(home.ProgramFolder() / "Dat.sys", record + "Visible<Normal<Plans*\r\n");
  WriteText(home.ProgramFolder() / "Dat.sys.journal",
            JournalText({"hide", *ParseRecord(record + "Visible<Normal<Plans*"),
                         ParseRecord(record + "Hidden<Normal<Plans*"), plans.string(),
                         (store / "Plans").string()}));
  KnownUser();
  window->logic.Form_Load();
  TypePassword("Secret");
  EXPECT_EQ(std::tuple(dialogue.boxes.size(), window->login->password, window->visible,
                       window->login->visible),
            std::tuple(1u, "", false, true));
  TypePassword("secret");
  EXPECT_EQ(std::tuple(window->visible, window->login->visible, dialogue.boxes.size(),
                       dialogue.boxes.at(1).title, fs::status(store).permissions()),
            std::tuple(true, false, 2u, "Recovery", fs::perms::none));
  EXPECT_EQ(window->rows, (std::vector<ListRow>{{"Plans", user, "Visible", "Normal"}}));
}

// The store folders are open exactly while unlocked; ticks count only then.
TEST_F(LogicTest, LockStateAndTicksDecideWhatIsEnabled) {
  const fs::path store = home.MakeFolder("program/Data");
  WriteText(home.ProgramFolder() / "Dat.sys", "A</x/<Visible<Normal<A*B</x/<Visible<Normal<B*\r\n");
  StartLoggedIn(false);
  fs::permissions(store, fs::perms::none);
  const std::set status_group{fraStatus, lblStatus,  cmbStatus,          chkEncrypt,
                              mnuHidden, mnuVisible, mnuEncryptfilenames};
  // Clicks ("L" the lock button, a digit a row's tick); then actions and status group on, ticks.
  const std::pair<std::string, std::string> steps[] = {
      {"", "00 00"},  {"L", "10 00"}, {"1", "11 01"}, {"01", "11 10"},
      {"L", "00 10"}, {"L", "10 00"}, {"00", "10 00"}};
  for (const auto& [clicks, want] : steps) {
    for (char c : clicks) c == 'L' ? window->logic.cmdUnlockFolder_Click() : window->Tick(c - '0');
    const bool actions = want[0] == '1', status = want[1] == '1';
    EXPECT_EQ(window->enabled.size(), 16u);
    for (const auto& [c, on] : window->enabled)  // File > Unlock folder the other way
      EXPECT_EQ(on, (status_group.contains(c) ? status : actions) != (c == mnuUnlockFolder))
          << clicks << " " << static_cast<int>(c);
    std::string ticks;
    for (bool t : window->ticks) ticks += t ? '1' : '0';
    EXPECT_EQ(std::tuple(window->lock_caption, ticks, fs::status(store).permissions()),
              std::tuple(actions ? "Lock folder" : "Unlock folder", want.substr(3),
                         actions ? fs::perms::owner_all : fs::perms::none))
        << clicks;
  }
}

// Passes show a bar, lines and the busy cursor; commands during one run after it, in order.
TEST_F(LogicTest, PassesShowTheirProgressAndCommandsDuringThemWaitForTheirEnd) {
  const fs::path plans = home.MakeFolder("user/Plans");
  for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) WriteText(plans / name, "x");
  StartLoggedIn();
  Add(plans);
  Add(home.MakeFolder("user/Notes"));
  for (const std::string verb : {"Hiding Plans", "Restoring Plans"}) {
    const std::string status = verb.starts_with("Hiding") ? kHidden : kVisible;
    window->progress.clear(), window->lines.clear(), window->busy.clear();
    window->Tick(0);
    window->encrypt = true;
    window->status_choice = kHidden;
    status == kHidden ? window->logic.cmbStatus_Click() : window->logic.mnuVisible_Click();
    // An unticked row stays; the reload clears the ticks.
    EXPECT_EQ(std::tuple(window->status_choice, window->rows.at(0).status,
                         window->rows.at(1).status, window->ticks, window->busy),
              std::tuple(status, status, kVisible, std::vector<bool>(2, false),
                         std::vector<bool>{true, false}));
    EXPECT_EQ(window->progress,
              (std::vector<std::pair<long, long>>{{0, 0}, {0, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 0}}));
    std::vector<std::string> lines{verb};
    for (char done : {'0', '1', '2', '3'}) lines.push_back(verb + ": " + done + " of 3 files");
    lines.push_back("");
    EXPECT_EQ(window->lines, lines);
  }
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
  window->logic.mnuHidden_Click();  // the pass lets the clicks in, then runs them
  EXPECT_EQ(std::tuple(clicked, window->rows.at(0).status, window->rows.size(),
                       fs::status(home.ProgramFolder() / "Data").permissions(), window->ended,
                       dialogue.boxes.empty()),
            std::tuple(true, kHidden, 2u, fs::perms::none, true, true));
}

// Only the close box stays open on Cancel; only Yes locks, else the unlock marker stays.
TEST_F(LogicTest, TheLockQuestionAtTheCloseBoxAndThroughFileExit) {
  const fs::path store = home.MakeFolder("program/Data");
  using enum Answer;
  for (const auto& [exit_menu, answer, ends] : std::vector<std::tuple<bool, Answer, bool>>{
           {0, Cancel, 0}, {0, No, 1}, {0, Yes, 1}, {1, Cancel, 1}, {1, No, 1}, {1, Yes, 1}}) {
    NewWindow();
    StartLoggedIn();
    dialogue.Answers({answer});  // a second question would fail as unexpected
    const bool stays =
        exit_menu ? (window->logic.mnuExit_Click(), false) : window->logic.Form_QueryUnload();
    EXPECT_EQ(std::tuple(window->ended, stays, fs::status(store).permissions() == fs::perms::none,
                         fs::exists(UnlockMarkerPath(session))),
              std::tuple(ends, !ends, answer == Yes, answer != Yes));
    fs::remove(UnlockMarkerPath(session));  // the next start is of a new process
    fs::permissions(store, fs::perms::owner_all);
  }
}

// A command starts from the list another copy left; its lock shows at the next activation.
TEST_F(LogicTest, CommandsStartFromWhatAnotherCopyLeft) {
  StartLoggedIn();
  Add(home.MakeFolder("user/Plans"));
  Add(home.MakeFolder("user/Notes"));
  const std::string notes = "Notes<" + home.Root().string() + "/user/<";
  WriteText(home.ProgramFolder() / "Dat.sys", notes + "Visible<Normal<Notes*\r\n");
  window->Tick(1);
  window->status_choice = kHidden;
  window->logic.cmbStatus_Click();
  EXPECT_EQ(window->rows,
            (std::vector<ListRow>{{"Notes", home.Root().string() + "/user/", kHidden, "Normal"}}));
  window->lines.clear();
  window->Tick(0);
  window->logic.cmdRemove_Click();
  EXPECT_EQ(std::tuple(window->lines.at(0), window->rows.size()), std::tuple("Removing Notes", 0u));
  LockForUser(session);  // as another copy's lock
  window->logic.Form_Activate();
  EXPECT_EQ(
      std::tuple(window->lock_caption, fs::status(home.ProgramFolder() / "Data").permissions()),
      std::tuple("Unlock folder", fs::perms::none));
}

// 200,000 files redraw the window 1,001 times; counts show their digits grouped.
TEST(MainPassProgress, GroupsDigitsAndRedrawsOnlyWhenTheBarMoves) {
  PassProgress progress;
  progress.SetVerb("Hiding");
  progress.Begin("Plans");
  int redraws = 0;
  for (long done = 0; done <= 200000; ++done) redraws += progress.Progress(done, 200000) ? 1 : 0;
  EXPECT_EQ(redraws, 1001);
  EXPECT_EQ(progress.Progress(999, 1234567)->line, "Hiding Plans: 999 of 1,234,567 files");
}

// Cancel drops the changed rows; a failed write keeps the window open, to try again.
TEST_F(LogicTest, PreferencesShowAndEditTheRowsAndOnlyOkStoresThem) {
  const std::string store_a = (home.Root() / "Store").string();
  const std::string store_b = (home.Root() / "driveB" / "Store").string();
  SetSetting("VeilboxHideFolderPath", store_a + "*" + store_b + "*");
  StartLoggedIn();
  window->logic.mnuPreferences_Click();
  FakeOptions& options = *window->options;
  EXPECT_EQ(options.rows, (std::vector<StoreRow>{{"/A/", store_a}, {"/B/", store_b}}));
  using enum OptionsControl;
  EXPECT_FALSE(options.enabled[cmdEdit] || options.enabled[cmdRemove]);
  options.Select(1);
  EXPECT_TRUE(options.enabled[cmdEdit] && options.enabled[cmdRemove]);
  dialogue.Answers({Answer::Yes});
  options.logic.cmdRemove_Click();
  options.logic.cmdCancel_Click();
  EXPECT_EQ(std::tuple(options.rows, options.closed),
            std::tuple(std::vector<StoreRow>{{"/A/", store_a}}, true));
  window->logic.mnuPreferences_Click();
  FakeOptions& again = *window->options;

  const std::string moved = (home.MakeFolder("driveB") / "Moved").string();
  dialogue.Folders({moved});
  again.Select(1);
  again.logic.cmdEdit_Click();
  platform.refuse_setting_writes = true;
  dialogue.Answers({Answer::Yes});  // the error box
  again.logic.cmdOK_Click();
  EXPECT_FALSE(again.closed);
  platform.refuse_setting_writes = false;
  again.logic.cmdOK_Click();
  EXPECT_EQ(std::pair(again.closed, Setting("VeilboxHideFolderPath")),
            std::pair(true, store_a + "*" + moved + "*"));
}

TEST_F(LogicTest, TheAboutBoxSaysWhenSystemInfoCannotStartAndDropsItsClicksOnClosing) {
  window->logic.mnuAboutVeilbox_Click();
  FakeAbout& about = *window->about;
  about.logic.cmdSysInfo_Click();  // System Info does not start
  EXPECT_EQ(dialogue.boxes.at(0).text, kSysInfoUnavailable);
  // A box closed while its click waits for the running command drops that click.
  std::optional<frmAbout> closing(std::in_place, about, window->logic);
  window->logic.Commands().Run(nullptr, [&] { closing->cmdSysInfo_Click(), closing.reset(); });
  EXPECT_EQ(dialogue.boxes.size(), 1u);
}

}  // namespace
}  // namespace veilbox::testing
