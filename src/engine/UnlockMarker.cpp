#include "engine/UnlockMarker.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/Constants.h"
#include "app/DataWait.h"
#include "engine/Locking.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kWindow = "window";
constexpr const char* kCommand = "command";
constexpr const char* kUser = "user";

// A line of the marker: who holds the store folders unlocked.
struct Line {
  std::string kind;  // kWindow, kCommand or kUser
  std::string tag;   // the process's tag; empty for the user
};

// The marker's lines; nullopt when there is no marker. A line in no known
// form (an older Veilbox wrote its process's tag alone) is a command's.
std::optional<std::vector<Line>> ReadMarker(Session& session) {
  const std::string path = UnlockMarkerPath(session);
  if (!session.platform.FileExists(path)) return std::nullopt;
  std::vector<Line> lines;
  for (const std::string& text : SplitString(session.platform.ReadFile(path), '\n')) {
    if (text.empty()) continue;
    const size_t space = text.find(' ');
    const std::string kind = text.substr(0, space);
    if (kind == kUser) {
      lines.push_back({kUser, ""});
    } else if ((kind == kWindow || kind == kCommand) && space != std::string::npos) {
      lines.push_back({kind, text.substr(space + 1)});
    } else {
      lines.push_back({kCommand, text});
    }
  }
  return lines;
}

void WriteMarker(Session& session, const std::vector<Line>& lines) {
  const std::string path = UnlockMarkerPath(session);
  if (lines.empty()) {
    if (session.platform.FileExists(path)) session.platform.RemoveFile(path);
    return;
  }
  std::string text;
  for (const Line& line : lines) {
    text += line.kind + (line.tag.empty() ? "" : " " + line.tag) + "\n";
  }
  session.platform.WriteFileAtomic(path, text);
}

bool Running(Session& session, const Line& line) {
  return line.kind == kUser || session.platform.ProcessRunning(line.tag);
}

// Changes the marker under the data lock, so that no other copy's change
// in between is lost: change gets the lines and may edit them.
template <class Change>
bool EditMarker(Session& session, Change change) {
  return Trap(session.reporter, [&] {
    const std::unique_ptr<DataLock> lock = LockDataSaid(session);
    std::vector<Line> lines = ReadMarker(session).value_or(std::vector<Line>{});
    change(lines);
    WriteMarker(session, lines);
  });
}

void DropOwn(Session& session, std::vector<Line>& lines) {
  const std::string own = session.platform.ProcessTag();
  std::erase_if(lines, [&](const Line& line) { return line.kind != kUser && line.tag == own; });
}

}  // namespace

std::string UnlockMarkerPath(const Session& session) {
  return session.data_file + kUnlockMarkerSuffix;
}

bool HoldUnlocked(Session& session, Holder holder) {
  const bool marked = EditMarker(session, [&](std::vector<Line>& lines) {
    DropOwn(session, lines);
    lines.push_back({holder == Holder::Window ? kWindow : kCommand, session.platform.ProcessTag()});
  });
  return marked && UnlockStoreFolders(session);
}

bool ReleaseHold(Session& session) {
  bool held_by_another = false;
  const bool edited = EditMarker(session, [&](std::vector<Line>& lines) {
    DropOwn(session, lines);
    std::erase_if(lines, [&](const Line& line) { return !Running(session, line); });
    held_by_another = !lines.empty();
  });
  return edited && (held_by_another || LockStoreFolders(session));
}

bool LockForUser(Session& session) {
  if (!LockStoreFolders(session)) return false;
  return EditMarker(session, [](std::vector<Line>& lines) { lines.clear(); });
}

bool UnlockForUser(Session& session) {
  LeaveUnlocked(session);
  return UnlockStoreFolders(session);
}

void LeaveUnlocked(Session& session) {
  EditMarker(session, [&](std::vector<Line>& lines) {
    DropOwn(session, lines);
    if (std::none_of(lines.begin(), lines.end(), [](const Line& l) { return l.kind == kUser; })) {
      lines.push_back({kUser, ""});
    }
  });
}

bool HeldUnlockedForWindows(Session& session) {
  bool held = false;
  Trap(session.reporter, [&] {
    const std::string own = session.platform.ProcessTag();
    for (const Line& line : ReadMarker(session).value_or(std::vector<Line>{})) {
      held = held || line.kind == kUser || line.tag == own ||
             (line.kind == kWindow && session.platform.ProcessRunning(line.tag));
    }
  });
  return held;
}

void RelockAfterStoppedRun(Session& session) {
  Trap(session.reporter, [&] {
    std::optional<std::vector<Line>> lines = ReadMarker(session);
    if (!lines) return;
    const size_t before = lines->size();
    std::erase_if(*lines, [&](const Line& line) { return !Running(session, line); });
    if (!lines->empty()) {
      if (lines->size() != before) WriteMarker(session, *lines);
      return;
    }
    if (!LockStoreFolders(session)) return;  // reported; the next start tries again
    WriteMarker(session, *lines);
    session.dialogue.Tell(
        "A previous run of Veilbox ended without locking the hidden/locked folders; they are "
        "locked now.",
        kAppname);
  });
}

}  // namespace veilbox
