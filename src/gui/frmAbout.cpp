#include "gui/frmAbout.h"

#include "app/Constants.h"
#include "app/SysInfo.h"
#include "gui/frmMain.h"

namespace veilbox {

frmAbout::frmAbout(frmAboutView& view, frmMain& main) : view_(view), main_(main) {}

frmAbout::~frmAbout() {
  main_.Commands().Forget(this);
}

void frmAbout::Form_Load() {
  view_.SetCaption(std::string("About ") + kAppname);
  view_.SetText(AboutControl::lblTitle, kAppname);
  view_.SetText(AboutControl::lblVersion, kCurrentVersion);
}

void frmAbout::cmdOK_Click() {
  view_.Close();
}

void frmAbout::cmdSysInfo_Click() {
  main_.Commands().Run(this, [this] {
    if (main_.ProgramEnded() || view_.StartSystemInfo()) return;
    main_.Core().dialogue.Tell(kSysInfoUnavailable, kAppname, Icon::None);
  });
}

}  // namespace veilbox
