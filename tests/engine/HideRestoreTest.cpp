#include <fcntl.h>
#include <stdio.h>

#include "engine/Check.h"
#include "engine/EngineFixture.h"
#include "engine/FilenamePass.h"
#include "engine/FolderMove.h"
#include "engine/Journal.h"
#include "engine/Recovery.h"
#include "engine/StandIns.h"
#include "support/ForwardingFolder.h"

namespace veilbox::testing {
namespace {

// A folder whose moves out of it are at once followed by another program
// exchanging two entries (as renameat2 RENAME_EXCHANGE does).
class ExchangedOnArrival : public ForwardingFolder {
 public:
  ExchangedOnArrival(std::unique_ptr<OpenFolder> inner, fs::path a, fs::path b)
      : ForwardingFolder(std::move(inner)), a_(std::move(a)), b_(std::move(b)) {}
  MoveResult MoveChild(const std::string& name, OpenFolder& target,
                       const std::string& new_name) override {
    MoveResult moved = inner_->MoveChild(name, target, new_name);
    EXPECT_EQ(::renameat2(AT_FDCWD, a_.c_str(), AT_FDCWD, b_.c_str(), RENAME_EXCHANGE), 0);
    return moved;
  }

 private:
  fs::path a_, b_;
};

// An empty folder has no names to encrypt, yet its row is marked as asked.
TEST_F(EngineTest, HideWithEncryptedNamesAndRestoreBringEverythingBack) {
  const fs::path plans =
      MakeFolder("Work/Plans", {{"a.txt", "A"}, {"sub/b.txt", "B"}, {".dot", "D"}});
  const fs::path other = MakeFolder("Work/Other", {{"keep.txt", "K"}});
  const fs::path empty = MakeFolder("Work/Empty");
  Add(plans);
  Add(other);
  Add(empty);
  const std::vector<std::pair<fs::path, std::string>> files{
      {"a.txt", "A"}, {"sub/b.txt", "B"}, {".dot", "D"}};

  EXPECT_TRUE(Change("Hidden", {"Plans", "Empty"}, true).AllDone());
  EXPECT_FALSE(fs::exists(plans));
  for (const auto& [file, content] : files) {
    EXPECT_EQ(ReadText(store / "Plans" / file.parent_path() / Cipher(file.filename())), content);
  }
  EXPECT_EQ(dialogue.progress.back(), (std::pair<long, long>{3, 3}));
  EXPECT_EQ(rows[0], (ListRow{"Plans", plans.parent_path().string() + "/", "Hidden", "Encrypted"}));
  EXPECT_EQ(rows[1].status, "Visible") << "an unticked row is never touched";
  EXPECT_EQ(rows[2].encryption, "Encrypted");
  EXPECT_EQ(ReadText(other / "keep.txt"), "K");
  // Names that are not cipher text are left as they are by the restore.
  WriteText(store / "Plans" / "added by hand.txt", "H");
  WriteText(store / "Plans" / "ABCDEF", "X");

  EXPECT_TRUE(Change("Visible", {"Plans", "Empty"}).AllDone());
  for (const auto& [file, content] : files) EXPECT_EQ(ReadText(plans / file), content);
  EXPECT_EQ(ReadText(plans / "added by hand.txt"), "H");
  EXPECT_EQ(ReadText(plans / "ABCDEF"), "X");
  EXPECT_FALSE(fs::exists(store / "Plans"));
  EXPECT_TRUE(fs::is_directory(empty));
  for (int i : {0, 2})
    EXPECT_EQ(std::tie(rows[i].status, rows[i].encryption), std::tie("Visible", "Normal")) << i;
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(EngineTest, StoreNamesGrowByWholeSuffixesIgnoringCase) {
  fs::create_directories(store / "temp");
  fs::create_directories(store / "Plans");
  fs::create_directories(store / "plans(1)");
  const fs::path plans = MakeFolder("Work/Plans", {{"x", "x"}});
  const fs::path temp = MakeFolder("Work/temp");
  // A name taken by a row of the same command is taken for the next.
  const fs::path other = MakeFolder("Other/Plans", {{"y", "y"}});
  Add(plans);
  Add(temp);
  Add(other);

  EXPECT_TRUE(Change("Hidden", {"Plans", "temp"}).AllDone());
  EXPECT_TRUE(fs::exists(store / "Plans(1)(1)" / "x"));
  EXPECT_TRUE(fs::exists(store / "Plans(1)(1)(1)" / "y"));
  EXPECT_TRUE(fs::exists(store / "temp(1)"));
  EXPECT_NE(
      Database().find("Plans<" + plans.parent_path().string() + "/<Hidden<Normal<Plans(1)(1)*"),
      std::string::npos);

  Change("Visible", {"Plans", "temp"});
  EXPECT_TRUE(fs::exists(plans / "x"));
  EXPECT_TRUE(fs::exists(other / "y"));
  EXPECT_TRUE(fs::is_directory(temp));
  EXPECT_TRUE(fs::is_directory(store / "Plans")) << "the other store folders stay";
}

// Rows already as wanted are already so. Of two rows of one folder each is
// acted on by itself: the folder is hidden once, the other row says its
// folder is gone, and removing both brings the folder back and drops both.
TEST_F(EngineTest, RowsAlreadyAsWantedAndTwinRowsAreEachTheirOwn) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a", "a"}});
  Add(plans);
  Add(plans);
  EXPECT_EQ(Change("Visible", {"Plans"}).Count(Kind::AlreadySo), 2);
  const CommandResult hidden = Change("Hidden", {"Plans"});
  EXPECT_EQ(hidden.Count(Kind::Done), 1);
  EXPECT_EQ(hidden.Count(Kind::Failed), 1);
  EXPECT_EQ(rows[0].status, "Hidden");
  EXPECT_EQ(rows[1].status, "Visible");
  EXPECT_FALSE(fs::exists(store / "Plans(1)"));
  EXPECT_TRUE(Remove({"Plans"}).AllDone());
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(ReadText(plans / "a"), "a");
}

TEST_F(EngineTest, AFailedMoveKeepsTheRecordTellsWhyAndThePassGoesOn) {
  const fs::path gone = MakeFolder("Work/Gone");
  const fs::path plans = MakeFolder("Work/Plans");
  Add(gone);
  Add(plans);
  fs::remove(gone);

  CommandResult r = Change("Hidden", {"Gone", "Plans"});
  EXPECT_EQ(r.Count(Kind::Failed), 1);
  EXPECT_EQ(r.Count(Kind::Done), 1);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error message");
  EXPECT_EQ(dialogue.boxes[0].text, "Following error occurd while copying folder " + gone.string() +
                                        "\r\nThe folder does not exist.");
  EXPECT_EQ(rows[0].status, "Visible");
  EXPECT_EQ(rows[1].status, "Hidden");

  // Swapped for another folder while its names are planned: the move fails,
  // the other folder stays where it is, and no journal is left to recover.
  Change("Visible", {"Plans"});
  const fs::path other = MakeFolder("Work/Other", {{"o.txt", "O"}});
  dialogue.on_show = [&] {
    if (!fs::exists(plans / "a.txt")) return;
    fs::rename(plans, home.Root() / "Work" / "Plans.held");
    fs::rename(other, plans);
  };
  WriteText(plans / "a.txt", "A");
  EXPECT_EQ(Change("Hidden", {"Plans"}, true).Count(Kind::Failed), 1);
  EXPECT_EQ(ReadText(plans / "o.txt"), "O");
  EXPECT_FALSE(fs::exists(JournalPath(session)));

  // The same for a restore, swapped in the store folder.
  dialogue.on_show = nullptr;
  ASSERT_TRUE(Change("Hidden", {"Plans"}, true).AllDone());
  bool swapped = false;
  dialogue.on_show = [&] {
    if (std::exchange(swapped, true)) return;
    fs::rename(store / "Plans", store / "Plans.held");
    fs::create_directory(store / "Plans");
  };
  EXPECT_EQ(Change("Visible", {"Plans"}).Count(Kind::Failed), 1);
  EXPECT_FALSE(fs::exists(JournalPath(session)));
}

// In a folder others may write to, the folder that arrives may be exchanged
// with a link there at once: it has arrived all the same, and the link that
// took its name is not moved in its stead.
TEST_F(EngineTest, AFolderExchangedTheMomentItArrivesHasArrived) {
  const fs::path from = MakeFolder("From/Plans", {{"a", "A"}}).parent_path();
  const fs::path shared = MakeFolder("Shared");
  fs::create_directory_symlink(MakeFolder("Victim"), shared / "link");
  HeldFolder held = HoldFolder(platform, from.string(), "Plans");
  held.parent = std::make_unique<ExchangedOnArrival>(std::move(held.parent), shared / "Plans",
                                                     shared / "link");

  EXPECT_TRUE(MoveHeldFolder(held, OpenFolderAt(platform, shared.string()), "Plans"));
  EXPECT_TRUE(fs::is_symlink(shared / "Plans"));
  EXPECT_EQ(ReadText(shared / "link" / "a"), "A");
  EXPECT_FALSE(fs::exists(fs::symlink_status(from / "Plans")));
}

// Store folders are private whatever the umask. A store folder that may not
// serve (one listed before those rules: a link to the user's home) moves
// nothing, and each earlier row is saved before the next starts, so what a
// kill at the error box leaves on disk recovers to the same list.
TEST_F(EngineTest, EachRowIsSavedBeforeTheNextAndABadStoreFolderMovesNothing) {
  const fs::path first = MakeFolder("Work/First");
  const fs::path second = MakeFolder("driveB/Work/Second");
  const fs::path link = home.Root() / "driveB" / "Store";
  fs::create_directory_symlink(home.MakeFolder("home"), link);
  Add(first);
  UseStores(session.stores.Text() + link.string() + "*");
  Add(second);

  std::string database_at_box, journal_at_box;
  dialogue.on_show = [&] {
    database_at_box = Database();
    journal_at_box = ReadText(JournalPath(session));
  };
  dialogue.Answers({Answer::Yes});  // the error box
  const mode_t mask = ::umask(0);
  CommandResult r = Change("Hidden", {"First", "Second"});
  ::umask(mask);
  EXPECT_FALSE(r.completed);
  EXPECT_EQ(ModeOf(store), 0700u);
  EXPECT_EQ(ModeOf(store / "temp"), 0700u);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  EXPECT_NE(dialogue.boxes[0].text.find(link.string() + " is a link"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(second));
  EXPECT_TRUE(fs::is_empty(home.Root() / "home"));
  const std::string first_hidden = "First<" + first.parent_path().string() + "/<Hidden";
  EXPECT_NE(Database().find(first_hidden), std::string::npos);
  EXPECT_FALSE(fs::exists(JournalPath(session))) << "every row it names is saved";

  WriteText(session.data_file, database_at_box);
  WriteText(JournalPath(session), journal_at_box);
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_NE(Database().find(first_hidden), std::string::npos);
}

TEST_F(EngineTest, PathsPastTheSystemsLimitRefuseTheRowBeforeAnythingMoves) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}});
  Add(plans);
  platform.max_path = (store / "Plans").string().size() + 10;
  EXPECT_EQ(Change("Hidden", {"Plans"}, true).Count(Kind::Refused), 1);
  EXPECT_NE(dialogue.boxes.back().text.find("longer than the system allows"), std::string::npos);
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(rows[0].status, "Visible");
}

