// The folder chooser: the system's folder picker (IFileOpenDialog with
// FOS_PICKFOLDERS), or the older browse-for-folder box where that picker is
// missing.
#pragma once

#include <windows.h>

#include <string>

namespace veilbox::win32 {

// The chosen folder's full path (UTF-8, no trailing separator except a
// drive's root), or empty text when the user cancels. The chooser opens at
// start when that names a folder.
std::string ChooseFolderPath(HWND owner, const std::string& title, const std::string& start = {});

}  // namespace veilbox::win32
