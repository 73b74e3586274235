// The About box (layout 100): the program icon, its name and version, and a
// line about what it is for; "OK" closes it.
#pragma once

#include "app/dialog_host.h"

namespace zelk {

class CAboutDlg {
 public:
  void do_modal(DialogHost& host) { host.run_about_box(); }
};

}  // namespace zelk
