#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <span>
#include <tuple>

#include "engine/EngineFixture.h"
#include "engine/Locking.h"
#include "engine/UnlockMarker.h"

namespace veilbox::testing {

class RecoveryTest : public EngineTest {
 protected:
  static FolderRecord R(const std::string& text) { return *ParseRecord(text); }
  RecoveryTest() { fs::create_directories(store), Add({plans}); }

  long long Commit(const Journal& j, const std::vector<PlannedRename>& plan = {}) {
    JournalWriter writer(session);
    for (const PlannedRename& r : plan) writer.Add(r);
    writer.Commit(j);
    return writer.Offset();
  }
  std::vector<fs::path> KeptAside() const {
    std::vector<fs::path> kept;
    for (const auto& e : fs::directory_iterator(home.ProgramFolder()))
      if (e.path().filename().string().starts_with("Dat.sys.journal.bad-"))
        kept.push_back(e.path());
    return kept;
  }

  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "a"}, {"sub/b.txt", "b"}});
  const std::string visible = Record(plans), hidden = Record(plans, "Hidden<Encrypted");
  const Journal hide{"hide", R(visible), R(hidden), plans.string(), (store / "Plans").string()};
  const Journal restore{"restore", R(hidden), R(visible), hide.to, hide.from};
};

// Entries and names round-trip; an entry cut off is no entry; a damaged line is reported.
TEST_F(RecoveryTest, AJournalReadsBackEntryByEntryWholeOrNotAtAll) {
  Journal j{"restore", R("a</b/<c<d<e*"),     std::nullopt, "/x/\tweird\\name", "/y/new\nline",
            {},        EntryId{3, 1ull << 40}};
  j.names.complete = false;
  std::vector<PlannedRename> plan{{"sub/fi\tle", "a\\b", "NEW"}, {"", "e\nf", "G"}};
  for (int i = 0; i < 4000; ++i)
    plan.push_back({"deep/er", "file " + std::to_string(i), Cipher(std::to_string(i))});
  Commit(j, plan);
  {
    JournalWriter second(session);
    second.Add({"", "only", "ONLY"});
    second.Commit(hide);
    second.Amend(R("amended</<Visible<Encrypted<o*"));
  }
  const std::vector<Journal> back = ReadJournal(session);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(std::tie(back[0].from, back[0].to, back[0].new_record, back[0].folder,
                     back[0].names.complete),
            std::tie(j.from, j.to, j.new_record, j.folder, j.names.complete));
  EXPECT_EQ(back[0].names.renames, static_cast<long>(plan.size()));
  EXPECT_EQ(back[1].new_record->name, "amended");
  plan.push_back({"", "only", "ONLY"});
  PlannedRename r;
  auto want = plan.begin();
  for (const Journal& entry : back) {
    JournalPlan read(session, entry.offset);
    for (long n = 0; n < entry.names.renames && read.Next(r); ++n, ++want)
      EXPECT_EQ(std::tie(r.folder, r.name, r.new_name),
                std::tie(want->folder, want->name, want->new_name));
    EXPECT_FALSE(read.Next(r));
  }
  EXPECT_EQ(want, plan.end());

  const std::string text = ReadText(JournalPath(session));
  const size_t second = static_cast<size_t>(back[1].offset);
  for (size_t cut :
       {size_t{10}, second + 3, text.find("operation", second), text.rfind("\nend\n") + 4}) {
    WriteText(JournalPath(session), text.substr(0, cut));
    EXPECT_EQ(ReadJournal(session).size(), cut == 10 ? 0u : 1u) << cut;
  }
  WriteText(JournalPath(session),
            std::string(text).replace(text.find("name\tfile 2000"), 4, "nome"));
  EXPECT_THROW(ReadJournal(session), Failure);
  const std::string target = MakeFolder("Target/sub/fi\tle").parent_path().parent_path();
  fs::create_directories(target + "/deep/er");
  JournalPlan damaged(session, back[0].offset);
  const RenameOutcome outcome = RenameFiles(session, *OpenFolderAt(platform, target), target,
                                            damaged, back[0].names.renames, Resume::Yes);
  EXPECT_EQ(outcome.failed, 2000);
  EXPECT_THAT(outcome.first_failure, HasSubstr("ends before its last file"));
}

