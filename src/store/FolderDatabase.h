// The folder database: HiddenFolderData in memory, Dat.sys on disk (the text
// followed by CR LF, in the single-byte code page).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "store/FolderRecord.h"

namespace veilbox {

// Writes text and CR LF atomically: the old file stays intact when the write
// fails, and the failure is raised.
void SaveData(Platform& platform, const std::string& text, const std::string& path,
              Where where = Where::current());

// The whole file as text, NUL bytes read as spaces; empty for an empty file.
std::string LoadTextFile(Platform& platform, const std::string& path,
                         Where where = Where::current());

// Writes HiddenFolderData to Dat.sys; a failure is reported and false
// returned.
bool SaveFolders(AppState& state);

// Fills HiddenFolderData from Dat.sys and returns the rows the folder list
// shows. nullopt when the list keeps what it shows: no file, or a failure
// before anything was read (reported).
std::optional<std::vector<ListRow>> LoadDataFile(AppState& state);

}  // namespace veilbox
