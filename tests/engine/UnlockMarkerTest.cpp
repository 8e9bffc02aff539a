// The marker of store folders unlocked for a while: written before the
// unlock, removed by the relock of the process that wrote it, and a marker
// of a process that no longer runs has the next start lock the folders.
#include "engine/UnlockMarker.h"

#include <sys/wait.h>

#include <unistd.h>
#include <csignal>

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
  fs::path Marker() const { return UnlockMarkerPath(session); }

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
  // The tag of another copy that runs until the case ends.
  std::string OtherCopy() {
    int tag[2];
    if (::pipe(tag) != 0) return "";
    other_ = ::fork();
    if (other_ == 0) {
      const std::string own = platform.ProcessTag();
      (void)!::write(tag[1], own.data(), own.size());
      ::close(tag[1]);
      ::pause();
      _exit(0);
    }
    ::close(tag[1]);
    char text[64];
    const ssize_t n = ::read(tag[0], text, sizeof text);
    ::close(tag[0]);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : "";
  }
  ~UnlockMarkerTest() override {
    if (zombie_) ::waitpid(zombie_, nullptr, 0);
    if (other_ > 0) {
      ::kill(other_, SIGKILL);
      ::waitpid(other_, nullptr, 0);
    }
  }

  const fs::path b_store = MakeFolder("driveB/Vault");
  pid_t zombie_ = 0;
  pid_t other_ = 0;
};

// The store folders stay unlocked while anyone holds them: a command's
// release locks them only when no other live holder remains, and leaves the
// others' lines; the user's lock locks them whoever holds them; a window
// closed unlocked on purpose leaves them to the user.
TEST_F(UnlockMarkerTest, TheStoreFoldersStayUnlockedWhileAnyoneHoldsThem) {
  const std::string own = platform.ProcessTag();
  ASSERT_TRUE(HoldUnlocked(session, Holder::Command));
  EXPECT_EQ(StoreMode(), 0700u);
  EXPECT_EQ(ReadText(Marker()), "command " + own + "\n");
  ASSERT_TRUE(ReleaseHold(session));
  EXPECT_EQ(StoreMode(), 0u);
  EXPECT_FALSE(fs::exists(Marker()));

  // Another copy's window holds them open.
  const std::string window = "window " + OtherCopy() + "\n";
  Mark(window);
  EXPECT_TRUE(HeldUnlockedForWindows(session));
  ASSERT_TRUE(HoldUnlocked(session, Holder::Command));
  ASSERT_TRUE(ReleaseHold(session));
  EXPECT_EQ(StoreMode(), 0700u);
  EXPECT_EQ(ReadText(Marker()), window);
  ASSERT_TRUE(LockForUser(session));
  EXPECT_EQ(StoreMode(), 0u);
  EXPECT_FALSE(fs::exists(Marker()));
  EXPECT_FALSE(HeldUnlockedForWindows(session));

  ASSERT_TRUE(HoldUnlocked(session, Holder::Window));
  LeaveUnlocked(session);
  EXPECT_EQ(ReadText(Marker()), "user\n");
  RelockAfterStoppedRun(session);
  EXPECT_EQ(StoreMode(), 0700u);
  EXPECT_TRUE(HeldUnlockedForWindows(session));
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
    ASSERT_TRUE(UnlockStoreFolders(session));
    c.mark();
    const bool marked = fs::exists(Marker());
    dialogue.boxes.clear();
    RelockAfterStoppedRun(session);
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
