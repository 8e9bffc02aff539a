#include "gui/win32/FolderChooser.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <optional>

#include "platform/win32/WideText.h"

namespace veilbox::win32 {
namespace {

template <class T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

struct CoText {
  wchar_t* p = nullptr;
  ~CoText() { CoTaskMemFree(p); }
};

// nullopt when the modern picker cannot be created (older systems).
std::optional<std::string> PickFolder(HWND owner, const std::string& title,
                                      const std::string& start) {
  Released<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&dialog.p)))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  if (FAILED(dialog.p->GetOptions(&options)) ||
      FAILED(dialog.p->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM |
                                  FOS_PATHMUSTEXIST))) {
    return std::nullopt;
  }
  if (!title.empty()) dialog.p->SetTitle(Widen(title).c_str());
  Released<IShellItem> folder;
  if (!start.empty() && SUCCEEDED(SHCreateItemFromParsingName(Widen(start).c_str(), nullptr,
                                                              IID_PPV_ARGS(&folder.p)))) {
    dialog.p->SetFolder(folder.p);
  }
  if (FAILED(dialog.p->Show(owner))) return std::string();  // cancelled
  Released<IShellItem> item;
  CoText path;
  if (FAILED(dialog.p->GetResult(&item.p)) ||
      FAILED(item.p->GetDisplayName(SIGDN_FILESYSPATH, &path.p))) {
    return std::string();  // not a folder of the file system
  }
  return Narrow(path.p);
}

// Selects the start folder (lparam) once the browse box is up.
int CALLBACK SelectStart(HWND box, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) SendMessageW(box, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

std::string BrowseFolder(HWND owner, const std::string& title, const std::string& start) {
  const std::wstring wide_title = Widen(title);
  const std::wstring wide_start = Widen(start);
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.lpszTitle = wide_title.empty() ? nullptr : wide_title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = &SelectStart;
  info.lParam = wide_start.empty() ? 0 : reinterpret_cast<LPARAM>(wide_start.c_str());
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return {};
  wchar_t path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListW(list, path);
  CoTaskMemFree(list);
  return found ? Narrow(path) : std::string();
}

}  // namespace

std::string ChooseFolderPath(HWND owner, const std::string& title, const std::string& start) {
  if (std::optional<std::string> picked = PickFolder(owner, title, start)) return *picked;
  return BrowseFolder(owner, title, start);
}

}  // namespace veilbox::win32
