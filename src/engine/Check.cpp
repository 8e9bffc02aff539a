#include "engine/Check.h"

#include <algorithm>
#include <map>
#include <set>

#include "app/FolderData.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "engine/CommandScope.h"
#include "engine/FilenamePass.h"
#include "engine/Messages.h"
#include "engine/StandIns.h"
#include "engine/StorePlace.h"
#include "engine/StoreSetup.h"
#include "store/StoreList.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kUnknownPlace = "(original place unknown)";

// Gives every plain name in folder its cipher form (or a stand-in): the
// record's "Encrypted" mark proves that is what the names should be.
// (Nothing proves that cipher-looking names in a plain folder are
// Veilbox's: those are left as they are.) Stand-ins and side files are
// left as they are.
void EncryptPlainNames(Session& session, cEncrypt& cipher, const std::string& folder,
                       CheckReport& report) {
  NamePlan plan;
  CipherNamer namer(cipher, session.key_text, SideFilesThere::Served);
  const PlanSummary planned = PlanNames(
      session, *OpenFolderAt(session.platform, folder), folder,
      [&](OpenFolder& in, PlannedRename& rename, PlanSummary&) {
        if (InHiddenForm(cipher, session.key_text, rename.name)) return NameFate::Aside;
        return namer.Plan(in, rename) ? NameFate::Rename : NameFate::Keep;
      },
      plan);
  // A tree read only in part, or one with another drive in it, is left as
  // it is: the finding says why.
  if (!planned.complete) return;
  RenameOutcome outcome = RenameFiles(session, folder, plan, planned.renames);
  report.repairs.push_back(
      "Changed the file names in " + folder + " to match the list" +
      (outcome.failed ? " (" + std::to_string(outcome.failed) + " could not be changed)" : "") +
      ".");
}

void CheckRecord(Session& session, cEncrypt& cipher, size_t row, bool repair, CheckReport& report) {
  const FolderRecord record = session.folders[row];
  std::string folder = record.path + record.name;
  if (record.status == kHidden) {
    std::optional<std::string> store = StoreFolderOf(session, record.path);
    if (!store) {
      report.findings.push_back(record.name +
                                " is hidden, but its drive has no hidden/locked "
                                "folder in the list.");
      return;
    }
    folder = JoinPath(*store, record.actual);
  }
  if (!session.platform.FolderExists(folder)) {
    report.findings.push_back("The folder " + folder + " of " + record.name + " is missing.");
    return;
  }
  NamePlan names;
  const PlanSummary planned = PlanPlainNames(session, cipher, folder, names);
  if (!planned.other_drive.empty()) {
    report.findings.push_back(msg::HoldsMount(folder, planned.other_drive));
  } else if (!planned.complete) {
    report.findings.push_back("Part of " + folder +
                              " could not be read, so not all of its file names were checked.");
  }
  const bool encrypted = record.status == kHidden && record.encryption == kEncrypted;
  // A restore whose renames did not all succeed keeps the record's
  // "Encrypted" mark: the names it left are proven cipher names.
  const bool unfinished_restore = record.status == kVisible && record.encryption == kEncrypted;
  const long wrong = encrypted ? planned.kept : planned.renames;
  if (wrong > 0) {
    report.findings.push_back(std::to_string(wrong) + " file names in " + folder + " are " +
                              (encrypted ? "plain" : "encrypted") + " although the list says " +
                              (encrypted ? "Encrypted." : "they are plain."));
  }
  if (planned.stand_ins_kept > 0) {
    report.findings.push_back(
        std::to_string(planned.stand_ins_kept) + " files in " + folder +
        " have stand-in names that cannot be read back (the first: " + planned.first_kept + ").");
  }
  if (planned.lone_side_files > 0) {
    report.findings.push_back(std::to_string(planned.lone_side_files) + " side files in " + folder +
                              " have no stand-in beside them.");
  }
  if (!repair) return;
  if (encrypted && wrong > 0) EncryptPlainNames(session, cipher, folder, report);
  // Where names are to be plain, a side file whose file has its name back
  // beside it is the last step of a restore that was stopped.
  if (!encrypted && !planned.leftovers.empty()) {
    NamePlan leftovers;
    leftovers.files = planned.leftovers;
    const long count = static_cast<long>(leftovers.files.size());
    const int failed = RenameFiles(session, *OpenFolderAt(session.platform, folder), folder,
                                   leftovers, count, Resume::Yes)
                           .failed;
    report.repairs.push_back("Removed " + std::to_string(count - failed) + " side files in " +
                             folder + " whose files have their names back.");
  }
  if (unfinished_restore && planned.complete && planned.stand_ins_kept == 0 &&
      RenameFiles(session, folder, names, planned.renames).failed == 0) {
    FolderRecord normal = record;
    normal.encryption = kNormal;
    session.folders.Replace(row, normal);
    report.repairs.push_back("Gave the file names in " + folder + " their plain form.");
  }
}

