#include <sys/wait.h>
#include <unistd.h>

#include "crypto/cEncrypt.h"
#include "engine/EngineFixture.h"
#include "engine/Journal.h"
#include "engine/Recovery.h"

namespace veilbox::testing {
namespace {

class RecoveryTest : public EngineTest {
 protected:
  std::string Cipher(const std::string& name) {
    return cEncrypt().Encrypt(name, state.EncryptDecryptKey);
  }
  // The journal a hide of Plans with encrypted names writes.
  Journal HideJournal(const fs::path& plans, const std::string& visible_record) {
    Journal j{"hide", visible_record, "", plans.string(), (store / "Plans").string(), {}, {}};
    j.new_record = "Plans<" + plans.parent_path().string() + "/<Hidden<Encrypted<Plans*";
    for (const char* f : {"a.txt", "sub/b.txt", "c.txt"}) {
      j.names.files.push_back({f, Cipher(fs::path(f).filename().string())});
    }
    return j;
  }
  void Write(const Journal& j) { WriteText(JournalPath(state), JournalText(j)); }

  fs::path plans;
  std::string visible;
  void SetUpPlans() {
    plans = MakeFolder("Work/Plans", {{"a.txt", "A"}, {"sub/b.txt", "B"}, {"c.txt", "C"}});
    Add(plans);
    visible = "Plans<" + plans.parent_path().string() + "/<Visible<Normal<Plans*";
  }
};

TEST(JournalText, RoundTripsAnyNameAndRejectsATruncatedJournal) {
  Journal j{"restore", "a<b<c<d<e*",          "", "/x/\tweird\\name", "/y/new\nline",
            {},        EntryId{3, 1ull << 40}};
  j.names.files = {{"sub/fi\tle", "NEW"}, {"plain", ""}};
  j.names.complete = false;
  const std::string text = JournalText(j);
  std::optional<Journal> back = ParseJournal(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->from, j.from);
  EXPECT_EQ(back->to, j.to);
  EXPECT_EQ(back->new_record, "");
  ASSERT_EQ(back->names.files.size(), 2u);
  EXPECT_EQ(back->names.files[0].relative, "sub/fi\tle");
  EXPECT_EQ(back->names.files[1].new_name, "");
  EXPECT_FALSE(back->names.complete);
  EXPECT_EQ(back->folder, j.folder);
  EXPECT_FALSE(ParseJournal(text.substr(0, text.size() - 4)));
  EXPECT_FALSE(ParseJournal("something else\n"));
}

TEST_F(RecoveryTest, AHideCutOffHalfWayThroughTheNamesIsFinished) {
  SetUpPlans();
  const Journal j = HideJournal(plans, visible);
  // Moved, one file renamed, the record not yet written.
  fs::create_directories(store);
  fs::rename(plans, store / "Plans");
  fs::rename(store / "Plans" / "a.txt", store / "Plans" / Cipher("a.txt"));
  Write(j);

  EXPECT_TRUE(RecoverInterruptedRow(state));
  EXPECT_EQ(ReadText(store / "Plans" / Cipher("a.txt")), "A");
  EXPECT_EQ(ReadText(store / "Plans" / "sub" / Cipher("b.txt")), "B");
  EXPECT_EQ(ReadText(store / "Plans" / Cipher("c.txt")), "C");
  EXPECT_EQ(Database(), j.new_record + "\r\n");
  EXPECT_FALSE(fs::exists(JournalPath(state)));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Recovery");
  EXPECT_NE(dialogue.boxes[0].text.find("finished"), std::string::npos);

  // The recovered folder restores like any other.
  rows = *LoadDataFile(state);
  Change("Visible", {"Plans"});
  EXPECT_EQ(ReadText(plans / "sub" / "b.txt"), "B");
}

TEST_F(RecoveryTest, AnotherFolderWhereTheMovedOneShouldBeIsLeftAloneAndTheJournalKeptAside) {
  SetUpPlans();
  Journal j = HideJournal(plans, visible);
  j.folder = EntryId{1, 1};  // not the folder that now stands at "to"
  fs::create_directories(store);
  fs::rename(plans, store / "Plans");
  Write(j);

  EXPECT_TRUE(RecoverInterruptedRow(state));
  EXPECT_EQ(ReadText(store / "Plans" / "a.txt"), "A");
  EXPECT_EQ(Database(), visible + "\r\n");
  EXPECT_NE(dialogue.boxes.at(0).text.find("not the folder that was being moved"),
            std::string::npos);
}

TEST_F(RecoveryTest, ARowCutOffBeforeItsMoveLeavesEverythingAsItWas) {
  SetUpPlans();
  fs::create_directories(store);
  Write(HideJournal(plans, visible));
  EXPECT_TRUE(RecoverInterruptedRow(state));
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(Database(), visible + "\r\n");
  EXPECT_FALSE(fs::exists(JournalPath(state)));
  EXPECT_NE(dialogue.boxes.at(0).text.find("Nothing had moved"), std::string::npos);
  EXPECT_FALSE(RecoverInterruptedRow(state)) << "nothing left to recover";
}

TEST_F(RecoveryTest, ARestoreCutOffBeforeItsNamesAreDecryptedIsFinished) {
  SetUpPlans();
  Change("Hidden", {"Plans"}, true);
  const std::string hidden = "Plans<" + plans.parent_path().string() + "/<Hidden<Encrypted<Plans*";
  ASSERT_EQ(Database(), hidden + "\r\n");
  Journal j{"restore", hidden, visible, (store / "Plans").string(), plans.string(), {}, {}};
  for (const char* f : {"a.txt", "sub/b.txt", "c.txt"}) {
    const std::string name = fs::path(f).filename().string();
    const std::string dir = fs::path(f).parent_path().string();
    j.names.files.push_back({(dir.empty() ? "" : dir + "/") + Cipher(name), name});
  }
  fs::rename(store / "Plans", plans);
  Write(j);

  EXPECT_TRUE(RecoverInterruptedRow(state));
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(ReadText(plans / "sub" / "b.txt"), "B");
  EXPECT_EQ(Database(), visible + "\r\n");
}

TEST_F(RecoveryTest, ADamagedJournalIsKeptAsideAndReported) {
  SetUpPlans();
  WriteText(JournalPath(state), "veilbox-journal 1\noperation\thide\n");
  EXPECT_TRUE(RecoverInterruptedRow(state));
  EXPECT_FALSE(fs::exists(JournalPath(state)));
  int kept = 0;
  for (const auto& e : fs::directory_iterator(home.ProgramFolder())) {
    kept += e.path().filename().string().starts_with("Dat.sys.journal.bad-");
  }
  EXPECT_EQ(kept, 1);
  EXPECT_EQ(dialogue.boxes.at(0).icon, Icon::Exclamation);
  EXPECT_EQ(Database(), visible + "\r\n");
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
