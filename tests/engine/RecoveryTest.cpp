#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <tuple>

#include "engine/Check.h"
#include "engine/EngineFixture.h"
#include "engine/Journal.h"
#include "engine/Recovery.h"

namespace veilbox::testing {
namespace {

// The record a record's text holds.
FolderRecord R(const std::string& text) {
  return *ParseRecord(text);
}

class RecoveryTest : public EngineTest {
 protected:
  void Write(const Journal& j) {
    JournalWriter writer(session);
    for (const PlannedRename& r : renames) writer.Add(r);
    writer.Commit(j);
  }
  void SetUpPlans() {
    plans = MakeFolder("Work/Plans", {{"a.txt", "A"}, {"sub/b.txt", "B"}, {"c.txt", "C"}});
    Add(plans);
    visible = "Plans<" + plans.parent_path().string() + "/<Visible<Normal<Plans*";
  }

  std::vector<PlannedRename> renames;
  fs::path plans;
  std::string visible;
};

// Any name round-trips, however long the plan; entries follow one another
// with their own plans; an entry cut off anywhere is never taken for a whole
// one, while one with a damaged line is reported, also by the renames that
// read it back.
TEST_F(RecoveryTest, AJournalReadsBackEntryByEntryWholeOrNotAtAll) {
  Journal j{
      "restore", {"a", "/b/", "c", "d", "e"}, std::nullopt, "/x/\tweird\\name", "/y/new\nline",
      {},        EntryId{3, 1ull << 40}};
  j.names.complete = false;
  renames = {{"sub/fi\tle", "a\\b", "NEW"}, {"sub/fi\tle", "c", "D"}, {"", "e\nf", "G"}};
  // Far more plan than the reader holds at once, so lines straddle its reads.
  for (int i = 0; i < 4000; ++i) {
    renames.push_back({"deep/er", "file " + std::to_string(i), Cipher(std::to_string(i))});
  }
  Write(j);
  {
    JournalWriter second(session);
    second.Add({"", "only", "ONLY"});
    second.Commit({"hide",
                   {"o", "/", "Visible", "Normal", "o"},
                   FolderRecord{"o", "/", "Hidden", "Normal", "o"},
                   "/from",
                   "/to"});
    second.Amend({"amended", "/", "Visible", "Encrypted", "o"});
  }
  const std::vector<Journal> back = ReadJournal(session);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(std::tie(back[0].from, back[0].to, back[0].new_record, back[0].folder),
            std::tie(j.from, j.to, j.new_record, j.folder));
  EXPECT_EQ(back[0].names.renames, static_cast<long>(renames.size()));
  EXPECT_FALSE(back[0].names.complete);
  EXPECT_EQ(back[1].new_record->name, "amended");
  renames.push_back({"", "only", "ONLY"});
  PlannedRename r;
  auto want = renames.begin();
  for (const Journal& entry : back) {
    JournalPlan plan(session, entry.offset);
    for (long n = 0; n < entry.names.renames; ++n, ++want) {
      ASSERT_TRUE(plan.Next(r));
      EXPECT_EQ(std::tie(r.folder, r.name, r.new_name),
                std::tie(want->folder, want->name, want->new_name));
    }
    EXPECT_FALSE(plan.Next(r));
  }

  const std::string text = ReadText(JournalPath(session));
  const size_t second = static_cast<size_t>(back[1].offset);
  for (size_t cut : {second + 3, text.find("operation", second), text.rfind("\nend\n") + 4}) {
    WriteText(JournalPath(session), text.substr(0, cut));
    EXPECT_EQ(ReadJournal(session).size(), 1u) << cut;
  }
  WriteText(JournalPath(session), text.substr(0, 10));
  EXPECT_TRUE(ReadJournal(session).empty());
  const std::string damaged = std::string(text).replace(text.find("name\tfile 2000"), 4, "nome");
  WriteText(JournalPath(session), damaged);
  EXPECT_THROW(ReadJournal(session), Failure);
  // Files already gone count as renamed when a pass resumes, so only the
  // renames past the damaged line fail.
  const fs::path target = MakeFolder("Target");
  fs::create_directories(target / "sub/fi\tle");
  fs::create_directories(target / "deep/er");
  JournalPlan plan(session, back[0].offset);
  const RenameOutcome outcome =
      RenameFiles(session, *OpenFolderAt(platform, target.string()), target.string(), plan,
                  back[0].names.renames, Resume::Yes);
  EXPECT_EQ(outcome.failed, 2000);
  EXPECT_NE(outcome.first_failure.find("ends before its last file"), std::string::npos);
}

// A row stopped while its plan was being written has no whole entry: nothing
// moved, and what was written of it goes. A damaged journal is kept aside
// and reported.
TEST_F(RecoveryTest, AJournalNeverCommittedLeavesNothingAndADamagedOneIsKeptAside) {
  SetUpPlans();
  {
    JournalWriter unfinished(session);
    unfinished.Add({"", "a.txt", Cipher("a.txt")});
  }
  EXPECT_FALSE(fs::exists(JournalPath(session)));
  WriteText(JournalPath(session), "veilbox-journal 3\nin\t\n");           // as a kill leaves it
  WriteText(JournalPath(session) + ".new", "veilbox-journal 2\nin\t\n");  // as an older one did
  EXPECT_FALSE(RecoverInterruptedRow(session));
  EXPECT_FALSE(fs::exists(JournalPath(session)));
  EXPECT_FALSE(fs::exists(JournalPath(session) + ".new"));
  EXPECT_TRUE(dialogue.boxes.empty());

  WriteText(JournalPath(session), "veilbox-journal 1\noperation\thide\nbogus\nend\n");
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_FALSE(fs::exists(JournalPath(session)));
  int kept = 0;
  for (const auto& e : fs::directory_iterator(home.ProgramFolder())) {
    kept += e.path().filename().string().starts_with("Dat.sys.journal.bad-");
  }
  EXPECT_EQ(kept, 1);
  EXPECT_EQ(dialogue.boxes.at(0).icon, Icon::Exclamation);
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(Database(), visible + "\r\n");
}

// A hide of Plans with encrypted names, recovered at three points: before its
// move, after a move that left another folder at its place (left alone, the
// journal kept aside), and half-way through the names (finished).
TEST_F(RecoveryTest, AnInterruptedHideIsUndoneLeftAloneOrFinished) {
  SetUpPlans();
  Journal j{"hide", R(visible), std::nullopt, plans.string(), (store / "Plans").string()};
  j.new_record = R("Plans<" + plans.parent_path().string() + "/<Hidden<Encrypted<Plans*");
  for (const fs::path file : {"a.txt", "sub/b.txt", "c.txt"}) {
    renames.push_back(
        {file.parent_path().string(), file.filename().string(), Cipher(file.filename().string())});
  }
  fs::create_directories(store);
  Write(j);
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(Database(), visible + "\r\n");
  EXPECT_FALSE(fs::exists(JournalPath(session)));
  EXPECT_NE(dialogue.boxes.at(0).text.find("Nothing had moved"), std::string::npos);
  EXPECT_FALSE(RecoverInterruptedRow(session)) << "nothing left to recover";

  fs::rename(plans, store / "Plans");
  Journal elsewhere = j;
  elsewhere.folder = EntryId{1, 1};  // not the folder that now stands at "to"
  Write(elsewhere);
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(ReadText(store / "Plans" / "a.txt"), "A");
  EXPECT_EQ(Database(), visible + "\r\n");
  EXPECT_NE(dialogue.boxes.at(1).text.find("not the folder that was being moved"),
            std::string::npos);

  fs::rename(store / "Plans" / "a.txt", store / "Plans" / Cipher("a.txt"));
  Write(j);
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(ReadText(store / "Plans" / Cipher("a.txt")), "A");
  EXPECT_EQ(ReadText(store / "Plans" / "sub" / Cipher("b.txt")), "B");
  EXPECT_EQ(ReadText(store / "Plans" / Cipher("c.txt")), "C");
  EXPECT_EQ(Database(), j.new_record->Text() + "\r\n");
  EXPECT_FALSE(fs::exists(JournalPath(session)));
  ASSERT_EQ(dialogue.boxes.size(), 3u);
  EXPECT_EQ(dialogue.boxes[2].title, "Recovery");
  EXPECT_NE(dialogue.boxes[2].text.find("finished"), std::string::npos);

  // The recovered folder restores like any other.
  Reload();
  Change("Visible", {"Plans"});
  EXPECT_EQ(ReadText(plans / "sub" / "b.txt"), "B");
}

TEST_F(RecoveryTest, ARestoreCutOffBeforeItsNamesAreDecryptedIsFinished) {
  SetUpPlans();
  Change("Hidden", {"Plans"}, true);
  const std::string hidden = "Plans<" + plans.parent_path().string() + "/<Hidden<Encrypted<Plans*";
  ASSERT_EQ(Database(), hidden + "\r\n");
  Journal j{"restore", R(hidden), R(visible), (store / "Plans").string(), plans.string()};
  fs::rename(store / "Plans", plans);
  // As an earlier version wrote it: each file by its path below the folder.
  std::string text = "veilbox-journal 1\n";
  for (const char* f : {"a.txt", "sub/b.txt", "c.txt"}) {
    const fs::path file(f);
    text += "file\t" + (file.parent_path() / Cipher(file.filename().string())).string() + "\t" +
            file.filename().string() + "\n";
  }
  WriteText(JournalPath(session), text + JournalText(j).substr(18));

  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(ReadText(plans / "sub" / "b.txt"), "B");
  EXPECT_EQ(Database(), visible + "\r\n");
}

// An entry whose plan climbs out of its folder is never followed, whoever
// wrote it; the entries beside it are finished, and the journal is kept
// aside, readable by the user alone. A journal is private however it was
// made.
TEST_F(RecoveryTest, AnEntryThatClimbsOutOfItsFolderIsNeverFollowed) {
  SetUpPlans();
  const fs::path documents = MakeFolder("Documents", {{"d.txt", "D"}});
  Journal hide{"hide", R(visible), std::nullopt, plans.string(), (store / "Plans").string()};
  hide.new_record = R("Plans<" + plans.parent_path().string() + "/<Hidden<Encrypted<Plans*");
  renames = {{"", "a.txt", Cipher("a.txt")}};
  fs::create_directories(store);
  Write(hide);
  renames = {{"", "../../Documents/d.txt", "X"}};
  Write({"hide", R("Docs</x/<Visible<Normal<Docs*"), std::nullopt, "/x/Docs",
         (store / "Docs").string()});
  fs::rename(plans, store / "Plans");
  fs::permissions(JournalPath(session), fs::perms(0644));  // as an older Veilbox made it
  PlannedRename climbing;
  EXPECT_FALSE(JournalPlan(session, ReadJournal(session).at(1).offset).Next(climbing));

  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(ReadText(store / "Plans" / Cipher("a.txt")), "A");
  EXPECT_EQ(ReadText(documents / "d.txt"), "D");
  EXPECT_EQ(Database(), hide.new_record->Text() + "\r\n");
  EXPECT_NE(dialogue.boxes.back().text.find(
                "row of the journal was left as it is: line 12 of " + JournalPath(session) +
                " (name) names \"../../Documents/d.txt\", which holds \"/\"."),
            std::string::npos)
      << dialogue.boxes.back().text;
  std::vector<fs::path> kept;
  for (const auto& e : fs::directory_iterator(home.ProgramFolder())) {
    if (e.path().filename().string().starts_with("Dat.sys.journal.bad-")) kept.push_back(e.path());
  }
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ModeOf(kept[0]), 0600u);

