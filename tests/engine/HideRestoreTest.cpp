#include <fcntl.h>
#include <stdio.h>

#include "engine/EngineFixture.h"
#include "engine/FilenamePass.h"
#include "engine/FolderMove.h"
#include "engine/StandIns.h"
#include "store/StoreList.h"
#include "support/ForwardingFolder.h"

namespace veilbox::testing {

// Past 112 bytes a name gets a stand-in, passing over look-alikes; plain names stay on restore.
TEST_F(EngineTest, NamesOfEveryLengthAreHiddenEncryptedAndComeBack) {
  Files files;  // each file holding its own name
  for (const char* name : {"a.txt", ".dot", "sub/b", "VEILBOX-LONG-NAME-1",
                           "VEILBOX-LONG-NAME-2.CIPHER", "sub/VEILBOX-LONG-NAME-1.CIPHER"})
    files[name];
  for (const size_t bytes : {112, 113, 200, 255})
    for (const char* unit : {"n", "ж", "界"})
      files[(bytes % 2 ? "sub/" : "") + NameOf(bytes, unit)];
  for (auto& [name, content] : files) content = name;
  const fs::path plans = MakeFolder("Work/Plans", files), empty = MakeFolder("Work/Empty");
  const fs::path hidden = store / "Plans";
  Add({plans, empty});
  EXPECT_TRUE(Hide({"Plans", "Empty"}, true).AllDone() && !fs::exists(plans));
  EXPECT_EQ(FilesIn(hidden), files.size() + 9) << "a side file for each name past 112 bytes";
  for (const fs::path& name :
       std::vector<fs::path>{"a.txt", ".dot", "VEILBOX-LONG-NAME-1", "sub/b", NameOf(112, "界")})
    EXPECT_EQ(ReadText(hidden / name.parent_path() / Cipher(name.filename())), name.string());
  for (const char* mine : {"by hand.txt", "ABCDEF"}) WriteText(hidden / mine, files[mine] = "H");

  EXPECT_TRUE(Restore({"Plans", "Empty"}).AllDone() && dialogue.boxes.empty());
  EXPECT_EQ(FilesIn(plans), files.size());
  for (const auto& [file, content] : files) EXPECT_EQ(ReadText(plans / file), content);
  EXPECT_TRUE(!fs::exists(hidden) && fs::is_directory(empty));
}

// A name taken by a row of the same command is taken for the next one.
TEST_F(EngineTest, StoreNamesGrowByWholeSuffixesIgnoringCase) {
  for (const char* taken : {"temp", "Plans", "plans(1)"}) fs::create_directories(store / taken);
  const fs::path plans = MakeFolder("Work/Plans", {{"x", "x"}}), temp = MakeFolder("Work/temp");
  const fs::path other = MakeFolder("Other/Plans", {{"y", "y"}});
  Add({plans, temp, other});
  EXPECT_TRUE(Hide({"Plans", "temp"}).AllDone());
  EXPECT_EQ(ReadText(store / "Plans(1)(1)/x") + ReadText(store / "Plans(1)(1)(1)/y"), "xy");
  EXPECT_EQ(Database(), Record(plans, "Hidden<Normal", "Plans(1)(1)") +
                            Record(temp, "Hidden<Normal", "temp(1)") +
                            Record(other, "Hidden<Normal", "Plans(1)(1)(1)") + "\r\n");
  EXPECT_TRUE(Restore({"Plans", "temp"}).AllDone());
  EXPECT_EQ(ReadText(plans / "x") + ReadText(other / "y"), "xy");
  EXPECT_TRUE(fs::is_directory(temp) && fs::is_directory(store / "Plans")) << "others stay";
}

// Twin rows are each their own; a new folder at a hidden one's place hides under a free name.
TEST_F(EngineTest, RowsAlreadyAsWantedAndTwinRowsAreEachTheirOwn) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a", "a"}});
  Add({plans, plans});
  EXPECT_EQ(Kinds(Hide({"Plans"})), "DF");
  MakeFolder("Work/Plans", {{"new", "new"}});
  EXPECT_EQ(Kinds(Hide({"Plans"}, true)), "AD");
  EXPECT_EQ(ReadText(store / "Plans(1)" / Cipher("new")), "new");
  EXPECT_TRUE(CheckFolders(session, false).findings.empty());
}

