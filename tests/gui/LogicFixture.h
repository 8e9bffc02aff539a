// The windows' logic with no toolkit: fake views keep what the logic sets and
// call its handlers as controls would, over the real engine in a temporary home.
#pragma once

#include <map>
#include <memory>
#include <optional>

#include "gui/MainWindowDialogue.h"
#include "gui/frmAbout.h"
#include "gui/frmLogin.h"
#include "gui/frmMain.h"
#include "gui/frmOptions.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

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
  void Select(size_t row) {  // a click on a row
    selected = row;
    logic.lstFoldersPath_Click();
  }
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
  void FillList(const std::vector<ListRow>& r) override {
    rows = r;
    ticks.assign(r.size(), false);
  }
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
  void Tick(size_t row) {  // a click on a row's check box
    ticks.at(row) = !ticks.at(row);
    logic.lstFolders_Click();
  }
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
  // A fresh start of the program in the same home.
  void NewWindow() {
    window.reset();
    window = std::make_unique<FakeMain>(session, session.dialogue);
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
    dialogue.Folders({path.string()});
    window->logic.cmdAdd_Click();
  }

  std::unique_ptr<FakeMain> window;
};

}  // namespace veilbox::testing
