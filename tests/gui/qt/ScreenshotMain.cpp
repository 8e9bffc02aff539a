// veilbox_screenshot: shows one window of the desktop program in a private
// temporary home, filled with sample folders, and saves what the screen
// shows of it. scripts/screenshot.sh runs it under Xvfb for the README.
//   veilbox_screenshot OUTPUT.png [main|login|options|about]
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>
#include <iostream>

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

namespace {

using namespace veilbox;

constexpr const char* kSampleFolders =
    "Plans</home/alex/Work/<Hidden<Encrypted<Plans*"
    "Invoices</home/alex/Documents/<Hidden<Normal<Invoices*"
    "Photos 2024</home/alex/Pictures/<Visible<Normal<Photos 2024*"
    "Thesis</media/alex/USB/<Visible<Normal<Thesis*\r\n";

// A known user with a password and a few listed folders.
void SeedHome(const testing::TempHome& home, Session& session) {
  SaveString(session, SettingsRoot::CurrentUser, kMainKey, "VeilboxFirstTime", "No");
  SaveString(session, SettingsRoot::CurrentUser, kMainKey, "VeilboxHideFolderPath",
             "/home/alex/.veilbox-store*/media/alex/USB/.veilbox-store*");
  session.CreatePassword("sample");
  testing::WriteText(home.ProgramFolder() / "Dat.sys", kSampleFolders);
}

bool Save(QWidget* shown, const QString& output) {
  if (!QTest::qWaitForWindowExposed(shown)) return false;
  QTest::qWait(300);  // let the first paint reach the screen
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(shown->winId());
  if (shot.isNull()) shot = shown->grab();
  return shot.save(output);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::cerr << "usage: veilbox_screenshot OUTPUT.png [main|login|options|about]\n";
    return 2;
  }
  const QString output = argv[1];
  const std::string which = argc > 2 ? argv[2] : "main";

  testing::TempHome home;
  testing::ScriptedDialogue boxes;
  MainWindowDialogue dialogue(boxes);
  std::unique_ptr<Platform> platform = CreatePlatform();
  Session session(*platform, dialogue);
  SeedHome(home, session);

  QtMain window(session, dialogue);
  window.Logic().Form_Load();
  QtLogin* login = window.Login();
  if (!login) return 1;
  if (which == "login") {
    login->txtPassword->setText("sample");
    return Save(login, output) ? 0 : 1;
  }
  login->txtPassword->setText("sample");
  login->cmdOK->click();
  window.cmdUnlockFolder->click();
  window.lstFolders->topLevelItem(2)->setCheckState(0, Qt::Checked);
  window.chkEncrypt->click();
  window.cmbStatus->setCurrentIndex(0);
  window.SetProgress(5, 8);
  window.SetStatusLine("Hiding Photos 2024: 5 of 8 files");
  if (which == "options") {
    window.mnuPreferences->trigger();
    return Save(window.Options(), output) ? 0 : 1;
  }
  if (which == "about") {
    window.mnuAboutVeilbox->trigger();
    return Save(window.About(), output) ? 0 : 1;
  }
  return Save(&window, output) ? 0 : 1;
}
