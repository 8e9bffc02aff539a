// What every platform layer promises the core, on both builds (Windows under Wine).
#include <gmock/gmock.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "diag/Failure.h"
#include "platform/Platform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Property;
using ::testing::Throws;

class PlatformContract : public ::testing::Test {
 protected:
  // A path below the home, "/" standing for the platform's separator.
  std::string At(const std::string& relative) const {
    return (home.Root() / fs::path(relative).make_preferred()).string();
  }
  std::vector<std::string> Names(const std::string& relative) {
    std::vector<std::string> names;
    for (const DirEntry& e : platform->ListDirectory(At(relative))) {
      names.push_back(e.name + (e.kind == EntryKind::Directory ? "/" : "") +
                      (e.kind == EntryKind::Link ? "@" : ""));
    }
    return names;
  }
  std::unique_ptr<OpenFolder> Open(const std::string& relative) {
    OpenedFolder opened = platform->OpenFolderNoLinks(At(relative));
    EXPECT_TRUE(opened.folder) << opened.reason;
    return std::move(opened.folder);
  }
  bool LinkFolder(const std::string& target, const std::string& link) {
    std::error_code error;
    fs::create_directory_symlink(At(target), At(link), error);
    return !error;
  }

  TempHome home;
  std::unique_ptr<Platform> platform = CreatePlatform();
};

TEST_F(PlatformContract, FilesAreWrittenWholeOrNotAtAll) {
  const std::string file = At("data/Dat.sys");
  platform->CreateFolders(At("data/blocked/deeper"));
  WriteText(At("data/blocked/deeper/inside"), "x");
  platform->WriteFileAtomic(file, "a much longer first content");
  platform->WriteFileAtomic(file, "second");
  EXPECT_THROW(platform->WriteFileAtomic(At("data/blocked"), "new"), Failure);
  EXPECT_THROW(platform->WriteFileAtomic(At("data/missing/f"), "new"), Failure);
  EXPECT_THAT(Names("data"), ElementsAre("Dat.sys", "blocked/"));
  EXPECT_EQ(platform->ReadFile(file), "second");
  EXPECT_THAT([&] { platform->ReadFile(file + ".none"); },
              Throws<Failure>(Property(&Failure::Number, err::kFileNotFound)));

  EXPECT_EQ(
      (std::tuple{platform->FileExists(file), platform->FolderExists(file),
                  platform->FolderExists(At("data/blocked/deeper")), platform->FileExists("")}),
      std::tuple(true, false, true, false));
  EXPECT_THROW(platform->CreateFolders(file + "/below"), Failure);
  platform->RemoveFile(file);
  EXPECT_THROW(platform->RemoveFile(file), Failure);  // gone already
  EXPECT_THROW(platform->ListDirectory(At("data/none")), Failure);
}

TEST_F(PlatformContract, ListingsGiveEveryEntryWithItsKindInNameOrder) {
  platform->CreateFolders(At("f/a"));
  WriteText(At("f/b.txt"), "");
  WriteText(At("f/.dot"), "");
  const bool links = LinkFolder("f/a", "f/c");
  std::vector<std::string> expected = {".dot", "a/", "b.txt"};
  if (links) expected.push_back("c@");
  EXPECT_EQ(Names("f"), expected);
  EXPECT_FALSE(links && platform->FolderExists(At("f/c"))) << "a link to a folder is no folder";
}

TEST_F(PlatformContract, TheProgramFolderIsVeilboxHomeMadeOnFirstUse) {
  SetEnvironment("VEILBOX_HOME", At("elsewhere/sub") + platform->Separator());
  EXPECT_EQ(platform->ProgramFolder(), At("elsewhere/sub"));
  EXPECT_TRUE(platform->FolderExists(At("elsewhere/sub")));
}

TEST_F(PlatformContract, SettingsRoundTripUnderTheirKeyAndMachineValuesAreNeverWritten) {
  const std::pair<const char*, const char*> values[] = {
      {"VeilboxFirstTime", "No"}, {"VeilboxHideFolderPath", "/a \"q\"*\\b*"}, {"VeilboxEmpty", ""}};
  for (const auto& [name, value] : values)
    platform->WriteSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", name, value);
  for (const auto& [name, value] : values)
    EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", name), value);
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::CurrentUser, "SOFTWARE\\Other", "VeilboxFirstTime"),
            std::nullopt);
  EXPECT_THROW(platform->WriteSetting(SettingsRoot::LocalMachine, "SOFTWARE\\TK", "X", "y"),
               Failure);
}

