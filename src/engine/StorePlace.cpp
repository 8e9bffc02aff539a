#include "engine/StorePlace.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "diag/Failure.h"
#include "store/FolderOverlap.h"

namespace veilbox {
namespace {

// Windows compares names without regard to letter case; a folder differing
// only in case is the same folder there.
std::string Comparable(std::string path, char separator) {
  if (separator == '\\') {
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  }
  return path;
}

Overlap Compare(Platform& p, const std::string& folder, const std::string& other) {
  const char sep = p.Separator();
  return CompareFolders(Comparable(folder, sep), Comparable(other, sep), sep);
}

bool IsDriveTop(const std::string& folder) {
  const std::filesystem::path path = std::filesystem::path(folder).lexically_normal();
  return path.has_root_directory() && path.relative_path().empty();
}

std::optional<std::string> LinkProblem(Platform& p, const std::string& folder,
                                       const FolderFacts& facts) {
  if (facts.link.empty()) return std::nullopt;
  if (Compare(p, folder, facts.link) == Overlap::Same) return folder + " is a link.";
  return folder + " lies behind the link " + facts.link + ".";
}

std::optional<std::string> NewFolderProblem(Platform& p, const std::string& folder) {
  const std::string parent = std::filesystem::path(folder).parent_path().string();
  const FolderFacts facts = p.InspectFolder(parent);
  if (auto problem = LinkProblem(p, folder, facts)) return problem;
  if (!facts.exists || facts.kind != EntryKind::Directory) {
    return folder + " cannot be made: " + parent + " is not an existing folder.";
  }
  return std::nullopt;
}

std::optional<std::string> ContentsProblem(Platform& p, const std::string& folder) {
  std::vector<DirEntry> entries;
  try {
    entries = p.ListDirectory(folder);
  } catch (const Failure& f) {
    return folder + " cannot be read (" + f.Description() + ").";
  }
  if (entries.empty() || MadeByVeilbox(entries)) return std::nullopt;
  return folder + " is not empty, and Veilbox did not make it.";
}

}  // namespace

std::optional<std::string> ReservedPlaceProblem(Platform& p, const std::string& folder) {
  if (IsDriveTop(folder)) return folder + " is the top folder of its drive.";
  for (const SystemFolder& system : p.SystemFolders()) {
    switch (Compare(p, folder, system.path)) {
      case Overlap::Same:
        return folder + " is a system folder.";
      case Overlap::Inside:
        if (system.with_contents) {
          return folder + " lies inside the system folder " + system.path + ".";
        }
        break;
      default:
        break;
    }
  }
  const std::string home = p.HomeFolder();
  switch (Compare(p, folder, home)) {
    case Overlap::Same:
      return folder + " is your home folder.";
    case Overlap::Contains:
      return folder + " contains your home folder " + home + ".";
    default:
      return std::nullopt;
  }
}

std::optional<std::string> StorePlaceProblem(Platform& p, const std::string& folder) {
  const FolderFacts facts = p.InspectFolder(folder);
  if (auto problem = LinkProblem(p, folder, facts)) return problem;
  if (!facts.exists) return NewFolderProblem(p, folder);
  if (facts.kind != EntryKind::Directory) return folder + " is not a folder.";
  if (!facts.own) return folder + " belongs to another user.";
  return ContentsProblem(p, folder);
}

std::optional<std::string> ListedStoreProblem(Platform& p, const std::string& folder) {
  if (auto problem = ReservedPlaceProblem(p, folder)) return problem;
  return StorePlaceProblem(p, folder);
}

bool MadeByVeilbox(const std::vector<DirEntry>& entries) {
  const bool has_temp = std::any_of(entries.begin(), entries.end(), [](const DirEntry& e) {
    return e.name == kTempFolderName && e.kind == EntryKind::Directory;
  });
  return has_temp && std::all_of(entries.begin(), entries.end(),
                                 [](const DirEntry& e) { return e.kind == EntryKind::Directory; });
}

}  // namespace veilbox