// Names that fit keep their own cipher text; longer ones (ASCII, Cyrillic,
// Chinese; in the folder and a sub-folder) get a stand-in and a side file,
// passing over the user's own files that look like either, which are
// encrypted like any other. Everything comes back under its own name.
TEST_F(EngineTest, NamesOfEveryLengthAreHiddenEncryptedAndComeBack) {
  std::vector<fs::path> files{"a.txt", "sub/b", "VEILBOX-LONG-NAME-1", "VEILBOX-LONG-NAME-2.CIPHER",
                              "sub/VEILBOX-LONG-NAME-1.CIPHER"};
  for (const size_t bytes : {112, 113, 200, 255}) {
    for (const char* unit : {"n", "ж", "界"}) {
      files.push_back(fs::path(bytes % 2 ? "sub" : "") / NameOf(bytes, unit));
    }
  }
  const fs::path plans = MakeFolder("Work/Plans/sub");
  for (const fs::path& file : files) WriteText(plans.parent_path() / file, file.string());
  Add(plans.parent_path());

  EXPECT_TRUE(Change("Hidden", {"Plans"}, true).AllDone());
  const fs::path hidden = store / "Plans";
  EXPECT_EQ(FilesIn(hidden), files.size() + 9) << "a side file for each name past 112 bytes";
  for (const std::string& name : {NameOf(112, "界"), std::string("VEILBOX-LONG-NAME-1")}) {
    EXPECT_EQ(ReadText(hidden / Cipher(name)), name);
  }
  for (const auto& e : fs::recursive_directory_iterator(hidden)) {
    EXPECT_LE(e.path().filename().string().size(), 255u);
  }
  EXPECT_TRUE(CheckFolders(session, false).findings.empty());

  EXPECT_TRUE(Change("Visible", {"Plans"}).AllDone());
  EXPECT_EQ(FilesIn(plans.parent_path()), files.size());
  for (const fs::path& file : files) EXPECT_EQ(ReadText(plans.parent_path() / file), file.string());
  EXPECT_TRUE(dialogue.boxes.empty());
}

