// The Qt views over the real logic and engine in a private temporary home,
// every box answered by the scripted dialogue, driven the way a user does:
// clicks, keys and menu commands.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "app/Constants.h"
#include "app/Password.h"
#include "app/Settings.h"
#include "gui/MainWindowDialogue.h"
#include "gui/qt/QtAbout.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtMain.h"
#include "gui/qt/QtOptions.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"
#include "support/TwoDrivePlatform.h"

namespace veilbox::testing {

namespace fs = std::filesystem;

class QtTest : public ::testing::Test {
 protected:
  QtTest()
      : dialogue(boxes),
        platform(home.Root() / "driveB"),
        state(platform, dialogue),
        window(std::make_unique<QtMain>(state, dialogue)) {}

  // A known user's program, after the right password.
  void StartLoggedIn() {
    ASSERT_TRUE(SaveString(state, SettingsRoot::CurrentUser, kMainKey, "VeilboxFirstTime", "No"));
    ScriptedDialogue quiet;
    AppState earlier(platform, quiet);
    earlier.Appname = kAppname;
    earlier.MainKey = kMainKey;
    earlier.EncryptDecryptKey = std::string(kAppname) + kKeyText;
    ASSERT_TRUE(StorePassword(earlier, "secret"));
    window->Logic().Form_Load();
    ASSERT_NE(window->Login(), nullptr);
    QTest::keyClicks(window->Login()->txtPassword, "secret");
    QTest::keyClick(window->Login()->txtPassword, Qt::Key_Return);
    ASSERT_TRUE(window->isVisible());
  }

  static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // A click on a row's check box, where a user clicks.
  void ClickTick(int index) {
    QTreeWidget* list = window->lstFolders;
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualItemRect(list->topLevelItem(index));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
  }
  std::string Cell(int row, int column) {
    return window->lstFolders->topLevelItem(row)->text(column).toStdString();
  }

  TempHome home;
  ScriptedDialogue boxes;
  MainWindowDialogue dialogue;
  TwoDrivePlatform platform;
  AppState state;
  std::unique_ptr<QtMain> window;
};

}  // namespace veilbox::testing