// A folder gone, swapped or too long a path: the row fails, telling why, and the pass goes on.
TEST_F(EngineTest, AFailedMoveKeepsTheRecordTellsWhyAndThePassGoesOn) {
  const fs::path gone = MakeFolder("Work/Gone"), plans = MakeFolder("Work/Plans");
  Add({gone, plans});
  fs::remove(gone);
  EXPECT_EQ(Kinds(Hide({"Gone", "Plans"})), "FD");
  EXPECT_EQ(Said(), "Following error occurd while copying folder " + gone.string() +
                        "\r\nThe folder does not exist.");
  EXPECT_EQ(Statuses(), "Visible Hidden");

  Restore({"Plans"});
  WriteText(plans / "a", "A");
  const size_t limit = std::exchange(platform.max_path, (store / "Plans").string().size() + 10);
  EXPECT_EQ(Kinds(Hide({"Plans"}, true)), "R");
  EXPECT_THAT(Said(), HasSubstr("longer than the system allows"));
  EXPECT_EQ(ReadText(plans / "a"), "A");
  platform.max_path = limit;
  const fs::path other = MakeFolder("Work/Other", {{"o", "O"}});
  dialogue.on_show = [&] {
    if (!fs::exists(plans / "a")) return;
    fs::rename(plans, home.Root() / "Work/Plans.held");
    fs::rename(other, plans);
  };
  EXPECT_EQ(Kinds(Hide({"Plans"}, true)), "F");
  EXPECT_EQ(ReadText(plans / "o"), "O");
  EXPECT_FALSE(fs::exists(JournalPath(session)));

  dialogue.on_show = nullptr;
  ASSERT_TRUE(Hide({"Plans"}, true).AllDone());
  dialogue.on_show = [&] {
    if (fs::exists(store / "Plans.held")) return;
    fs::rename(store / "Plans", store / "Plans.held");
    fs::create_directory(store / "Plans");
  };
  EXPECT_EQ(Kinds(Restore({"Plans"})), "F");
  EXPECT_FALSE(fs::exists(JournalPath(session)));

  // A stored folder that has become a link is never reached.
  dialogue.on_show = nullptr;
  fs::remove(store / "Plans");
  fs::create_directory_symlink(store / "Plans.held", store / "Plans");
  dialogue.boxes.clear();
  EXPECT_EQ(Kinds(Restore({"Plans"})), "F");
  EXPECT_EQ(Kinds(Remove({"Plans"})), "F");
  const std::string cut = "The hidden/locked folder " + store.string() + " cannot be reached (";
  EXPECT_THAT(dialogue.boxes.at(0).text, ::testing::StartsWith(cut));
  EXPECT_THAT(dialogue.boxes.at(1).text, ::testing::StartsWith(cut));
}

