// The marker of store folders unlocked for a while.
#include "engine/UnlockMarker.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "EngineFixture.h"
#include "engine/Locking.h"

namespace veilbox::testing {

class UnlockMarkerTest : public EngineTest {
 protected:
  // Two store folders, and a listed one that does not exist.
  UnlockMarkerTest() {
    fs::create_directories(store);
    UseStores(store.string() + "*" + b_store.string() + "*" + (home.Root() / "none").string() +
              "*");
  }
  ~UnlockMarkerTest() override {
    for (const pid_t child : children_) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
  }

  // The mode both store folders have (01000 when they differ).
  unsigned StoreMode() const { return ModeOf(store) == ModeOf(b_store) ? ModeOf(store) : 01000; }
  fs::path Marker() const { return UnlockMarkerPath(session); }
  // The tag of another copy: running, ended, or ended and not waited for.
  enum class Copy { kRunning, kEnded, kEndedNotWaitedFor };
  std::string Other(Copy copy) {
    int tag[2];
    if (::pipe(tag) != 0) return "";
    const pid_t child = ::fork();
    if (child == 0) {
      const std::string own = platform.ProcessTag();
      (void)!::write(tag[1], own.data(), own.size());
      if (copy == Copy::kRunning) ::pause();
      _exit(0);
    }
    ::close(tag[1]);
    char text[64];
    const ssize_t n = ::read(tag[0], text, sizeof text);
    ::close(tag[0]);
    siginfo_t info{};
    if (copy != Copy::kRunning) {
      ::waitid(P_PID, static_cast<id_t>(child), &info,
               WEXITED | (copy == Copy::kEnded ? 0 : WNOWAIT));
    }
    if (copy != Copy::kEnded) children_.push_back(child);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : "";
  }

  const fs::path b_store = MakeFolder("driveB/Vault");
  std::vector<pid_t> children_;
};

// A release locks only when no other live holder remains; the user's lock
// locks whoever holds them; a window left unlocked leaves them to the user.
TEST_F(UnlockMarkerTest, TheStoreFoldersStayUnlockedWhileALiveProcessHoldsThem) {
  ASSERT_TRUE(HoldUnlocked(session, Holder::Command));
  EXPECT_EQ(StoreMode(), 0700u);
  EXPECT_EQ(ReadText(Marker()), "command " + platform.ProcessTag() + "\n");
  ASSERT_TRUE(ReleaseHold(session));
  EXPECT_EQ(StoreMode(), 0u);
  EXPECT_FALSE(fs::exists(Marker()));

  const std::string window = "window " + Other(Copy::kRunning) + "\n";
  WriteText(Marker(), window);
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

  // At start, a marker of a process that ended locks the store folders.
  fs::remove(Marker());
  const std::vector<std::tuple<const char*, std::function<std::string()>, bool>> cases{
      {"no marker", nullptr, false},
      {"this running process", [&] { return platform.ProcessTag(); }, false},
      {"a process that ended", [&] { return Other(Copy::kEnded); }, true},
      {"one not yet waited for", [&] { return Other(Copy::kEndedNotWaitedFor); }, true},
      {"its id started at another time", [] { return std::to_string(::getpid()) + " 1"; }, true},
      {"a damaged marker", [] { return std::string(); }, true},
  };
  for (const auto& [what, marker, relocked] : cases) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(UnlockStoreFolders(session));
    if (marker) WriteText(Marker(), marker());
    dialogue.boxes.clear();
    RelockAfterStoppedRun(session);
    EXPECT_EQ(StoreMode(), relocked ? 0u : 0700u);
    EXPECT_EQ(fs::exists(Marker()), marker && !relocked);
    ASSERT_EQ(dialogue.boxes.size(), relocked ? 1u : 0u);
    if (relocked) {
      EXPECT_EQ(std::tie(dialogue.boxes[0].text, dialogue.boxes[0].icon),
                std::make_tuple("A previous run of Veilbox ended without locking the hidden/locked "
                                "folders; they are locked now.",
                                Icon::Information));
    }
    fs::remove(Marker());
  }
}

}  // namespace veilbox::testing
