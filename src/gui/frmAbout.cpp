#include "gui/frmAbout.h"

#include "app/SysInfo.h"
#include "gui/frmMain.h"

namespace veilbox {

frmAbout::frmAbout(frmAboutView& view, frmMain& main) : view_(view), main_(main) {}

frmAbout::~frmAbout() {
  main_.Commands().Forget(this);
}

void frmAbout::Form_Load() {
  const AppState& state = main_.State();
  view_.SetCaption("About " + state.Appname);
  view_.SetText(AboutControl::lblTitle, state.Appname);
  view_.SetText(AboutControl::lblVersion, state.CurrentVersion);
}

void frmAbout::cmdOK_Click() {
  view_.Close();
}

void frmAbout::cmdSysInfo_Click() {
  main_.Commands().Run(this, [this] {
    if (main_.ProgramEnded() || view_.StartSystemInfo()) return;
    AppState& state = main_.State();
    state.dialogue.Tell(kSysInfoUnavailable, state.Appname, Icon::None);
  });
}

}  // namespace veilbox