// A journal never committed or not written goes; a damaged one is kept aside; an old one followed.
TEST_F(RecoveryTest, AJournalNeverCommittedGoesADamagedOneIsKeptAsideAnOlderOneIsFollowed) {
  JournalWriter(session).Add({"", "a.txt", Cipher("a.txt")});
  EXPECT_FALSE(fs::exists(JournalPath(session)));
  rlimit limit;  // no file may grow: the journal's first line cannot be written
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit none{0, limit.rlim_max};
  const auto handler = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &none);
  EXPECT_THROW(JournalWriter{session}, Failure);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  ::signal(SIGXFSZ, handler);
  EXPECT_FALSE(fs::exists(JournalPath(session)));
  WriteText(JournalPath(session), "veilbox-journal 3\nin\t\n");             // as a kill leaves it
  WriteText(JournalPath(session) + ".new", "veilbox-journal 2\nin\t\n");    // as an older one did
  EXPECT_FALSE(RecoverInterruptedRow(session) || !dialogue.boxes.empty());  // gone unannounced
  EXPECT_FALSE(fs::exists(JournalPath(session)) || fs::exists(JournalPath(session) + ".new"));

  // One that cannot be moved aside stays as it was, and no row runs meanwhile.
  const std::string damaged = "veilbox-journal 1\noperation\thide\nbogus\nend\n";
  WriteText(JournalPath(session), damaged);
  platform.refuse_renames = true;
  dialogue.Answers({Answer::No});  // the error, not paused on again
  EXPECT_FALSE(Hide({"Plans"}).completed);
  EXPECT_THAT(dialogue.boxes.at(0).text, HasSubstr("could not be kept aside as"));
  EXPECT_EQ(ReadText(JournalPath(session)), damaged);
  platform.refuse_renames = false;
  dialogue.boxes.clear();
  EXPECT_TRUE(RecoverInterruptedRow(session) && !fs::exists(JournalPath(session)));
  ASSERT_EQ(KeptAside().size(), 1u);
  EXPECT_EQ(ModeOf(KeptAside()[0]), 0600u);
  EXPECT_EQ(ReadText(plans / "a.txt") + Database(), "a" + visible + "\r\n");

  // A restore cut off in an earlier version's journal (files named by their path) is finished.
  Hide({"Plans"}, true);
  fs::rename(store / "Plans", plans);
  const std::string old = "veilbox-journal 1\nfile\t" + Cipher("a.txt") + "\ta.txt\nfile\tsub/" +
                          Cipher("b.txt") + "\tb.txt\n";
  WriteText(JournalPath(session), old + JournalText(restore).substr(18));
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(ReadText(plans / "a.txt") + ReadText(plans / "sub/b.txt"), "ab");
  EXPECT_EQ(Database(), visible + "\r\n");
}

// Stopped at each step: undone before the move, finished after it; another folder is left alone.
TEST_F(RecoveryTest, AnInterruptedRowIsUndoneOrFinishedAtEveryStep) {
  enum Step { kNothingMoved, kMoved, kOneRenamed, kAllRenamed, kSaved, kAnotherThere };
  const std::vector<std::pair<std::string, std::string>> files{{"", "a.txt"}, {"sub", "b.txt"}};
  for (const bool hiding : {false, true}) {
    Journal j = hiding ? hide : restore;
    std::vector<PlannedRename> plan;
    for (const auto& [folder, name] : files)
      plan.push_back({folder, hiding ? name : Cipher(name), hiding ? Cipher(name) : name});
    for (const Step step :
         {kAnotherThere, kNothingMoved, kMoved, kOneRenamed, kAllRenamed, kSaved}) {
      SCOPED_TRACE(std::string(j.operation) + " step " + std::to_string(step));
      for (const fs::path& folder : {plans, store / "Plans"}) fs::remove_all(folder);
      for (const PlannedRename& r : plan) WriteText(j.from / fs::path(r.folder) / r.name, r.name);
      WriteText(session.data_file, j.old_record.Text() + "\r\n");
      if (step == kAnotherThere) j.folder = EntryId{1, 1};
      Commit(j, plan);
      if (step != kNothingMoved) fs::rename(j.from, j.to);
      const int renamed = step == kAnotherThere ? 0 : std::clamp(step - kMoved, 0, 2);
      for (const PlannedRename& r : std::span(plan).first(renamed))
        fs::rename(j.to / fs::path(r.folder) / r.name, j.to / fs::path(r.folder) / r.new_name);
      if (step == kSaved) WriteText(session.data_file, j.new_record->Text() + "\r\n");
      EXPECT_TRUE(RecoverInterruptedRow(session));

      const bool finished = step != kNothingMoved && step != kAnotherThere;
      const bool undone = step == kNothingMoved;
      EXPECT_EQ(Database(), (finished ? j.new_record->Text() : j.old_record.Text()) + "\r\n");
      for (const PlannedRename& r : plan)
        EXPECT_EQ(ReadText((undone ? j.from : j.to) / fs::path(r.folder) /
                           (finished ? r.new_name : r.name)),
                  r.name);
      EXPECT_EQ(std::pair(fs::exists(JournalPath(session)), KeptAside().size()),
                std::pair(false, step == kAnotherThere ? 1ul : 0ul));
      const char* told = undone     ? "Nothing had moved"
                         : finished ? "It has now finished that"
                                    : "is not the folder that was being moved";
      EXPECT_THAT(Said(), HasSubstr(told));
      for (const fs::path& kept : KeptAside()) fs::remove(kept);
      j.folder.reset();
    }
  }
}