// Exchanged with a link the moment it arrives, a folder has arrived; taken away or unreadable, not.
TEST_F(EngineTest, AFolderExchangedTheMomentItArrivesHasArrived) {
  struct Racing : ForwardingFolder {
    using ForwardingFolder::ForwardingFolder;
    std::optional<EntryId> ChildId(const std::string& name, Where where) override {
      if (unreadable) Raise(err::kPermissionDenied, "Permission denied", where);
      return inner_->ChildId(name, where);
    }
    MoveResult MoveChild(const std::string& name, OpenFolder& target,
                         const std::string& new_name) override {
      MoveResult moved = ForwardingFolder::MoveChild(name, target, new_name);
      EXPECT_EQ(::renameat2(AT_FDCWD, arrived.c_str(), AT_FDCWD, to.c_str(), flags), 0);
      return moved;
    }
    fs::path arrived, to;
    unsigned flags = RENAME_EXCHANGE;
    bool unreadable = false;
  };
  const fs::path from = MakeFolder("From/Plans", {{"a", "A"}}).parent_path();
  const fs::path shared = MakeFolder("Shared");
  fs::create_directory_symlink(MakeFolder("Victim"), shared / "link");
  const auto move = [&](const fs::path& to, unsigned flags, bool unreadable) {
    HeldFolder held = HoldFolder(platform, from.string(), "Plans");
    auto racing = std::make_unique<Racing>(std::move(held.parent));
    std::tie(racing->arrived, racing->to, racing->flags, racing->unreadable) =
        std::tuple(shared / "Plans", to, flags, unreadable);
    held.parent = std::move(racing);
    auto target = std::make_unique<ForwardingFolder>(OpenFolderAt(platform, shared.string()));
    return bool(MoveHeldFolder(held, std::move(target), "Plans"));
  };
  EXPECT_FALSE(move(shared / "link", RENAME_EXCHANGE, true));
  EXPECT_FALSE(move(from / "Away", 0, false));
  fs::rename(from / "Away", from / "Plans");
  EXPECT_TRUE(move(shared / "link", RENAME_EXCHANGE, false) && fs::is_symlink(shared / "Plans"));
  EXPECT_EQ(ReadText(shared / "link/a"), "A");
  EXPECT_FALSE(fs::exists(fs::symlink_status(from / "Plans")));
}

// Store folders are private; a link moves nothing; a kill at the error box recovers the same list.
TEST_F(EngineTest, EachRowIsSavedBeforeTheNextAndABadStoreFolderMovesNothing) {
  const fs::path first = MakeFolder("Work/First"), second = MakeFolder("driveB/Work/Second");
  const fs::path link = home.Root() / "driveB/Store";
  fs::create_directory_symlink(home.MakeFolder("home"), link);
  Add({first});
  UseStores(session.stores.Text() + link.string() + "*");
  Add({second});
  std::pair<std::string, std::string> at_box;  // the list and the journal
  dialogue.on_show = [&] { at_box = {Database(), ReadText(JournalPath(session))}; };
  dialogue.Answers({Answer::Yes});  // the error box
  const mode_t mask = ::umask(0);
  EXPECT_FALSE(Hide({"First", "Second"}).completed);
  ::umask(mask);
  EXPECT_EQ(std::pair(ModeOf(store), ModeOf(store / "temp")), std::pair(0700u, 0700u));
  EXPECT_THAT(Said(), HasSubstr(link.string() + " is a link"));
  EXPECT_TRUE(fs::is_directory(second) && fs::is_empty(home.Root() / "home"));
  const std::string saved = Record(first, "Hidden<Normal") + Record(second) + "\r\n";
  EXPECT_EQ(Database(), saved);
  EXPECT_FALSE(fs::exists(JournalPath(session))) << "every row it names is saved";
  WriteText(session.data_file, at_box.first);
  WriteText(JournalPath(session), at_box.second);
  EXPECT_TRUE(RecoverInterruptedRow(session));
  EXPECT_EQ(Database(), saved);
}

// A side file goes if its stand-in's rename fails; a taken name or a mount stops a rename.
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

  // A drive mounted in the tree after its names were planned is not renamed in.
  WriteText(plans / "mounted/f", "F");
  WithMounts root(platform.OpenFolderNoLinks(plans.string()).folder);
  NamePlan plan;
  plan.Add({"mounted", "f", "g"});
  plan.Add({"", name, "b"});
  EXPECT_EQ(RenameFiles(session, root, plans.string(), plan, 2).failed, 1);
  EXPECT_EQ(ReadText(plans / "mounted/f") + ReadText(plans / "b"), "FL");
  cEncrypt cipher;  // nor planned in: the refusal is one sentence, which the caller ends
  EXPECT_THAT(
      [&] {
        PlanEncryptedNames(session, cipher, root, plans.string(), "T", plan, HiddenForms::Keep);
      },
      ::testing::Throws<Failure>(::testing::Property(
          &Failure::Description, ::testing::EndsWith("Unmount it, then try again"))));
  // A stopped pass finished: a stand-in whose plain name was taken meanwhile stays as it is.
  const PlannedRename back{"", "VEILBOX-LONG-NAME-2", "b", SideFile::RemoveAfter, SideFileName(2)};
  EXPECT_TRUE(RenameWithSideFile(root, back, Resume::Yes));
  EXPECT_FALSE(RenameWithSideFile(root, back, Resume::No));
  EXPECT_EQ(ReadText(plans / "VEILBOX-LONG-NAME-2") + ReadText(plans / "b"), "TL");
}

