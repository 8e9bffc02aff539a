// How soon the desktop shows a long list: after the password check ends,
// the main window opens the session (the list read, nothing to recover)
// and shows ROWS rows, painted, under Qt's offscreen platform. Timed for
// ROUNDS rounds; prints each and the median.
//   window_bench ROWS ROUNDS
#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "BenchRun.h"
#include "app/Constants.h"
#include "app/Settings.h"
#include "gui/MainWindowDialogue.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtMain.h"

namespace fs = std::filesystem;
using namespace veilbox;

namespace {

// Says yes to everything and shows nothing.
class QuietDialogue : public Dialogue {
 public:
  Answer Show(const Wording& box) override {
    return box.buttons == Buttons::OK ? Answer::OK : Answer::Yes;
  }
  std::string ChooseFolder(FolderChoice, const std::string&) override { return ""; }
  void ShowProgress(long, long) override {}
  void OpenAddress(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc == 3 ? bench::Count(argv[1]) : 0;
  const long rounds = argc == 3 ? bench::Count(argv[2]) : 0;
  if (rows == 0 || rounds == 0) {
    std::fprintf(stderr, "usage: window_bench ROWS ROUNDS\n");
    return 2;
  }
  const fs::path work = bench::PrivateWork("veilbox-window-bench");
  setenv("XDG_RUNTIME_DIR", work.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  std::unique_ptr<Platform> platform = CreatePlatform();
  QuietDialogue boxes;
  MainWindowDialogue dialogue(boxes);
  {
    Session seed(*platform, boxes);
    SaveString(seed, SettingsRoot::CurrentUser, kMainKey, std::string(kAppname) + kFirstTimeSuffix,
               "No");
    seed.CreatePassword("bench");
  }
  {
    std::ofstream data(work / "home" / "Dat.sys", std::ios::binary);
    for (long r = 0; r < rows; ++r) {
      const std::string name = "Folder " + std::to_string(r);
      data << name << "</home/user/Projects/Group " << r / 100 << "/<Visible<Normal<" << name
           << '*';
    }
    data << "\r\n";
  }
  std::vector<double> seconds;
  for (long round = 0; round < rounds; ++round) {
    Session session(*platform, dialogue);
    QtMain window(session, dialogue);
    window.Logic().Form_Load();
    if (session.CheckPassword("bench") != PasswordCheck::Right) return 1;
    // The password check has ended: from here on is what the user waits for.
    const auto start = bench::Clock::now();
    window.Logic().LoginAccepted();
    window.repaint();
    QApplication::processEvents();
    seconds.push_back(bench::Since(start));
    if (window.lstFolders->topLevelItemCount() != rows) return 1;
    std::printf("round %ld: %.3f s\n", round + 1, seconds.back());
  }
  const double median = bench::Median(seconds);
  std::printf("main window with %ld rows after the password: %.3f s (target <= 0.100 s: %s)\n",
              rows, median, median <= 0.100 ? "met" : "MISSED");
  fs::remove_all(work);
  return 0;
}