// A plan climbing out of its folder is never followed; a journal is private however it was made.
TEST_F(RecoveryTest, AnEntryThatClimbsOutOfItsFolderIsNeverFollowed) {
  const fs::path documents = MakeFolder("Documents", {{"d.txt", "D"}});
  Commit(hide, {{"", "a.txt", Cipher("a.txt")}});
  const Journal docs{"hide", R("Docs</x/<Visible<Normal<Docs*"), {}, "/x/Docs", store / "Docs"};
  const long long climbing = Commit(docs, {{"", "../../Documents/d.txt", "X"}});
  fs::rename(plans, store / "Plans");
  fs::permissions(JournalPath(session), fs::perms(0644));  // as an older Veilbox made it
  PlannedRename r;
  EXPECT_FALSE(JournalPlan(session, climbing).Next(r));

  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(ReadText(store / "Plans" / Cipher("a.txt")) + ReadText(documents / "d.txt"), "aD");
  EXPECT_EQ(Database(), hidden + "\r\n");
  EXPECT_THAT(Said(),
              HasSubstr("row of the journal was left as it is: line 12 of " + JournalPath(session) +
                        " (name) names \"../../Documents/d.txt\", which holds \"/\"."));
  EXPECT_EQ(KeptAside().size(), 1u);

  // The entries before one that meets another folder at its target are finished and saved.
  fs::remove(KeptAside()[0]);
  Commit(restore, {{"", Cipher("a.txt"), "a.txt"}});
  Journal other{"hide", R("Other</x/<Visible<Normal<Other*"), {}, "/x/Other", store / "Other"};
  other.folder = EntryId{1, 1};  // not the folder standing there
  Commit(other);
  fs::create_directories(store / "Other");
  fs::rename(store / "Plans", plans);
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(std::tuple(Database(), ReadText(plans / "a.txt"), KeptAside().size()),
            std::tuple(visible + "\r\n", "a", 1u));

  WriteText(JournalPath(session), "");
  fs::permissions(JournalPath(session), fs::perms(0666));
  Commit(hide);
  EXPECT_EQ(ModeOf(JournalPath(session)), 0600u) << "private however it was made";
  fs::remove(JournalPath(session));
  Commit({"hide", R(visible), R(hidden), "Plans", (store / "Plans").string()});
  EXPECT_THAT(ReadJournal(session).at(0).problem, HasSubstr("\"Plans\", which is not a full path"));
}