// A taken name asks first, never merging; a place gone asks for another, on the drive, no link.
TEST_F(EngineTest, RestoreAsksBeforeATakenNameAndGoesElsewhereWhenThePlaceIsGone) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a", "mine"}});
  const fs::path moved = MakeFolder("Work/Old/Moved", {{"a", "a"}}), old = moved.parent_path();
  const fs::path elsewhere = MakeFolder("Work/New"), via = home.Root() / "Work/Via";
  fs::create_directory_symlink(elsewhere, via);
  Add({plans, MakeFolder("Work/Gone"), moved});
  Hide({"Plans", "Gone", "Moved"});
  MakeFolder("Work/Plans", {{"a", "new"}});
  fs::remove_all(store / "Gone");
  fs::remove(old);
  dialogue.Answers({Answer::No});
  EXPECT_EQ(Kinds(Restore({"Plans", "Gone"})), "NR");
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].text + " " + Said(),
            "Plans already exists in this folder. Do you wish to restore to this folder anyway? "
            "Gone does not exist in the hidden database and therefore cannot be restored.");
  EXPECT_EQ(Statuses(), "Hidden Hidden Hidden");
  dialogue.Answers({Answer::Yes});
  Restore({"Plans"});
  EXPECT_EQ(ReadText(plans / "a") + ReadText(plans.parent_path() / "Plans(1)/a"), "newmine");
  EXPECT_EQ(rows[0],
            (ListRow{"Plans(1)", plans.parent_path().string() + "/", "Visible", "Normal"}));

  dialogue.boxes.clear();
  dialogue.Answers({Answer::Yes, Answer::Yes, Answer::Yes});
  dialogue.Folders({MakeFolder("driveB").string(), via.string(), elsewhere.string()});
  EXPECT_TRUE(Restore({"Moved"}).AllDone());
  const std::string where = " does not exist (or is hidden). Do you wish to restore Moved to ";
  EXPECT_EQ(dialogue.boxes[0].text, old.string() + "/" + where + "another folder?");
  EXPECT_THAT(dialogue.boxes.at(2).text, HasSubstr("link"));
  EXPECT_EQ(ReadText(elsewhere / "Moved/a"), "a");
  EXPECT_THAT(Database(), HasSubstr(Record(elsewhere / "Moved")));
}

// Names the list cannot keep, Veilbox's own places and links are refused; Cancel adds nothing.
TEST_F(EngineTest, AddRefusesFoldersOverlappingVeilboxsOwnAndAppendsAVisibleRecord) {
  const fs::path plans = MakeFolder("Work/Plans");
  fs::create_directories(store / "inside");
  fs::create_directory_symlink(home.Root() / "Work", home.Root() / "link");
  for (const fs::path& folder : {home.MakeFolder("Work/a*b"), store, store / "inside",
                                 home.ProgramFolder(), home.Root(), home.Root() / "link/Plans"}) {
    dialogue.Folders({folder.string()});
    EXPECT_EQ(Kinds(session.Add(1)), "R") << folder;
  }
  EXPECT_EQ(Said(), (home.Root() / "link/Plans").string() +
                        " is or passes through a link. It cannot be added.");
  EXPECT_EQ(Kinds(session.Add(1)), "N");  // no folder queued: the chooser is cancelled
  EXPECT_FALSE(fs::exists(session.data_file));
  Add({plans});
  EXPECT_EQ(Database(), Record(plans) + "\r\n");
}