// A file takes its stand-in only once its side file is written; a side file
// written for a rename that then fails is taken away again.
TEST_F(EngineTest, AStandInComesOnlyAfterItsSideFile) {
  struct FullDisk : ForwardingFolder {
    using ForwardingFolder::ForwardingFolder;
    MoveResult WriteNewFile(const std::string&, const std::string&) override {
      return {false, "No space left on device"};
    }
  };
  const std::string name = NameOf(200, "n");
  const fs::path plans = MakeFolder("Work/Plans", {{name, "L"}, {"VEILBOX-LONG-NAME-2", "T"}});
  for (const unsigned long n : {1, 2}) {
    NamePlan plan;
    plan.Add({"", name, StandInName(n), SideFile::WriteFirst, SideFileName(n), Cipher(name)});
    std::unique_ptr<OpenFolder> folder = OpenFolderAt(platform, plans.string());
    if (n == 1) folder = std::make_unique<FullDisk>(std::move(folder));
    EXPECT_EQ(RenameFiles(session, *folder, plans.string(), plan, 1).failed, 1);
  }
  EXPECT_EQ(ReadText(plans / name) + ReadText(plans / "VEILBOX-LONG-NAME-2"), "LT");
  EXPECT_EQ(FilesIn(plans), 2u);
  // A hide passes over a side file already there, even one that holds the
  // text: it is the user's, and the same pass renames it.
  WriteText(plans / "VEILBOX-LONG-NAME-1.CIPHER", Cipher(name));
  cEncrypt cipher;
  PlannedRename hide{"", name, ""};
  CipherNamer(cipher, session.key_text, SideFilesThere::Taken)
      .Plan(*OpenFolderAt(platform, plans.string()), hide);
  EXPECT_EQ(hide.new_name, "VEILBOX-LONG-NAME-3");
}