void CheckStore(Session& session, cEncrypt& cipher, const std::string& store,
                const std::set<std::string>& named, bool repair, CheckReport& report) {
  Platform& p = session.platform;
  if (!p.FolderExists(store)) return;
  // Only the sub-folders of a store folder that Veilbox made can be folders
  // it hid; elsewhere they are the user's own (".ssh" in a home folder).
  const std::optional<std::string> not_made = ListedStoreProblem(p, store);
  if (not_made) {
    report.findings.push_back(*not_made + " Its sub-folders are not added to the list.");
  }
  for (const DirEntry& entry : p.ListDirectory(store)) {
    const std::string path = JoinPath(store, entry.name);
    if (entry.name == kTempFolderName) {
      if (entry.kind == EntryKind::Directory && !p.ListDirectory(path).empty()) {
        report.findings.push_back("The staging folder " + path + " is not empty.");
      }
      continue;
    }
    if (named.count(entry.name)) continue;
    report.findings.push_back(path +
                              " is in the hidden/locked folder, but no entry of the list "
                              "names it.");
    // A name the list cannot keep stays for the user to rename by hand.
    if (!repair || not_made || entry.kind != EntryKind::Directory ||
        entry.name.find_first_of("<*") != std::string::npos) {
      continue;
    }
    NamePlan names;
    const PlanSummary count = PlanPlainNames(session, cipher, path, names);
    std::string name = entry.name;
    while (name.size() > 3 && name.ends_with("(1)")) name.resize(name.size() - 3);
    const FolderRecord adopted{name, JoinPath(JoinPath(p.DriveKey(store), kUnknownPlace), ""),
                               kHidden, count.renames > 0 ? kEncrypted : kNormal, entry.name};
    session.folders.Add(adopted);
    report.repairs.push_back("Added " + path + " to the list as " + name +
                             ", hidden; restoring it asks where to put it.");
  }
}

}  // namespace

CheckReport CheckFolders(Session& session, bool repair) {
  CheckReport report;
  Trap(session.reporter, [&] {
    CommandScope scope(session);
    cEncrypt cipher;
    const char separator = session.platform.Separator();
    std::map<std::string, std::set<std::string>> named_in_store;
    for (const auto& [number, text] : session.folders.Unreadable()) {
      report.findings.push_back(msg::LeftAlone(msg::RowOf(session.data_file, number),
                                               "\"" + text + "\" is not an entry of the list"));
    }
    // Records adopted by a repair are added after the last row looked at.
    const size_t listed = session.folders.Size();
    for (size_t row = 0; row < listed; ++row) {
      const FolderRecord record = session.folders[row];
      if (auto problem = RecordProblem(record, separator)) {
        report.findings.push_back(msg::LeftAlone(
            msg::RowOf(session.data_file, session.folders.EntryNumber(row)), *problem));
        continue;
      }
      // A row that cannot be looked at is a finding of its own; the rows
      // after it are checked all the same.
      try {
        CheckRecord(session, cipher, row, repair, report);
        if (record.status == kHidden) {
          if (auto store = StoreFolderOf(session, record.path)) {
            named_in_store[*store].insert(record.actual);
          }
        }
      } catch (const Failure& f) {
        report.findings.push_back(record.path + record.name +
                                  " could not be checked: " + f.Description() + ".");
      }
    }
    for (std::string& unusable : session.stores.Unusable()) {
      report.findings.push_back(std::move(unusable));
    }
    // One folder reached by two paths of the list is looked at once: its
    // sub-folders are not orphans of the second path.
    std::map<std::string, EntryId> seen;
    for (const std::string& store : session.stores.Folders()) {
      const FolderLineage lineage = session.platform.Lineage(store);
      if (lineage.exists) {
        const auto same = std::find_if(seen.begin(), seen.end(), [&](const auto& other) {
          return other.second == lineage.ids.front();
        });
        if (same != seen.end()) {
          report.findings.push_back("The hidden/locked folder " + store + " is " + same->first +
                                    ", listed twice; it was checked once.");
          continue;
        }
        seen.emplace(store, lineage.ids.front());
      }
      try {
        CheckStore(session, cipher, store, named_in_store[store], repair, report);
      } catch (const Failure& f) {
        report.findings.push_back("The hidden/locked folder " + store +
                                  " could not be checked: " + f.Description() + ".");
      }
    }
    if (!report.repairs.empty()) SaveFolders(session);
    report.complete = true;
  });
  return report;
}

}  // namespace veilbox
