// veilbox_screenshot OUTPUT.png [main|login|options|about]: one window with sample folders in a
// temporary home, saved as the screen shows it (scripts/screenshot.sh, for the README).
#include <QTest>
#include <QtWidgets>

#include "app/Constants.h"
#include "app/Settings.h"
#include "gui/qt/QtAbout.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtMain.h"
#include "gui/qt/QtOptions.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

using namespace veilbox;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2)
    return qCritical("usage: veilbox_screenshot OUTPUT.png [main|login|options|about]"), 2;
  const std::string which = argc > 2 ? argv[2] : "main";
  testing::TempHome home;
  testing::ScriptedDialogue boxes;
  MainWindowDialogue dialogue(boxes);
  std::unique_ptr<Platform> platform = CreatePlatform();
  Session session(*platform, dialogue);
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
  QWidget* shown = window.Login();
  window.Login()->txtPassword->setText("sample");
  if (which != "login") {
    window.Login()->cmdOK->click();
    window.cmdUnlockFolder->click();
    window.lstFolders->topLevelItem(2)->setCheckState(0, Qt::Checked);
    window.chkEncrypt->click();
    window.cmbStatus->setCurrentIndex(0);
    window.SetProgress(5, 8);
    window.SetStatusLine("Hiding Photos 2024: 5 of 8 files");
    shown = &window;
    if (which == "options") window.mnuPreferences->trigger(), shown = window.Options();
    if (which == "about") window.mnuAboutVeilbox->trigger(), shown = window.About();
  }
  if (!QTest::qWaitForWindowExposed(shown)) return 1;
  QTest::qWait(300);  // let the first paint reach the screen
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(shown->winId());
  return (shot.isNull() ? shown->grab() : shot).save(argv[1]) ? 0 : 1;
}
