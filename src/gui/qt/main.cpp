// veilbox: the desktop program. The main window is created hidden and its
// load step runs start-up; the program then lives in the event loop until a
// window ends it.
#include <QApplication>
#include <QIcon>
#include <memory>

#include "app/Session.h"
#include "gui/MainWindowDialogue.h"
#include "gui/qt/QtDialogue.h"
#include "gui/qt/QtMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Veilbox");
  QApplication::setDesktopFileName("io.github.veilbox.Veilbox");
  QApplication::setWindowIcon(QIcon(":/veilbox/veilbox.png"));
  // The program ends only where the windows say so, never because the
  // password dialog hid itself before the main window came up.
  QApplication::setQuitOnLastWindowClosed(false);

  std::unique_ptr<veilbox::Platform> platform = veilbox::CreatePlatform();
  veilbox::QtDialogue boxes;
  veilbox::MainWindowDialogue dialogue(boxes);
  veilbox::Session session(*platform, dialogue);
  veilbox::QtMain window(session, dialogue);
  window.Logic().Form_Load();
  if (window.Logic().ProgramEnded()) return 0;
  return QApplication::exec();
}
