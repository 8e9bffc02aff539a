#include "engine/Recovery.h"

#include <chrono>

#include "diag/Failure.h"
#include "engine/CommandScope.h"
#include "engine/Journal.h"
#include "engine/RecordLookup.h"
#include "store/FolderDatabase.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

std::string NameOf(const std::string& record_text) {
  return SplitString(record_text, kFieldSeparator).front();
}

// The renames the row had not made yet. A file that is already under its
// new name, or no longer there, needs nothing.
int FinishRenames(AppState& state, const Journal& journal) {
  Platform& p = state.platform;
  const char separator = p.Separator();
  int failed = 0;
  for (const NameChange& change : journal.names.files) {
    if (change.new_name.empty()) continue;
    const std::string old_path = JoinPath(journal.to, change.relative);
    const std::string new_path = JoinPath(GetLastFolderPath(old_path, separator), change.new_name);
    if (p.FileExists(old_path) && !p.FileExists(new_path) && !p.Rename(old_path, new_path)) {
      ++failed;
    }
  }
  return failed;
}

std::string Describe(const Journal& journal, bool moved, int failed_renames) {
  const std::string name = NameOf(journal.old_record);
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

// A journal that cannot be read is never deleted: it is kept aside for the
// user to look at.
void KeepDamagedJournal(AppState& state, const Failure& failure) {
  const std::string path = JournalPath(state);
  const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  const std::string aside = path + ".bad-" + std::to_string(stamp);
  state.platform.Rename(path, aside);
  state.dialogue.Tell(failure.Description() + "; it was kept as " + aside +
                          ". Use \"veilbox-cli check\" to compare the list with the folders.",
                      "Recovery", Icon::Exclamation);
}

}  // namespace

bool RecoverInterruptedRow(AppState& state) {
  bool recovered = false;
  Trap(state.reporter, [&] {
    CommandScope scope(state);
    std::optional<Journal> journal;
    try {
      journal = ReadJournal(state);
    } catch (const Failure& f) {
      KeepDamagedJournal(state, f);
      recovered = true;
      return;
    }
    if (!journal) return;
    recovered = true;
    // The target did not exist before the move and a move is a single
    // rename, so the target's presence says whether the move happened.
    Platform& p = state.platform;
    const bool moved = p.FolderExists(journal->to) || p.FileExists(journal->to);
    int failed = 0;
    if (moved) {
      failed = FinishRenames(state, *journal);
      const std::string updated =
          ReplaceRecord(state.HiddenFolderData, journal->old_record, journal->new_record);
      if (updated != state.HiddenFolderData) {
        state.HiddenFolderData = updated;
        SaveData(state.platform, state.HiddenFolderData, state.SrcDataFilename);
      }
    }
    RemoveJournal(state);
    state.dialogue.Tell(Describe(*journal, moved, failed), "Recovery");
  });
  return recovered;
}

}  // namespace veilbox
