// The services the core takes from the operating system. One implementation
// per platform, chosen at build time (CreatePlatform); tests may subclass an
// implementation to substitute one service, such as the volume of a path.
//
// Operations that can fail on the file system raise a Failure carrying the
// caller's source line; moves and renames report their outcome instead,
// because their callers must decide what a failed move means for a record.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

namespace veilbox {

using Where = std::source_location;

enum class EntryKind { File, Directory, Link, Other };

struct DirEntry {
  std::string name;
  EntryKind kind;
  bool hidden = false;  // marked hidden or system (Windows only)
};

enum class SettingsRoot { CurrentUser, LocalMachine };

struct MoveResult {
  bool ok = false;
  std::string reason;  // why it failed; empty on success
  explicit operator bool() const { return ok; }
};

// What identifies a file-system entry whatever path leads to it: the device
// and the file's number on it (on Windows the volume serial and file index).
struct EntryId {
  std::uint64_t device = 0;
  std::uint64_t number = 0;
  bool operator==(const EntryId&) const = default;
};

// A modification time as the platform keeps it.
struct FolderTime {
  std::int64_t seconds = 0;
  std::int64_t fraction = 0;  // nanoseconds on POSIX, 100 ns ticks on Windows
};

// A folder opened without following links. The handle stays with the folder
// when it is moved or renamed, so that work done through it can never land
// in another folder that took its name or its parent's name meanwhile.
class OpenFolder {
 public:
  virtual ~OpenFolder() = default;

  virtual EntryId Id() const = 0;
  // The mounted file system the folder lies on. A sub-folder on another one
  // than its parent is where another drive is mounted (a bind mount of the
  // same device included): a walk must never enter it.
  virtual std::uint64_t FileSystem() const { return Id().device; }
  // Whether another account may add, remove or exchange its entries: it is
  // not the user's, or its group or others may write it. True where the
  // system cannot tell cheaply.
  virtual bool OthersMayChange() const { return true; }
  // The entries, as ListDirectory gives them, in name order.
  virtual std::vector<DirEntry> List(Where where = Where::current()) = 0;
  // The same entries in the order the system keeps them, read as a stream,
  // so that a folder of any size is listed in little memory. visit must not
  // add, remove or rename entries of this folder.
  virtual void ForEachEntry(const std::function<void(const DirEntry&)>& visit,
                            Where where = Where::current()) {
    for (const DirEntry& entry : List(where)) visit(entry);
  }
  // A sub-folder. Raises when the entry is a link, not a folder, or gone.
  virtual std::unique_ptr<OpenFolder> OpenChild(const std::string& name,
                                                Where where = Where::current()) = 0;
  // Whether the entry is a folder itself (not a link to one); false for
  // anything else, gone or not. Asked around every planned file rename, so
  // it raises nothing and keeps no handle.
  virtual bool IsChildFolder(const std::string& name) = 0;
  // The identity of an entry, a link itself rather than what it points to;
  // nullopt when there is no such entry. Any other failure raises: an entry
  // that cannot be looked at is not an absent one.
  virtual std::optional<EntryId> ChildId(const std::string& name,
                                         Where where = Where::current()) = 0;
  // Renames an entry of this folder; never replaces an existing one.
  virtual MoveResult RenameChild(const std::string& from, const std::string& to) = 0;
  // The folder's own modification time, to be put back after renames in it
  // (a rename inside a folder changes its time).
  virtual FolderTime ModifiedTime(Where where = Where::current()) = 0;
  virtual void SetModifiedTime(const FolderTime& time, Where where = Where::current()) = 0;
  // Moves an entry of this folder into target under new_name, by one rename
  // on the same file system; never replaces an existing one.
  virtual MoveResult MoveChild(const std::string& name, OpenFolder& target,
                               const std::string& new_name) = 0;
  // Small files kept beside the entries they belong to. WriteNewFile
  // creates a file that must not exist yet, writes bytes to it and flushes
  // it to disk before it returns. ReadChildFile gives the first limit + 1
  // bytes at most of a regular file, a link never followed; nullopt when
  // there is no entry of that name; it raises, saying why, for anything
  // else or when the file cannot be read. RemoveChildFile removes the
  // entry itself, never what a link points to.
  virtual MoveResult WriteNewFile(const std::string& name, const std::string& bytes) = 0;
  virtual std::optional<std::string> ReadChildFile(const std::string& name, std::size_t limit,
                                                   Where where = Where::current()) = 0;
  virtual MoveResult RemoveChildFile(const std::string& name) = 0;
};

// The outcome of opening a folder by its path.
struct OpenedFolder {
  std::unique_ptr<OpenFolder> folder;  // null when it could not be opened
  bool missing = false;                // a part of the path does not exist
  std::string reason;                  // why it could not be opened
};

// What the file system says about a path, for judging a store folder.
struct FolderFacts {
  bool exists = false;
  EntryKind kind = EntryKind::Other;  // of the entry itself, when it exists
  std::string link;                   // the first link on the path, itself included; empty if none
  bool own = true;  // belongs to the user running Veilbox (true where that cannot be told)
};

// A folder of the operating system's own.
struct SystemFolder {
  std::string path;
  bool with_contents = false;  // everything inside it belongs to the system too
};

// The identity of a folder and of every folder above it, nearest first, up
// to the top of its file-system tree, as the system reaches them.
struct FolderLineage {
  bool exists = false;       // the folder itself is there: ids[0] is its own
  std::vector<EntryId> ids;  // from the nearest existing folder upwards
};

// The file in the program folder that the data lock is taken on.
constexpr const char* kDataLockFileName = ".veilbox.lock";

// Held while one copy of Veilbox changes its data; released when destroyed.
class DataLock {
 public:
  virtual ~DataLock() = default;
};

// How long a copy waits for another one's data lock before it gives up.
constexpr std::chrono::seconds kDataLockLimit{20};

// How a wait for another copy's data lock is said and bounded.
struct DataLockWait {
  std::function<void()> still_waiting;  // once, when the wait grows long
  std::function<void()> meanwhile;      // at every look, so that windows keep painting
  std::chrono::milliseconds limit = kDataLockLimit;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Folder holding Dat.sys and the default store folder, without a trailing
  // separator; created on first use.
  virtual std::string ProgramFolder(Where where = Where::current()) = 0;
  // The folder that holds the settings, without a trailing separator; empty
  // where they are not kept in a folder (the registry on Windows).
  virtual std::string SettingsFolder() = 0;

