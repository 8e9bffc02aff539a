#include "engine/FolderGuards.h"

#include "diag/Failure.h"
#include "engine/StorePlace.h"
#include "store/FolderOverlap.h"
#include "store/FolderRecord.h"
#include "store/StoreList.h"

namespace veilbox {
namespace {

std::optional<std::string> SeparatorProblem(const std::string& folder) {
  try {
    RefuseSeparators(folder);
  } catch (const Failure& f) {
    return f.Description() + ".";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ListedFolderProblem(Session& session, const std::string& folder) {
  if (auto problem = SeparatorProblem(folder)) return problem;
  std::vector<GuardedFolder> guarded{
      {session.platform.ProgramFolder(), "the program folder"},
      {session.platform.SettingsFolder(), "Veilbox's settings folder"}};
  for (const std::string& store : session.stores.Folders()) {
    guarded.push_back({store, "the store folder"});
  }
  return OverlapProblem(session.platform, folder, guarded);
}

std::optional<std::string> StoreFolderProblem(Session& session, const std::string& folder,
                                              const std::vector<std::string>& other_stores,
                                              const std::vector<std::string>& listed_folders) {
  if (auto problem = SeparatorProblem(folder)) return problem;
  if (auto problem = ReservedPlaceProblem(session.platform, folder)) return problem;
  // The default store folder lies inside the program folder, so only a store
  // folder that is or holds the program folder is refused.
  std::vector<GuardedFolder> guarded{
      {session.platform.ProgramFolder(), "the program folder", /*may_hold_it=*/true}};
  for (const std::string& store : other_stores) guarded.push_back({store, "the store folder"});
  for (const std::string& listed : listed_folders) {
    guarded.push_back({listed, "the listed folder"});
  }
  if (auto problem = OverlapProblem(session.platform, folder, guarded)) return problem;
  return StorePlaceProblem(session.platform, folder);
}

std::vector<std::string> ListedFolders(const FolderList& list) {
  std::vector<std::string> folders;
  for (size_t r = 0; r < list.Size(); ++r) folders.push_back(list[r].path + list[r].name);
  return folders;
}

}  // namespace veilbox
