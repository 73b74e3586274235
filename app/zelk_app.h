// The application: prepares the platform's controls, shows the main dialog
// modally and ends when it closes. Nothing is saved at that moment.
#pragma once

#include "app/dialog_host.h"

namespace zelk {

class CzelkApp {
 public:
  // Runs the whole program on `host`; returns the process exit status.
  int run(DialogHost& host);
};

}  // namespace zelk
