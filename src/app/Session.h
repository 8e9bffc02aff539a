// The core object, opened once per process by a front end: the services it
// works with (platform, dialogue, error reporter), what start-up fixes, and
// the user's data as the running command read it, typed (the folder list,
// the store folders). Front ends start it, check the password through it,
// open it, and run every command through it; each command returns one
// outcome per row. The engine's steps take it whole.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/Dialogue.h"
#include "app/ErrorReporter.h"
#include "platform/Platform.h"
#include "store/FolderList.h"
#include "store/StoreList.h"

namespace veilbox {

// What the running command learnt of a store folder it judged fit to take
// folders: the folder it judged, and the names its entries hold.
struct StoreMemo {
  EntryId id;
  std::unordered_set<std::string> taken;  // compared without regard to case
};

// A row of the folder list as a front end shows it: the first four fields
// of its record.
struct ListRow {
  std::string folder;
  std::string path;
  std::string status;
  std::string encryption;
  bool operator==(const ListRow&) const = default;
};

// What a command did with one row (or one folder added).
struct RowOutcome {
  enum class Kind {
    Done,       // changed as asked
    AlreadySo,  // it was as asked already
    Declined,   // the user said no, or chose nothing
    Refused,    // Veilbox would not: reason says why
    Failed,     // a move, rename or write failed: reason says why
  };
  Kind kind = Kind::Done;
  std::string reason;
};

struct CommandResult {
  std::vector<RowOutcome> rows;  // in the order the rows were given
  bool completed = true;         // false when a failure ended the command early
  bool reloaded = false;         // the list was written and read again: Rows() changed
  // Whether every row is done or already so, and the command ran to its end.
  bool AllDone() const;
  int Count(RowOutcome::Kind kind) const;
};

// Whether StartUp fetches the version document and offers a newer version.
// The desktop runs it; veilbox-cli passes Skip, so that scripts never wait
// on the network.
enum class VersionCheck { Run, Skip };

enum class StartUpResult {
  Continue,
  EndProgram,  // a newer version is demanded, or the agreement was declined
  Refused,     // the program folder or the settings cannot be trusted (told)
};

enum class PasswordCheck { Right, Wrong, Damaged };

class Session {
 public:
  Session(Platform& platform_layer, Dialogue& user_dialogue)
      : platform(platform_layer), dialogue(user_dialogue), reporter(user_dialogue) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // --- Start (app/) ---
  // Whether the program folder and the settings may be used; when not, the
  // user is told why. Start asks it first; a front end that reads a setting
  // before Start asks it before that.
  bool PlacesTrusted();
  // Fixes what start-up fixes from the constants and the settings, runs the
  // version check and asks the agreement on the first run.
  StartUpResult Start(VersionCheck version_check = VersionCheck::Run);
  bool AgreementAccepted();
  bool HasPassword();
  // Whether typed is the password; Right opens the way to Open.
  PasswordCheck CheckPassword(const std::string& typed);
  // CheckPassword, with the user told when typed is wrong or the stored
  // password is damaged; whether it was right.
  bool LogIn(const std::string& typed);
  // Stores typed as the new password; false (after a report) when it could
  // not be written.
  bool CreatePassword(const std::string& typed);
  // After the right password: locks the store folders a stopped copy left
  // unlocked, finishes the rows a stopped command left half done, and reads
  // the list. Whether that all went well.
  bool Open();

  // --- The list and its commands (engine/) ---
  // The rows as the last command (or Open) read them: the rows front ends
  // show, and choose by their place in this list.
  const std::vector<ListRow>& Rows() const { return rows_; }
  // Adds count folders, each chosen through the dialogue.
  CommandResult Add(int count);
  // Each command works on the chosen rows of Rows(), found again in the
  // list as it is on disk now.
  CommandResult Hide(const std::vector<size_t>& rows, bool encrypt);
  CommandResult Restore(const std::vector<size_t>& rows);
  CommandResult Remove(const std::vector<size_t>& rows);

  // Reads the list from Dat.sys into folders, and with it into Rows(); false
  // (after a report) when it could not be read, which leaves both as they
  // were. A command reads folders alone at its start (CommandScope), so
  // that the rows it was given keep their meaning until it ends.
  bool ReadList();
  bool ReadFolders();
  // Makes folders what Rows() shows: the list as the command left it.
  void ShowFolders();
  // The chosen rows of Rows(), as records to find again in a later list.
  std::vector<RowRef> Refs(const std::vector<size_t>& rows) const { return shown_.RefsOf(rows); }

  // The services.
  Platform& platform;
  Dialogue& dialogue;
  ErrorReporter reporter;

  // Fixed at start-up.
  std::string data_file;  // Dat.sys's full path
  std::string key_text;   // the key of the file-name cipher and the old password form
  std::string update_url;
  // How long a command or a settings write waits for another copy's data
  // lock before it gives up (tests shorten it).
  std::chrono::milliseconds data_lock_limit = kDataLockLimit;

  // The data as the running command read it (CommandScope).
  FolderList folders;
  StoreList stores;
  StoreDrives store_drives;
  // The store folders the running command judged, by path; cleared when a
  // command starts, since anything may change while no copy holds the data.
  std::map<std::string, StoreMemo> store_memos;

 private:
  FolderList shown_;  // the list Rows() shows
  std::vector<ListRow> rows_;
  // The entries of Dat.sys already reported as unreadable: each once.
  std::unordered_set<std::string> reported_;
};

}  // namespace veilbox
