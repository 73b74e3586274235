// The application: prepares the platform's controls, shows the main dialog
// modally and ends when it closes. Nothing is saved at that moment.
#pragma once

#include <optional>
#include <string>

#include "app/dialog_host.h"

namespace zelk {

class CzelkApp {
 public:
  // Runs the whole program on `host`, starting with `listing` chosen when
  // one is given; returns the process exit status.
  int run(DialogHost& host, const std::optional<std::string>& listing = std::nullopt);
};

}  // namespace zelk
