#include "app/zelk_app.h"

#include "app/zelk_dlg.h"

namespace zelk {

int CzelkApp::run(DialogHost& host) {
  host.init_common_controls();
  CzelkDlg dialog(host);
  dialog.do_modal();
  // Whichever way the dialog ended, the program ends with it.
  return 0;
}

}  // namespace zelk