TEST_F(PlatformContract, MovesAndRenamesNeverReplace) {
  WriteText(At("work/Plans/sub/a.txt"), "alpha");
  WriteText(At("work/Plans/sub/b.txt"), "beta");
  platform->CreateFolders(At("store/Taken"));
  auto work = Open("work"), store = Open("store");
  auto plans = work->OpenChild("Plans");

  EXPECT_THAT(work->MoveChild("Plans", *store, "Taken").reason, HasSubstr("already exists"));
  ASSERT_TRUE(work->MoveChild("Plans", *store, "Plans"));
  EXPECT_EQ(store->ChildId("Plans"), plans->Id());
  EXPECT_FALSE(work->ChildId("Plans"));
  auto sub = store->OpenChild("Plans")->OpenChild("sub");
  EXPECT_FALSE(sub->RenameChild("a.txt", "b.txt"));
  EXPECT_THAT(sub->WriteNewFile("b.txt", "new").reason, HasSubstr("b.txt already exists"));
  ASSERT_TRUE(sub->RenameChild("a.txt", "Caf\xC3\xA9.txt"));
  EXPECT_FALSE(sub->RemoveChildFile("a.txt"));  // gone already
  // (Joined as text: a path from a narrow name is in the code page on Windows.)
  EXPECT_EQ(platform->ReadFile(At("store/Plans/sub") + platform->Separator() + "Caf\xC3\xA9.txt"),
            "alpha");
  EXPECT_EQ(ReadText(At("store/Plans/sub/b.txt")), "beta");

  WriteText(At("p"), "p");
  WriteText(At("q"), "q");
  EXPECT_THAT(platform->Rename(At("p"), At("q")).reason, HasSubstr("already exists"));
  EXPECT_EQ(ReadText(At("q")), "q");
  EXPECT_FALSE(platform->Rename(At("missing"), At("r")));
}

TEST_F(PlatformContract, AFolderIsOpenedOnlyWhereEveryPartIsARealFolder) {
  platform->CreateFolders(At("real/inner"));
  WriteText(At("file"), "x");
  // (path, opens, missing, the part a refusal names)
  const std::tuple<std::string, bool, bool, std::string> cases[] = {
      {At("real/inner"), true, false, ""},
      {At("file"), false, false, At("file")},
      {At("gone/inner"), false, true, At("gone")}};
  for (const auto& [path, opens, missing, named] : cases) {
    OpenedFolder opened = platform->OpenFolderNoLinks(path);
    EXPECT_EQ(opened.folder != nullptr, opens) << path;
    EXPECT_EQ(opened.missing, missing) << path;
    EXPECT_THAT(opened.reason, HasSubstr(named));
  }
  auto root = Open("");
  EXPECT_THROW(root->OpenChild("file"), Failure);
  EXPECT_FALSE(root->ChildId("nothing"));

  if (!LinkFolder("real", "via")) GTEST_SKIP() << "no links can be made here";
  // (Wine reads a link as missing; refused all the same.)
  EXPECT_FALSE(platform->OpenFolderNoLinks(At("via/inner")).folder);
  EXPECT_THROW(root->OpenChild("via"), Failure);
  EXPECT_THROW(platform->CreatePrivateFolder(At("via/temp")), Failure);
  EXPECT_THROW(platform->LockFolder(At("via")), Failure);
  EXPECT_THAT(Names("real"), ElementsAre("inner/"));
}

TEST_F(PlatformContract, StoreFoldersAreMadeOnceAndLockedOnlyWhereAFolderIs) {
  const std::string store = At("Store");
  platform->CreatePrivateFolder(store);
  EXPECT_NO_THROW(platform->CreatePrivateFolder(store));
  const FolderFacts facts = platform->InspectFolder(store);
  EXPECT_TRUE(facts.exists && facts.own && facts.link.empty() &&
              facts.kind == EntryKind::Directory);
  EXPECT_FALSE(platform->InspectFolder(At("Store/missing/deeper")).exists);

  EXPECT_NO_THROW(platform->LockFolder(At("missing")));
  WriteText(At("file"), "");
  EXPECT_THROW(platform->LockFolder(At("file")), Failure);
  platform->LockFolder(store);
  platform->UnlockFolder(store);
  EXPECT_TRUE(platform->ListDirectory(store).empty());
}

TEST_F(PlatformContract, TheDataLockIsSharedWithinACopyAndExcludesAnother) {
  auto first = platform->LockData({});
  auto again = platform->LockData({});  // the same copy gets it at once
  first.reset();                        // another copy waits until the last holder here lets go
  auto other = CreatePlatform();
  std::atomic<bool> got{false};
  std::thread waiter([&] {
    auto lock = other->LockData({});
    got = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(got);
  again.reset();
  waiter.join();
  EXPECT_TRUE(got);

  auto held = platform->LockData({});  // and held past the limit, the wait fails
  EXPECT_THROW(other->LockData(
                   {.still_waiting = {}, .meanwhile = {}, .limit = std::chrono::milliseconds(200)}),
               Failure);
}

TEST_F(PlatformContract, AProcessTagNamesThisRunningProcessOnly) {
  const std::string tag = platform->ProcessTag();
  EXPECT_TRUE(platform->ProcessRunning(tag));
  const std::string id = tag.substr(0, tag.find(' '));
  EXPECT_FALSE(platform->ProcessRunning(id + " 1"));  // the same id, started at another time
  EXPECT_TRUE(platform->ProcessRunning(id)) << "an older marker's tag has no start time";
  EXPECT_FALSE(platform->ProcessRunning(""));
  EXPECT_FALSE(platform->ProcessRunning("0")) << "no process has the id 0";
}

}  // namespace
}  // namespace veilbox::testing
