#include "app/zelk_app.h"

#include "app/zelk_dlg.h"

namespace zelk {

int CzelkApp::run(DialogHost& host, const std::optional<std::string>& listing) {
  host.init_common_controls();
  CzelkDlg dialog(host);
  if (listing) dialog.choose_at_start(*listing);
  dialog.do_modal();
  // Whichever way the dialog ended, the program ends with it.
  return 0;
}

}  // namespace zelk
