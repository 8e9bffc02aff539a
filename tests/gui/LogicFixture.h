// The windows' logic in a private temporary home, with no toolkit: fake
// views that keep what the logic tells them and call its handlers as a
// toolkit's controls would, over the real engine, with every box answered by
// the scripted dialogue. The Qt views' tests share the home (HomeTest).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Constants.h"
#include "app/Password.h"
#include "app/Settings.h"
#include "diag/Failure.h"
#include "gui/MainWindowDialogue.h"
#include "gui/frmAbout.h"
#include "gui/frmLogin.h"
#include "gui/frmMain.h"
#include "gui/frmOptions.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"
#include "support/TwoDrivePlatform.h"

namespace veilbox::testing {

namespace fs = std::filesystem;

class FakeLogin : public frmLoginView {
 public:
  explicit FakeLogin(frmMain& main) : logic(*this, main) { logic.Form_Load(); }
  void SetCaption(const std::string&) override {}
  std::string Password() const override { return password; }
  void ClearPassword() override { password.clear(); }
  void Hide() override { visible = false; }

  std::string password;
  bool visible = true;
  frmLogin logic;
};

class FakeOptions : public frmOptionsView {
 public:
  explicit FakeOptions(frmMain& main) : logic(*this, main) { logic.Form_Load(); }
  void SetCaption(const std::string&) override {}
  void SetEnabled(OptionsControl c, bool on) override { enabled[c] = on; }
  void FillList(const std::vector<StoreRow>& shown) override {
    rows = shown;
    selected.reset();
  }
  std::optional<size_t> SelectedRow() const override { return selected; }
  void SelectRow(size_t row) override { selected = row; }
  void Close() override { closed = true; }
  // A click on a row.
  void Select(size_t row) {
    selected = row;
    logic.lstFoldersPath_Click();
  }

  std::map<OptionsControl, bool> enabled;
  std::vector<StoreRow> rows;
  std::optional<size_t> selected;
  bool closed = false;
  frmOptions logic;
};

class FakeAbout : public frmAboutView {
 public:
  explicit FakeAbout(frmMain& main) : logic(*this, main) { logic.Form_Load(); }
  void SetCaption(const std::string&) override {}
  void SetText(AboutControl, const std::string&) override {}
  bool StartSystemInfo() override { return system_info_starts; }
  void Close() override { closed = true; }

  bool system_info_starts = false, closed = false;
  frmAbout logic;
};

class FakeMain : public frmMainView {
 public:
  // First, so that it outlives the other windows, whose logic reaches it.
  frmMain logic;

  FakeMain(Session& session, MainWindowDialogue& dialogue) : logic(*this, session, dialogue) {}
  void SetCaption(const std::string&) override {}
  void SetLockButtonCaption(const std::string& text) override { lock_caption = text; }
  void SetEnabled(MainControl c, bool on) override { enabled[c] = on; }
  void FillList(const std::vector<ListRow>& shown) override {
    rows = shown;
    ticks.assign(shown.size(), false);
  }
  std::vector<bool> Ticks() const override { return ticks; }
  void ClearTicks() override { ticks.assign(ticks.size(), false); }
  std::string StatusChoice() const override { return status_choice; }
  void SetStatusChoice(const std::string& text) override { status_choice = text; }
  bool EncryptTicked() const override { return encrypt; }
  void SetEncryptTicked(bool on) override { encrypt = on; }
  void SetEncryptMenuChecked(bool on) override { encrypt_menu = on; }
  void SetProgress(long value, long maximum) override { progress.emplace_back(value, maximum); }
  void SetStatusLine(const std::string& text) override { lines.push_back(text); }
  void SetBusy(bool on) override { busy.push_back(on); }
  void SetVisible(bool on) override { visible = on; }
  void OpenLogin() override { login = std::make_unique<FakeLogin>(logic); }
  void OpenOptions() override {
    if (!options || options->closed) options = std::make_unique<FakeOptions>(logic);
  }
  void OpenAbout() override {
    if (!about || about->closed) about = std::make_unique<FakeAbout>(logic);
  }
  void EndProgram() override { ended = true, visible = false; }

