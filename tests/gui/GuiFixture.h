// A desktop program in a private temporary home: the real windows over the
// real engine, every box answered by the scripted dialogue, and helpers that
// drive the windows the way a user does.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "app/Constants.h"
#include "app/Password.h"
#include "app/Settings.h"
#include "app/frmLogin.h"
#include "engine/MainWindowDialogue.h"
#include "engine/frmMain.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"
#include "support/TwoDrivePlatform.h"

// Readable failures for Qt texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace veilbox::testing {

namespace fs = std::filesystem;

// The scripted dialogue, able to run one action the next time the core lets
// events run, as a user's click would arrive in the middle of a pass.
class PumpingDialogue : public ScriptedDialogue {
 public:
  std::function<void()> during_pump;
  int pumps = 0;
  void PumpEvents() override {
    ++pumps;
    if (during_pump) std::exchange(during_pump, nullptr)();
  }
};

class GuiTest : public ::testing::Test {
 protected:
  GuiTest()
      : dialogue(boxes),
        platform(home.Root() / "driveB"),
        state(platform, dialogue),
        window(std::make_unique<frmMain>(state, dialogue)) {}

  std::string Setting(const std::string& name) {
    return GetString(state, SettingsRoot::CurrentUser, kMainKey, name);
  }
  void SetSetting(const std::string& name, const std::string& value) {
    ASSERT_TRUE(SaveString(state, SettingsRoot::CurrentUser, kMainKey, name, value));
  }

  // A program that has been started before: agreement accepted, password
  // stored.
  void KnownUser(const std::string& password = "secret") {
    SetSetting("VeilboxFirstTime", "No");
    ScriptedDialogue quiet;
    AppState earlier(platform, quiet);
    earlier.Appname = kAppname;
    earlier.MainKey = kMainKey;
    earlier.EncryptDecryptKey = std::string(kAppname) + kKeyText;
    ASSERT_TRUE(StorePassword(earlier, password));
  }

  frmLogin& Login() {
    frmLogin* login = window->Login();
    EXPECT_NE(login, nullptr);
    return *login;
  }
  void TypePassword(const std::string& typed) {
    Login().txtPassword->clear();
    QTest::keyClicks(Login().txtPassword, QString::fromStdString(typed));
    Click(Login().cmdOK);
  }

  // Starts a known user's program and gives the right password.
  void StartLoggedIn() {
    KnownUser();
    window->Form_Load();
    TypePassword("secret");
    ASSERT_TRUE(window->isVisible());
  }
  void StartUnlocked() {
    StartLoggedIn();
    Click(window->cmdUnlockFolder);
  }

  // Adds a folder through the Add button, choosing path in the chooser.
  void AddThroughButton(const fs::path& path) {
    boxes.Folders({path.string()});
    Click(window->cmdAdd);
  }

  static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  QTreeWidgetItem* Row(int index) { return window->lstFolders->topLevelItem(index); }
  int RowCount() { return window->lstFolders->topLevelItemCount(); }
  std::string Cell(int row, int column) { return Row(row)->text(column).toStdString(); }

  // A click on a row's check box, where a user clicks.
  void ClickTick(int index) {
    QTreeWidget* list = window->lstFolders;
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualItemRect(Row(index));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
  }
  bool Ticked(int index) { return Row(index)->checkState(0) == Qt::Checked; }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : boxes.boxes) texts.push_back(box.text);
    return texts;
  }

  TempHome home;
  PumpingDialogue boxes;
  MainWindowDialogue dialogue;
  TwoDrivePlatform platform;
  AppState state;
  std::unique_ptr<frmMain> window;
};

}  // namespace veilbox::testing