// A drive mounted in the tree after its names were planned is not renamed in.
TEST_F(EngineTest, PlannedRenamesStopAtADriveMountedSince) {
  const fs::path plans = MakeFolder("Work/Plans", {{"mounted/f", "F"}, {"a", "A"}});
  WithMounts root(platform.OpenFolderNoLinks(plans.string()).folder);
  NamePlan plan;
  plan.Add({"mounted", "f", "g"});
  plan.Add({"", "a", "b"});
  EXPECT_EQ(RenameFiles(session, root, plans.string(), plan, 2).failed, 1);
  EXPECT_EQ(ReadText(plans / "mounted/f"), "F");
  EXPECT_EQ(ReadText(plans / "b"), "A");
}

// Restoring onto a folder of the same name asks first and never merges; a
// folder gone from the store cannot be restored. Either way the row stays.
TEST_F(EngineTest, RestoreAsksBeforeATakenNameAndNeedsTheStoredFolder) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "mine"}});
  Add(plans);
  Add(MakeFolder("Work/Gone"));
  Change("Hidden", {"Plans", "Gone"});
  MakeFolder("Work/Plans", {{"a.txt", "new"}});
  fs::remove_all(store / "Gone");

  dialogue.Answers({Answer::No});
  const CommandResult declined = Change("Visible", {"Plans", "Gone"});
  EXPECT_EQ(declined.Count(Kind::Declined), 1);
  EXPECT_EQ(declined.Count(Kind::Refused), 1);
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(std::tie(dialogue.boxes[0].text, dialogue.boxes[0].title),
            std::tie("Plans already exists in this folder. Do you wish to restore to this folder "
                     "anyway?",
                     "Exists"));
  EXPECT_EQ(std::tie(dialogue.boxes[1].text, dialogue.boxes[1].title),
            std::tie("Gone does not exist in the hidden database and therefore cannot be restored.",
                     "Restore"));
  EXPECT_EQ(rows[0].status, "Hidden");
  EXPECT_EQ(rows[1].status, "Hidden");

  dialogue.Answers({Answer::Yes});
  Change("Visible", {"Plans"});
  EXPECT_EQ(ReadText(plans / "a.txt"), "new");
  EXPECT_EQ(ReadText(plans.parent_path() / "Plans(1)" / "a.txt"), "mine");
  EXPECT_EQ(rows[0],
            (ListRow{"Plans(1)", plans.parent_path().string() + "/", "Visible", "Normal"}));
}

}  // namespace
}  // namespace veilbox::testing