  // A click on a row's check box.
  void Tick(size_t row) {
    ticks.at(row) = !ticks.at(row);
    logic.lstFolders_Click();
  }
  bool Busy() const { return !busy.empty() && busy.back(); }

  std::string lock_caption, status_choice;
  std::map<MainControl, bool> enabled;
  std::vector<ListRow> rows;
  std::vector<bool> ticks;
  bool encrypt = false, encrypt_menu = false, visible = false, ended = false;
  std::vector<std::pair<long, long>> progress;
  std::vector<std::string> lines;
  std::vector<bool> busy;
  std::unique_ptr<FakeLogin> login;
  std::unique_ptr<FakeOptions> options;
  std::unique_ptr<FakeAbout> about;
};

// The two drives, with settings writes that can be made to fail.
class LogicPlatform : public TwoDrivePlatform {
 public:
  using TwoDrivePlatform::TwoDrivePlatform;
  void WriteSetting(SettingsRoot root, const std::string& key_path, const std::string& name,
                    const std::string& data, Where where) override {
    if (refuse_writes) Raise(err::kPermissionDenied, "Permission denied", where);
    TwoDrivePlatform::WriteSetting(root, key_path, name, data, where);
  }
  bool refuse_writes = false;
};

// The scripted dialogue, able to run one action the next time the core lets
// events run, as a click would arrive in the middle of a pass; it notes the
// cursor over every box.
class PumpingDialogue : public ScriptedDialogue {
 public:
  std::function<void()> during_pump;
  const FakeMain* window = nullptr;
  std::vector<bool> busy_at_box;

  void PumpEvents() override {
    if (during_pump) std::exchange(during_pump, nullptr)();
  }
  Answer Show(const Wording& box) override {
    busy_at_box.push_back(window && window->Busy());
    return ScriptedDialogue::Show(box);
  }
};

// The program's session in a private temporary home, before any window.
class HomeTest : public ::testing::Test {
 protected:
  HomeTest() : dialogue(boxes), platform(home.Root() / "driveB"), session(platform, dialogue) {}

  std::string Setting(const std::string& name) {
    return GetString(session, SettingsRoot::CurrentUser, kMainKey, name);
  }
  void SetSetting(const std::string& name, const std::string& value) {
    ASSERT_TRUE(SaveString(session, SettingsRoot::CurrentUser, kMainKey, name, value));
  }
  // A program that has been started before: agreement accepted, password
  // stored (by an earlier run, so that this run's state starts empty).
  void KnownUser(const std::string& password = "secret") {
    SetSetting("VeilboxFirstTime", "No");
    ScriptedDialogue quiet;
    Session earlier(platform, quiet);
    ASSERT_TRUE(earlier.CreatePassword(password));
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : boxes.boxes) texts.push_back(box.text);
    return texts;
  }

  TempHome home;
  PumpingDialogue boxes;
  MainWindowDialogue dialogue;
  LogicPlatform platform;
  Session session;
};

class LogicTest : public HomeTest {
 protected:
  LogicTest() { NewWindow(); }

  // A fresh start of the program in the same home.
  void NewWindow() {
    window.reset();
    window = std::make_unique<FakeMain>(session, dialogue);
    boxes.window = window.get();
  }
  FakeLogin& Login() {
    EXPECT_NE(window->login, nullptr);
    return *window->login;
  }
  void TypePassword(const std::string& typed) {
    Login().password = typed;
    Login().logic.cmdOK_Click();
  }
  void StartLoggedIn() {
    KnownUser();
    window->logic.Form_Load();
    TypePassword("secret");
    ASSERT_TRUE(window->visible);
  }
  void StartUnlocked() {
    StartLoggedIn();
    window->logic.cmdUnlockFolder_Click();
  }
  void Add(const fs::path& path) {
    boxes.Folders({path.string()});
    window->logic.cmdAdd_Click();
  }

  std::unique_ptr<FakeMain> window;
};

}  // namespace veilbox::testing