  for (const mode_t mask : {022, 0}) {
    const mode_t old = ::umask(mask);
    WriteText(JournalPath(session), "");
    fs::permissions(JournalPath(session), fs::perms(0644));
    JournalWriter(session).Commit(hide);
    EXPECT_EQ(ModeOf(JournalPath(session)), 0600u) << mask;
    fs::remove(JournalPath(session));
    JournalWriter(session).Commit(hide);
    EXPECT_EQ(ModeOf(JournalPath(session)), 0600u) << mask;
    fs::remove(JournalPath(session));
    ::umask(old);
  }
}

// A stand-in stopped at any point is finished from the journal: a side file
// missing or cut short is written, one whose file has its name back goes,
// and one that is not the planned side file is never replaced or removed.
// A line that names no side file is never followed.
TEST_F(RecoveryTest, StandInsStoppedAnywhereAreFinishedFromTheJournal) {
  using Files = std::map<std::string, std::string>;
  const std::string name = NameOf(200, "n"), text = Cipher(name);
  const std::string in = "VEILBOX-LONG-NAME-1", side = in + ".CIPHER";
  const PlannedRename to{"", name, in, SideFile::WriteFirst, side, text};
  const PlannedRename back{"", in, name, SideFile::RemoveAfter, side, text};
  const std::vector<std::tuple<PlannedRename, Files, Files, int>> cases{
      {to, {{name, "F"}}, {{in, "F"}, {side, text}}, 0},
      {to, {{name, "F"}, {side, text.substr(0, 40)}}, {{in, "F"}, {side, text}}, 0},
      {to, {{name, "F"}, {side, text}}, {{in, "F"}, {side, text}}, 0},
      {to, {{name, "F"}, {side, "mine"}}, {{name, "F"}, {side, "mine"}}, 1},
      {to, {{in, "F"}, {side, text}}, {{in, "F"}, {side, text}}, 0},
      {back, {{in, "F"}, {side, text}}, {{name, "F"}}, 0},
      {back, {{name, "F"}, {side, text}}, {{name, "F"}}, 0},
      {back, {{name, "F"}, {side, "mine"}}, {{name, "F"}, {side, "mine"}}, 0},
      {back, {{side, text}}, {{side, text}}, 0},
  };
  const fs::path folder = home.Root() / "Case";
  for (size_t i = 0; i < cases.size(); ++i) {
    const auto& [rename, before, after, failed] = cases[i];
    fs::create_directory(folder);
    for (const auto& [file, content] : before) WriteText(folder / file, content);
    JournalWriter writer(session);
    writer.Add(rename);
    writer.Commit({"hide", R("o</<Visible<Normal<o*"), R("o</<Hidden<Normal<o*"), "/from", "/to"});
    JournalPlan plan(session, writer.Offset());
    EXPECT_EQ(RenameFiles(session, *OpenFolderAt(platform, folder.string()), folder.string(), plan,
                          1, Resume::Yes)
                  .failed,
              failed)
        << "case " << i;
    Files found;
    for (const auto& e : fs::directory_iterator(folder)) {
      found[e.path().filename().string()] = ReadText(e.path());
    }
    EXPECT_EQ(found, after) << "case " << i;
    fs::remove_all(folder);
    fs::remove(JournalPath(session));
  }
  JournalWriter bad(session);
  bad.Add({"", in, name, SideFile::RemoveAfter, "notes.txt", text});
  bad.Commit({"hide", R("o</<Visible<Normal<o*"), R("o</<Hidden<Normal<o*"), "/from", "/to"});
  EXPECT_NE(ReadJournal(session).at(0).problem.find("is not the name of a side file"),
            std::string::npos);
  PlannedRename r;
  EXPECT_FALSE(JournalPlan(session, bad.Offset()).Next(r));
}

TEST_F(RecoveryTest, AnotherCopyWaitsForTheDataLock) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    PosixPlatform other;
    auto lock = other.LockData({});
    (void)!::write(ready[1], "x", 1);
    ::usleep(300'000);
    WriteText(home.Root() / "order", "child");
    _exit(0);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  // A check that gives up waiting has not looked at the folders.
  session.data_lock_limit = std::chrono::milliseconds(50);
  dialogue.Answers({Answer::Yes});  // the error reporter's question
  EXPECT_FALSE(CheckFolders(session, false).complete);
  {
    auto lock = platform.LockData({});
    auto again = platform.LockData({});  // the same copy gets it again at once
    WriteText(home.Root() / "order", ReadText(home.Root() / "order") + " parent");
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_EQ(ReadText(home.Root() / "order"), "child parent");
}

}  // namespace
}  // namespace veilbox::testing