  // Why the entry at path may not hold Veilbox's data, as a phrase ("is a
  // link", "belongs to another user", "can be changed by other users"), or
  // nullopt: it must be the user's own, not a link, and writable by the user
  // alone. An entry that does not exist is no problem.
  virtual std::optional<std::string> NotPrivate(const std::string& path) = 0;
  // Makes a file of the user's readable and writable by the user alone.
  virtual void MakePrivate(const std::string& path, Where where = Where::current()) = 0;

  virtual char Separator() const = 0;

  // The longest full path the system takes, in bytes of its UTF-8 form (a
  // count never below the system's own, so a path within it fits); none
  // unless the platform says.
  virtual size_t MaxPathLength() const { return std::numeric_limits<size_t>::max(); }

  // The key that names a path's drive: a folder and a store folder with the
  // same key are on one file system.
  virtual std::string DriveKey(const std::string& path) = 0;

  // A string setting: nullopt when the key or value is absent or not a
  // string. Raises when the settings exist but cannot be read: that is not
  // the same as absent. Writes are immediate and atomic.
  virtual std::optional<std::string> ReadSetting(SettingsRoot root, const std::string& key_path,
                                                 const std::string& name) = 0;
  virtual void WriteSetting(SettingsRoot root, const std::string& key_path, const std::string& name,
                            const std::string& data, Where where = Where::current()) = 0;

  virtual bool FileExists(const std::string& path) = 0;    // any entry but a folder
  virtual bool FolderExists(const std::string& path) = 0;  // a real folder, not a link to one

  // The entries of a folder, "." and ".." left out, links reported as links,
  // hidden entries included.
  virtual std::vector<DirEntry> ListDirectory(const std::string& folder,
                                              Where where = Where::current()) = 0;

  virtual std::string ReadFile(const std::string& path, Where where = Where::current()) = 0;
  // Replaces the file whole, or leaves the old one intact and raises.
  virtual void WriteFileAtomic(const std::string& path, const std::string& bytes,
                               Where where = Where::current()) = 0;
  virtual void RemoveFile(const std::string& path, Where where = Where::current()) = 0;
  virtual void CreateFolders(const std::string& path, Where where = Where::current()) = 0;

  // Opens a folder by its full path. Fails, saying why, when any part of the
  // path is a link (a junction or other reparse point on Windows), is not a
  // folder, or cannot be reached.
  virtual OpenedFolder OpenFolderNoLinks(const std::string& path) = 0;
  // Renames an entry; never replaces an existing one.
  virtual MoveResult Rename(const std::string& old_path, const std::string& new_path) = 0;

  // Denies or grants ordinary access to a store folder. A folder that does
  // not exist is skipped silently; a link on its path is refused, never
  // followed.
  virtual void LockFolder(const std::string& path, Where where = Where::current()) = 0;
  virtual void UnlockFolder(const std::string& path, Where where = Where::current()) = 0;

  // Waits until no other copy of Veilbox is changing Dat.sys or the settings,
  // and keeps them from doing so until the lock is destroyed. Calls
  // wait.still_waiting once when the wait grows long and wait.meanwhile
  // while it lasts; raises when the lock is still held by another copy after
  // wait.limit. A copy that already holds the lock gets it again at once.
  virtual std::unique_ptr<DataLock> LockData(const DataLockWait& wait,
                                             Where where = Where::current()) = 0;

  // The mount points inside folder (the folder itself left out), where
  // another drive is mounted: a folder that holds one must not be moved or
  // walked, or files of the other drive would go with it.
  virtual std::vector<std::string> MountPointsInside(const std::string& folder) = 0;

  // Which folders lie above the one at path, by identity: two paths that
  // reach one folder (a bind mount, a link, another letter case) give the
  // same ids.
  virtual FolderLineage Lineage(const std::string& path) = 0;

  // Store folders: where they may be, and making them private.

  // Walks the path from its root without following links. A path below a
  // link or a missing folder is reported as not existing, with the link named.
  virtual FolderFacts InspectFolder(const std::string& path) = 0;
  // Creates one folder whose parent exists, reachable by the user alone from
  // the first moment; an existing real folder is left as it is. Raises when
  // a link lies on the path.
  virtual void CreatePrivateFolder(const std::string& path, Where where = Where::current()) = 0;
  // The user's home folder, without a trailing separator.
  virtual std::string HomeFolder() = 0;
  virtual std::vector<SystemFolder> SystemFolders() = 0;

  // Names this running process so that another one can tell later whether
  // it still runs: its id and the time it started, so that a later process
  // given the same id does not count.
  virtual std::string ProcessTag() = 0;
  // Whether the process that a ProcessTag names is still running.
  virtual bool ProcessRunning(const std::string& tag) = 0;
};

std::unique_ptr<Platform> CreatePlatform();

}  // namespace veilbox
