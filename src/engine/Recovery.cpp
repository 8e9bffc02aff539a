#include "engine/Recovery.h"

#include <chrono>

#include "diag/Failure.h"
#include "engine/CommandScope.h"
#include "engine/FilenamePass.h"
#include "engine/FolderMove.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/UnlockMarker.h"
#include "store/FolderDatabase.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

// The folder the journal's move took to "to", held open, when it is there
// and is the folder the row moved; nullopt when nothing is at "to". Raises
// err::kFileExists when something else stands there, and as the platform
// does when "to" cannot be looked at.
std::optional<HeldFolder> MovedFolder(Session& session, const Journal& journal) {
  Platform& p = session.platform;
  const char separator = p.Separator();
  HeldFolder held;
  held.parent = OpenFolderAt(p, GetLastFolderPath(journal.to, separator));
  held.name = GetLastFolder(journal.to, separator);
  const std::optional<EntryId> id = held.parent->ChildId(held.name);
  if (!id) return std::nullopt;
  if (journal.folder && *id != *journal.folder) {
    Raise(err::kFileExists, journal.to + " is not the folder that was being moved");
  }
  held.folder = held.parent->OpenChild(held.name);
  return held;
}

std::string Describe(const Journal& journal, bool moved, int failed_renames) {
  const std::string& name = journal.old_record.name;
  const std::string what = journal.operation == "hide"      ? "hiding"
                           : journal.operation == "restore" ? "restoring"
                                                            : "removing";
  if (!moved) {
    return "Veilbox was stopped while " + what + " " + name +
           ". Nothing had moved yet: it is where it was, and the list is unchanged.";
  }
  std::string text = "Veilbox was stopped while " + what + " " + name +
                     ". It has now finished that: the folder is at " + journal.to + ".";
  if (failed_renames > 0) {
    text += " " + std::to_string(failed_renames) + " file names could not be changed.";
  }
  return text;
}

// A journal that cannot be read or followed is never deleted: it is kept
// aside for the user to look at. When it cannot be moved aside it stays, and
// what stopped the move is returned: no command may add to it meanwhile.
[[nodiscard]] std::string KeepDamagedJournal(Session& session, const std::string& why) {
  const std::string path = JournalPath(session);
  const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  const std::string aside = path + ".bad-" + std::to_string(stamp);
  if (const MoveResult moved = session.platform.Rename(path, aside); !moved) {
    return why + "; it could not be kept aside as " + aside + " (" + moved.reason +
           "). Veilbox changes no folder until " + path + " is moved away";
  }
  // Its plan pairs each plain name with its cipher form: the user's alone.
  Trap(session.reporter, [&] { session.platform.MakePrivate(aside); });
  session.dialogue.Tell(why + "; it was kept as " + aside +
                            ". Use \"veilbox-cli check\" to compare the list with the folders.",
                        "Recovery", Icon::Exclamation);
  return "";
}

}  // namespace

bool Session::Open() {
  bool held = true;  // every store folder could be unlocked for the work and locked after it
  bool read = false;
  const bool finished = Trap(reporter, [&] {
    CommandScope scope(*this);
    read = scope.ListRead();
    RelockAfterStoppedRun(*this);
    if (!platform.FileExists(JournalPath(*this))) return;
    // The rows' store folders are opened for the work and locked again
    // after it (unless another copy holds them open). Failures are told.
    held = HoldUnlocked(*this, Holder::Command);
    RecoverInterruptedRow(*this);
    held = ReleaseHold(*this) && held;
  });
  // The list as the data lock left it, read once more only when recovery
  // stopped part way.
  if (finished && read) {
    ShowFolders();
  } else if (!ReadList()) {
    return false;
  }
  return finished && held;
}

bool RecoverInterruptedRow(Session& session) {
  bool recovered = false;
  std::string stuck;  // why a journal that cannot be followed is still in place
  Trap(session.reporter, [&] {
    CommandScope scope(session);
    if (!session.platform.FileExists(JournalPath(session))) {
      RemoveJournal(session);  // an older Veilbox's unfinished journal: nothing moved after it
      return;
    }
    std::vector<Journal> entries;
    try {
      entries = ReadJournal(session);
    } catch (const Failure& f) {
      stuck = KeepDamagedJournal(session, f.Description());
      recovered = true;
      return;
    }
    recovered = !entries.empty();
    // Each entry's row is finished in turn, in the order the rows ran; the
    // records are saved once at the end.
    bool changed = false;
    std::string told;
    auto save = [&] {
      if (changed) SaveData(session.platform, session.folders.Text(), session.data_file);
    };
    // Rows the command had finished before it was stopped are counted; the
    // last row and any with names left unchanged are told one by one.
    int finished = 0;
    // An entry that names what it may not reach is never followed; the
    // journal is kept for the user once the other entries are finished.
    std::string refused;
    for (const Journal& journal : entries) {
      if (!journal.problem.empty()) {
        refused +=
            (refused.empty() ? "" : "\n") + msg::LeftAlone("A row of the journal", journal.problem);
        continue;
      }
      // The target did not exist before the move and a move is a single
      // rename, so the target's presence says whether the move happened.
      std::optional<HeldFolder> moved;
      try {
        moved = MovedFolder(session, journal);
      } catch (const Failure& f) {
        if (f.Number() != err::kFileExists) throw;
        save();
        if (!told.empty()) session.dialogue.Tell(told, "Recovery");
        stuck = KeepDamagedJournal(session, f.Description());
        return;
      }
      int failed = 0;
      if (moved) {
        // The renames the row had not made yet; a file already under its
        // new name, or no longer there, needs nothing.
        JournalPlan plan(session, journal.offset);
        failed = RenameFiles(session, *moved->folder, journal.to, plan, journal.names.renames,
                             Resume::Yes)
                     .failed;
        changed = ApplyChange(session.folders, journal) || changed;
      }
      if (moved && failed == 0 && &journal != &entries.back()) {
        ++finished;
      } else {
        told += (told.empty() ? "" : "\n") + Describe(journal, moved.has_value(), failed);
      }
    }
    if (finished > 0) {
      told = std::to_string(finished) +
             " folders that Veilbox had moved before it was stopped are now listed where they "
             "are.\n" +
             told;
    }
    save();
    if (!told.empty()) session.dialogue.Tell(told, "Recovery");
    if (!refused.empty()) {
      stuck = KeepDamagedJournal(
          session, refused + "\nThe journal " + JournalPath(session) + " was not followed for it");
      return;
    }
    RemoveJournal(session);
  });
  if (!stuck.empty()) Raise(err::kPathFileAccess, stuck);
  return recovered;
}

}  // namespace veilbox
