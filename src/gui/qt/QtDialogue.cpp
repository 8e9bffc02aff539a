#include "gui/qt/QtDialogue.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace veilbox {
namespace {

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK:
      return QMessageBox::Ok;
    case Buttons::OKCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      break;
  }
  return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
}

Answer FromButton(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::OK;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;  // Cancel, Escape or the close box
  }
}

// Boxes belong to the window the user is working in; during start-up there
// is none.
QWidget* Owner() {
  return QApplication::activeWindow();
}

}  // namespace

Answer QtDialogue::Show(const Wording& wording) {
  QMessageBox box(BoxIcon(wording.icon), QString::fromStdString(wording.title), {},
                  BoxButtons(wording.buttons), Owner());
  // Texts carry names of folders, typed passwords and addresses from the
  // network: they are shown as the characters they are, never as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(wording.text));
  // The first button is the default, as in every box of the system.
  box.setDefaultButton(wording.buttons == Buttons::YesNo || wording.buttons == Buttons::YesNoCancel
                           ? QMessageBox::Yes
                           : QMessageBox::Ok);
  return FromButton(box.exec());
}

std::string QtDialogue::ChooseFolder(FolderChoice choice, const std::string& start) {
  const QString folder = QFileDialog::getExistingDirectory(
      Owner(), QString::fromStdString(TitleOf(choice)),
      start.empty() ? QDir::homePath() : QString::fromStdString(start));
  // Qt gives paths without a trailing separator, except the root itself.
  return QDir::toNativeSeparators(folder).toStdString();
}

void QtDialogue::PumpEvents() {
  // Clicks and keys stay queued until the running command returns; painting,
  // timers and window-system events go on.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDialogue::OpenAddress(const std::string& address) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace veilbox
