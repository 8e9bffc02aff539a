// frmOptions: the store-folder rows, their rules as the window shows them,
// OK (and an OK that cannot store the rows) and Cancel, and Edit and Remove
// without a selected row.
#include "GuiFixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <chrono>

#include "dialogs/frmOptions.h"

namespace veilbox::testing {
namespace {

// Another copy of Veilbox holding the data lock for the object's lifetime.
class OtherCopy {
 public:
  OtherCopy() {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    child_ = ::fork();
    if (child_ == 0) {
      NativePlatform other;
      const std::unique_ptr<DataLock> lock = other.LockData({});
      (void)!::write(ready[1], "x", 1);
      ::pause();
      _exit(0);
    }
    char c;
    EXPECT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
  }
  ~OtherCopy() {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }

 private:
  pid_t child_;
};

class Preferences : public GuiTest {
 protected:
  // Store folders on drives A:/ and B:/, and a listed folder on A:/.
  void SetUp() override {
    store_a = (home.Root() / "Store").string();
    store_b = (home.Root() / "driveB" / "Store").string();
    SetSetting("VeilboxHideFolderPath", store_a + "*" + store_b + "*");
    WriteText(home.ProgramFolder() / "Dat.sys",
              "Work<" + home.Root().string() + "/user/<Visible<Normal<Work*\r\n");
    StartUnlocked();
    window->mnuPreferences->trigger();
    ASSERT_NE(window->Options(), nullptr);
  }

  frmOptions& Options() { return *window->Options(); }
  QTreeWidget* Rows() { return Options().lstFoldersPath; }
  void Select(int row) {
    const QRect r = Rows()->visualItemRect(Rows()->topLevelItem(row));
    QTest::mouseClick(Rows()->viewport(), Qt::LeftButton, {}, r.center());
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> rows;
    for (int i = 0; i < Rows()->topLevelItemCount(); ++i) {
      rows.push_back(Rows()->topLevelItem(i)->text(0).toStdString() + " " +
                     Rows()->topLevelItem(i)->text(1).toStdString());
    }
    return rows;
  }

  std::string store_a;
  std::string store_b;
};

TEST_F(Preferences, OpensBesideTheMainWindowWithARowPerStoreFolder) {
  EXPECT_EQ(Options().windowTitle(), "Options");
  EXPECT_EQ(Options().Frame1->title(), "Options:");
  EXPECT_EQ(Options().Label1->text(), "Hidden/locked folder paths");
  EXPECT_EQ(Rows()->headerItem()->text(0), "Drive");
  EXPECT_EQ(Rows()->headerItem()->text(1), "Path");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"A:/ " + store_a, "B:/ " + store_b}));
  EXPECT_FALSE(Options().cmdEdit->isEnabled());
  EXPECT_FALSE(Options().cmdRemove->isEnabled());
  // Not modal: the main window goes on working.
  EXPECT_FALSE(Options().isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(window->cmdAdd->isEnabled());

  // A second opening shows the same window, rows and all.
  delete Rows()->takeTopLevelItem(0);
  frmOptions* first = window->Options();
  window->mnuPreferences->trigger();
  EXPECT_EQ(window->Options(), first);
  EXPECT_EQ(Rows()->topLevelItemCount(), 1);
}

TEST_F(Preferences, RefusesASecondFolderOnADriveAndFoldersOfADriveInUse) {
  boxes.Folders({(home.Root() / "Other").string()});
  Click(Options().cmdAdd);

  Select(0);
  EXPECT_TRUE(Options().cmdEdit->isEnabled());
  EXPECT_TRUE(Options().cmdRemove->isEnabled());
  Click(Options().cmdEdit);
  Click(Options().cmdRemove);

  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "A:/ already has a hidden/locked folder on it.",
                            "A:/ is being used. Please remove items from the main list using A:/ "
                            "before editing this folder.",
                            "A:/ is being used. Please remove items from the main list using A:/ "
                            "before removing this folder.",
                        }));
  for (const ShownBox& box : boxes.boxes) EXPECT_EQ(box.title, "Folder");
  EXPECT_EQ(Shown().size(), 2u);
}

