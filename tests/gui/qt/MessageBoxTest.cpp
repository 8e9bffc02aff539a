// The desktop's message boxes show their text as the characters it holds: a
// tag in a typed password, a folder name or an address is not markup.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "gui/qt/QtDialogue.h"

namespace veilbox::testing {
namespace {

TEST(QtDialogueBoxes, ShowsTagLikeTextLiterally) {
  const QString text = "<b>pa<s>ss</s>word</b>";
  Qt::TextFormat box_format = Qt::AutoText;
  Qt::TextFormat label_format = Qt::AutoText;
  QString shown;
  int shown_width = 0;
  int literal_width = 0;
  // Reads the box while it is open, then answers it.
  QTimer reader;
  QObject::connect(&reader, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
      box_format = box->textFormat();
      label_format = label->textFormat();
      shown = label->text();
      shown_width = label->sizeHint().width();
      literal_width = label->fontMetrics().horizontalAdvance(text);
      box->button(QMessageBox::No)->click();
    }
  });
  reader.start(10);

  QtDialogue dialogue;
  EXPECT_EQ(dialogue.Ask(text.toStdString(), "Password", Icon::Question, Buttons::YesNo),
            Answer::No);
  EXPECT_EQ(box_format, Qt::PlainText);
  EXPECT_EQ(label_format, Qt::PlainText);
  EXPECT_EQ(shown, text);
  // Rendered as markup, the text would shrink to one bold word.
  EXPECT_GE(shown_width, literal_width);
}

}  // namespace
}  // namespace veilbox::testing