// A drive without a store folder: the add, or a hide, asks for one there; No changes nothing.
TEST_F(EngineTest, AFolderOnADriveWithoutStoreSetsOneUpOrIsLeftAsItIs) {
  const fs::path first = MakeFolder("Work/First"), plans = MakeFolder("driveB/Work/Plans");
  const fs::path b_store = home.Root() / "driveB/Store", vault = home.Root() / "driveB/Vault";
  Add({first});
  const std::string settings_before = ReadText(home.SettingsFile());
  dialogue.Answers({Answer::No, Answer::Yes});
  dialogue.Folders({plans.string(), plans.string(), plans.parent_path().string()});
  EXPECT_EQ(Kinds(session.Add(2)), "NN");
  EXPECT_EQ(dialogue.boxes[0].text,
            "The folder you want to hide has no hidden/locked folder setup on its drive. Do you "
            "wish to create/select a hidden/locked folder on /B/?");
  EXPECT_EQ(ReadText(home.SettingsFile()), settings_before);
  dialogue.Answers({Answer::Yes, Answer::Yes});
  dialogue.Folders({plans.string(), home.Root().string(), b_store.string()});
  ASSERT_TRUE(session.Add(1).AllDone());
  EXPECT_EQ(dialogue.boxes.at(4).text, "This folder is not on /B/. Do you wish to choose again?");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store.string() + "*" + b_store.string() + "*");

  UseStores(store.string() + "*");
  Add({MakeFolder("Work/Last")});
  dialogue.Answers({Answer::Cancel});
  EXPECT_EQ(Kinds(Hide({"First", "Plans", "Last"})), "DN");
  EXPECT_THAT(Said(), HasSubstr("drive. Do you wish to create a hidden/locked folder on /B/?"));
  EXPECT_EQ(Statuses(), "Hidden Visible Visible");
  dialogue.Answers({Answer::Yes});
  dialogue.Folders({vault.string()});
  EXPECT_TRUE(Hide({"Plans", "Last"}).AllDone());
  EXPECT_TRUE(fs::is_directory(vault / "Plans") && fs::is_directory(vault / "temp") &&
              fs::is_directory(store / "Last"));
  // Remembered as drive B's, so that its path serves no other drive while B is away.
  EXPECT_EQ(StoreDrives::Parse(Setting("VeilboxStoreDrives")).DriveOf(vault.string()), "/B/");
}

// Hidden rows are restored before they go; one not restored stays.
TEST_F(EngineTest, RemoveRestoresHiddenRowsAndKeepsThoseItCannotRestore) {
  const fs::path work = home.Root() / "Work";
  for (const char* name : {"One", "Two", "Three", "Four"})
    Add({MakeFolder(std::string("Work/") + name, {{"f", name}})});
  Hide({"Two"});
  Hide({"Four"}, true);
  ASSERT_TRUE(Remove({"One", "Two", "Four"}).AllDone());
  EXPECT_EQ(Database(), Record(work / "Three") + "\r\n");
  EXPECT_EQ(ReadText(work / "Four/f") + ReadText(work / "Two/f") + ReadText(work / "One/f"),
            "FourTwoOne");

  Hide({"Three"});
  fs::remove_all(work);
  dialogue.Answers({Answer::No});
  EXPECT_EQ(Kinds(Remove({"Three"})), "N");
  EXPECT_EQ(Reload().size(), 1u);
  UseStores((home.Root() / "driveB/S").string() + "*");
  EXPECT_EQ(Kinds(Remove({"Three"})), "R");
  EXPECT_THAT(Said(), HasSubstr("Three stays in the list: its drive has no hidden/locked folder"));
  EXPECT_TRUE(fs::is_directory(store / "Three"));
  EXPECT_EQ(Reload().size(), 1u);
}

}  // namespace veilbox::testing
