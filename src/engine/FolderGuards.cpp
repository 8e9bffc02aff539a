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

std::optional<std::string> ListedFolderProblem(AppState& state, const std::string& folder) {
  if (auto problem = SeparatorProblem(folder)) return problem;
  std::vector<GuardedFolder> guarded{
      {state.platform.ProgramFolder(), "the program folder"},
      {state.platform.SettingsFolder(), "Veilbox's settings folder"}};
  for (const std::string& store : StoreFolders(state.HideFolderPath)) {
    guarded.push_back({store, "the store folder"});
  }
  return OverlapProblem(state.platform, folder, guarded);
}

std::optional<std::string> StoreFolderProblem(AppState& state, const std::string& folder,
                                              const std::vector<std::string>& other_stores,
                                              const std::vector<std::string>& listed_folders) {
  if (auto problem = SeparatorProblem(folder)) return problem;
  if (auto problem = ReservedPlaceProblem(state.platform, folder)) return problem;
  // The default store folder lies inside the program folder, so only a store
  // folder that is or holds the program folder is refused.
  std::vector<GuardedFolder> guarded{
      {state.platform.ProgramFolder(), "the program folder", /*may_hold_it=*/true}};
  for (const std::string& store : other_stores) guarded.push_back({store, "the store folder"});
  for (const std::string& listed : listed_folders) {
    guarded.push_back({listed, "the listed folder"});
  }
  if (auto problem = OverlapProblem(state.platform, folder, guarded)) return problem;
  return StorePlaceProblem(state.platform, folder);
}

std::vector<std::string> ListedFolders(const std::string& database) {
  std::vector<std::string> folders;
  for (const auto& record : ParseRecords(database)) {
    if (record) folders.push_back(record->path + record->name);
  }
  return folders;
}

}  // namespace veilbox
