// veilbox.exe: the Windows desktop program. The main window is created
// hidden and its load step runs start-up; the program then lives in the
// message loop until a window ends it.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/Session.h"
#include "gui/MainWindowDialogue.h"
#include "gui/win32/MainWindow.h"
#include "gui/win32/MessageLoop.h"
#include "gui/win32/Win32Dialogue.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The folder picker is a COM object of the shell.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  int exit_code = 0;
  {
    std::unique_ptr<veilbox::Platform> platform = veilbox::CreatePlatform();
    veilbox::win32::Win32Dialogue boxes;
    veilbox::MainWindowDialogue dialogue(boxes);
    veilbox::Session session(*platform, dialogue);
    veilbox::win32::MainWindow window(session, dialogue, [] { PostQuitMessage(0); });
    window.Logic().Form_Load();
    if (!window.Logic().ProgramEnded()) exit_code = veilbox::win32::RunMessageLoop();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
