// The folder database's file: Dat.sys on disk, its text (FolderList) in the
// single-byte code page.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace veilbox {

// Writes text atomically: the old file stays intact when the write fails,
// and the failure is raised.
void SaveData(Platform& platform, const std::string& text, const std::string& path,
              Where where = Where::current());

// The whole file as text, NUL bytes read as spaces; empty for an empty file.
std::string LoadTextFile(Platform& platform, const std::string& path,
                         Where where = Where::current());

}  // namespace veilbox