TEST_F(Preferences, EditKeepsARowOnItsDriveAndOkStoresTheRows) {
  const std::string moved = (home.MakeFolder("driveB") / "Moved").string();
  boxes.Folders({(home.Root() / "Elsewhere").string(), moved});
  Select(1);
  Click(Options().cmdEdit);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Please select a folder on B:/"});
  Click(Options().cmdEdit);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"A:/ " + store_a, "B:/ " + moved}));
  EXPECT_EQ(state.HideFolderPath, store_a + "*" + store_b + "*") << "nothing changes before OK";

  Click(Options().cmdOK);
  EXPECT_EQ(state.HideFolderPath, store_a + "*" + moved + "*");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store_a + "*" + moved + "*");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->Options(), nullptr) << "closing discards the window";
}

TEST_F(Preferences, OkWhileAnotherCopyHoldsTheDataLockEndsInTimeAndKeepsTheOldList) {
  const std::string before = state.HideFolderPath;
  state.DataLockLimit = std::chrono::seconds(4);
  Select(1);
  boxes.Answers({Answer::Yes, Answer::Yes});  // the removal, then the error box
  Click(Options().cmdRemove);
  {
    const OtherCopy other;
    const int pumps = boxes.pumps;
    const auto start = std::chrono::steady_clock::now();
    Click(Options().cmdOK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_GT(boxes.pumps, pumps + 10) << "the window paints while it waits";
  }
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(boxes.boxes[1].text,
            "Another copy of Veilbox is changing the folder list. This one goes on as soon as it "
            "has finished, or gives up after 4 seconds.");
  EXPECT_EQ(boxes.boxes[2].title, "Error");
  EXPECT_NE(boxes.boxes[2].text.find("Another copy of Veilbox is still changing the folder list "
                                     "after 4 seconds; nothing was changed here."),
            std::string::npos)
      << boxes.boxes[2].text;
  EXPECT_TRUE(Options().isVisible()) << "the window stays open";
  EXPECT_EQ(Shown(), std::vector<std::string>{"A:/ " + store_a}) << "with the user's rows";
  EXPECT_EQ(state.HideFolderPath, before);
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), before);

  // Once the other copy has finished, OK stores the rows.
  Click(Options().cmdOK);
  EXPECT_EQ(state.HideFolderPath, store_a + "*");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store_a + "*");
}

TEST_F(Preferences, RemoveNeedsYesAndWithoutASelectedRowDoesNothing) {
  Select(1);
  boxes.Answers({Answer::No, Answer::Cancel, Answer::Yes});
  for (int i = 0; i < 3; ++i) Click(Options().cmdRemove);
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(boxes.boxes[0].text, "Are you sure you wish to remove " + store_b + " from the list?");
  EXPECT_EQ(boxes.boxes[0].title, "Remove");
  EXPECT_EQ(boxes.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(Shown(), std::vector<std::string>{"A:/ " + store_a});

  // The buttons stay enabled with no row selected: they do nothing, and
  // report nothing.
  ASSERT_TRUE(Rows()->selectedItems().isEmpty());
  EXPECT_TRUE(Options().cmdEdit->isEnabled());
  Click(Options().cmdEdit);
  Click(Options().cmdRemove);
  EXPECT_EQ(boxes.boxes.size(), 3u);
  EXPECT_TRUE(boxes.chooser_titles.empty());
  EXPECT_EQ(Shown(), std::vector<std::string>{"A:/ " + store_a});
}

TEST_F(Preferences, CancelAndEscapeDiscardTheChanges) {
  const std::string before = state.HideFolderPath;
  Select(1);
  boxes.Answers({Answer::Yes});
  Click(Options().cmdRemove);
  Click(Options().cmdCancel);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->Options(), nullptr);
  EXPECT_EQ(state.HideFolderPath, before);
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), before);

  // A new opening starts from the list as it is.
  window->mnuPreferences->trigger();
  EXPECT_EQ(Shown().size(), 2u);
  Select(1);
  boxes.Answers({Answer::Yes});
  Click(Options().cmdRemove);
  QTest::keyClick(&Options(), Qt::Key_Escape);
  EXPECT_EQ(state.HideFolderPath, before);
}

}  // namespace
}  // namespace veilbox::testing