// A stand-in stopped anywhere is finished from the journal, never replacing another side file.
TEST_F(RecoveryTest, StandInsStoppedAnywhereAreFinishedFromTheJournal) {
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
  for (size_t i = 0; i < cases.size(); ++i) {
    const auto& [rename, before, after, failed] = cases[i];
    SCOPED_TRACE(i);
    const std::string folder = MakeFolder("Case" + std::to_string(i), before);
    JournalPlan plan(session, Commit(hide, {rename}));
    EXPECT_EQ(
        RenameFiles(session, *OpenFolderAt(platform, folder), folder, plan, 1, Resume::Yes).failed,
        failed);
    Files found;
    for (const auto& e : fs::directory_iterator(folder))
      found[e.path().filename().string()] = ReadText(e.path());
    EXPECT_EQ(found, after);
    fs::remove(JournalPath(session));
  }
  const long long bad = Commit(hide, {{"", in, name, SideFile::RemoveAfter, "notes.txt", text}});
  EXPECT_THAT(ReadJournal(session).at(0).problem, HasSubstr("is not the name of a side file"));
  PlannedRename r;
  EXPECT_FALSE(JournalPlan(session, bad).Next(r));
}

class UnlockMarkerTest : public EngineTest {
 protected:
  // Two store folders, and a listed one that does not exist.
  UnlockMarkerTest() {
    fs::create_directories(store);
    UseStores(store.string() + "*" + b_store.string() + "*" + home.Root().string() + "/none*");
  }
  ~UnlockMarkerTest() override {
    for (const pid_t child : children_) ::kill(child, SIGKILL), ::waitpid(child, nullptr, 0);
  }

  std::string State() const {
    const unsigned mode = ModeOf(store) == ModeOf(b_store) ? ModeOf(store) : 1;
    const std::string marker = fs::exists(Marker()) ? ReadText(Marker()) : "-";
    return (mode == 0 ? "locked " : mode == 0700 ? "open " : "odd ") + marker;
  }
  fs::path Marker() const { return UnlockMarkerPath(session); }
  // The tag of another process: running, or ended and not yet waited for.
  std::string Other(bool running) {
    int tag[2];
    EXPECT_EQ(::pipe(tag), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      const std::string own = platform.ProcessTag();
      (void)!::write(tag[1], own.data(), own.size());
      if (running) ::pause();
      _exit(0);
    }
    char text[64];  // the tag, written at once
    const ssize_t n = ::read(tag[0], text, sizeof text);
    ::close(tag[0]), ::close(tag[1]);
    siginfo_t info{};
    if (!running) ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT);
    children_.push_back(child);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : "";
  }

  const fs::path b_store = MakeFolder("driveB/Vault");
  std::vector<pid_t> children_;
};

// Released, they lock only when no live holder remains; the user's lock locks them whoever holds.
TEST_F(UnlockMarkerTest, TheStoreFoldersStayUnlockedWhileALiveProcessHoldsThem) {
  const std::string window = "window " + Other(true) + "\n";
  WriteText(Marker(), window);
  EXPECT_TRUE(HeldUnlockedForWindows(session));
  ASSERT_TRUE(HoldUnlocked(session, Holder::Command) && ReleaseHold(session));
  EXPECT_EQ(State(), "open " + window);
  ASSERT_TRUE(LockForUser(session));
  EXPECT_EQ(State(), "locked -");
  EXPECT_FALSE(HeldUnlockedForWindows(session));

  ASSERT_TRUE(HoldUnlocked(session, Holder::Window));
  LeaveUnlocked(session);
  RelockAfterStoppedRun(session);
  EXPECT_EQ(State(), "open user\n");
  EXPECT_TRUE(HeldUnlockedForWindows(session) && dialogue.boxes.empty());

  // At start, a marker of a process that ended locks the store folders.
  fs::remove(Marker());
  const std::vector<std::tuple<const char*, std::function<std::string()>, bool>> cases{
      {"this running process", [&] { return platform.ProcessTag(); }, false},
      {"a process that ended, not yet waited for", [&] { return Other(false); }, true},
      {"a damaged marker", [] { return std::string(); }, true},
  };
  for (const auto& [what, marker, relocked] : cases) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(UnlockStoreFolders(session));
    const std::string text = marker();
    WriteText(Marker(), text);
    dialogue.boxes.clear();
    RelockAfterStoppedRun(session);
    EXPECT_EQ(State(), relocked ? "locked -" : "open " + text);
    EXPECT_EQ(dialogue.boxes.size(), relocked ? 1u : 0u);
    EXPECT_THAT(Said(), HasSubstr(relocked ? "ended without locking the hidden/locked" : ""));
    fs::remove(Marker());
  }
}

}  // namespace veilbox::testing
