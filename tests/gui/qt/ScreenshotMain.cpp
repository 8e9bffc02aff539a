// veilbox_screenshot: shows one window of the desktop program in a private
// temporary home, filled with sample folders, and saves what the screen
// shows of it. scripts/screenshot.sh runs it under Xvfb for the README.
//   veilbox_screenshot OUTPUT.png [main|login|options|about]
#include <QTest>
#include <QtWidgets>
#include <iostream>

#include "app/Constants.h"
#include "app/Settings.h"
#include "gui/qt/QtAbout.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtMain.h"
#include "gui/qt/QtOptions.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

using namespace veilbox;

static bool Save(QWidget* shown, const QString& output) {
  if (!QTest::qWaitForWindowExposed(shown)) return false;
  QTest::qWait(300);  // let the first paint reach the screen
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(shown->winId());
  return (shot.isNull() ? shown->grab() : shot).save(output);
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::cerr << "usage: veilbox_screenshot OUTPUT.png [main|login|options|about]\n";
    return 2;
  }
  const std::string which = argc > 2 ? argv[2] : "main";
  testing::TempHome home;
  testing::ScriptedDialogue boxes;
  MainWindowDialogue dialogue(boxes);
  std::unique_ptr<Platform> platform = CreatePlatform();
  Session session(*platform, dialogue);
  // A known user with a password and a few listed folders.
  SaveString(session, SettingsRoot::CurrentUser, kMainKey, "VeilboxFirstTime", "No");
  SaveString(session, SettingsRoot::CurrentUser, kMainKey, "VeilboxHideFolderPath",
             "/home/alex/.veilbox-store*/media/alex/USB/.veilbox-store*");
  session.CreatePassword("sample");
  testing::WriteText(home.ProgramFolder() / "Dat.sys",
                     "Plans</home/alex/Work/<Hidden<Encrypted<Plans*"
                     "Invoices</home/alex/Documents/<Hidden<Normal<Invoices*"
                     "Photos 2024</home/alex/Pictures/<Visible<Normal<Photos 2024*"
                     "Thesis</media/alex/USB/<Visible<Normal<Thesis*\r\n");

  QtMain window(session, dialogue);
  window.Logic().Form_Load();
  QtLogin* login = window.Login();
  if (!login) return 1;
  login->txtPassword->setText("sample");
  QWidget* shown = login;
  if (which != "login") {
    login->cmdOK->click();
    window.cmdUnlockFolder->click();
    window.lstFolders->topLevelItem(2)->setCheckState(0, Qt::Checked);
    window.chkEncrypt->click();
    window.cmbStatus->setCurrentIndex(0);
    window.SetProgress(5, 8);
    window.SetStatusLine("Hiding Photos 2024: 5 of 8 files");
    if (which == "options") window.mnuPreferences->trigger();
    if (which == "about") window.mnuAboutVeilbox->trigger();
    shown = which == "options" ? static_cast<QWidget*>(window.Options())
            : which == "about" ? static_cast<QWidget*>(window.About())
                               : &window;
  }
  return Save(shown, argv[1]) ? 0 : 1;
}
