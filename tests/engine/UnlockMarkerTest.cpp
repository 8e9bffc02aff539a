// The marker of store folders unlocked for a while: written before the
// unlock, removed by the relock of the process that wrote it, and a marker
// of a process that no longer runs has the next start lock the folders.
#include "engine/UnlockMarker.h"

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "EngineFixture.h"
#include "engine/Locking.h"

namespace veilbox::testing {
namespace {

constexpr const char* kRelocked =
    "A previous run of Veilbox ended without locking the hidden/locked folders; they are locked "
    "now.";

class UnlockMarkerTest : public EngineTest {
 protected:
  // Two store folders, and a listed one that does not exist and is skipped.
  UnlockMarkerTest() {
    fs::create_directories(store);
    UseStores(store.string() + "*" + b_store.string() + "*" + (home.Root() / "none").string() +
              "*");
  }

  // The mode both store folders have (01000 when they differ).
  unsigned StoreMode() const { return ModeOf(store) == ModeOf(b_store) ? ModeOf(store) : 01000; }
  fs::path Marker() const { return UnlockMarkerPath(state); }

  // A marker written by a process that has ended; one not reaped stays a
  // zombie until the case ends.
  void MarkByEndedChild(bool reaped) {
    const pid_t child = ::fork();
    if (child == 0) {
      WriteText(Marker(), platform.ProcessTag());
      _exit(0);
    }
    siginfo_t info{};
    ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | (reaped ? 0 : WNOWAIT));
    zombie_ = reaped ? 0 : child;
  }
  void Mark(const std::string& tag) { WriteText(Marker(), tag); }
  ~UnlockMarkerTest() override {
    if (zombie_) ::waitpid(zombie_, nullptr, 0);
  }

  const fs::path b_store = MakeFolder("driveB/Vault");
  pid_t zombie_ = 0;
};

TEST_F(UnlockMarkerTest, TheMarkerLivesFromUnlockToRelockOfEveryStoreFolder) {
  ASSERT_TRUE(UnlockStoreFoldersForAWhile(state));
  EXPECT_EQ(StoreMode(), 0700u);
  EXPECT_EQ(ReadText(Marker()), platform.ProcessTag());
  ASSERT_TRUE(LockStoreFoldersAgain(state));
  EXPECT_EQ(StoreMode(), 0u);
  EXPECT_FALSE(fs::exists(Marker()));

  // Left unlocked on purpose: the marker goes, the folders stay open.
  ASSERT_TRUE(UnlockStoreFoldersForAWhile(state));
  LeaveStoreFoldersUnlocked(state);
  EXPECT_FALSE(fs::exists(Marker()));
  EXPECT_EQ(StoreMode(), 0700u);

  // Another copy's marker is that copy's to remove.
  Mark("1 1");
  EXPECT_TRUE(LockStoreFoldersAgain(state));
  EXPECT_EQ(ReadText(Marker()), "1 1");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(UnlockMarkerTest, AtStartAMarkerOfAProcessThatEndedLocksTheStoreFolders) {
  struct Case {
    const char* what;
    std::function<void()> mark;
    bool relocked;
  };
  const std::vector<Case> cases{
      {"no marker", [] {}, false},
      {"this running process", [this] { Mark(platform.ProcessTag()); }, false},
      {"a process that ended", [this] { MarkByEndedChild(true); }, true},
      {"a process that ended, not yet waited for", [this] { MarkByEndedChild(false); }, true},
      {"the same id started at another time", [this] { Mark(std::to_string(::getpid()) + " 1"); },
       true},
      {"a damaged marker", [this] { Mark(""); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(UnlockStoreFolders(state));
    c.mark();
    const bool marked = fs::exists(Marker());
    dialogue.boxes.clear();
    RelockAfterStoppedRun(state);
    EXPECT_EQ(StoreMode(), c.relocked ? 0u : 0700u);
    EXPECT_EQ(fs::exists(Marker()), marked && !c.relocked);
    if (c.relocked) {
      ASSERT_EQ(dialogue.boxes.size(), 1u);
      EXPECT_EQ(dialogue.boxes[0].text, kRelocked);
      EXPECT_EQ(dialogue.boxes[0].icon, Icon::Information);
    } else {
      EXPECT_TRUE(dialogue.boxes.empty());
    }
    if (fs::exists(Marker())) fs::remove(Marker());
    if (zombie_) ::waitpid(std::exchange(zombie_, 0), nullptr, 0);
  }
}

}  // namespace
}  // namespace veilbox::testing
