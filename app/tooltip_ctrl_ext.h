// The dialog's tooltip control. It only registers tools: each tool is a
// control of the dialog, and the platform shows the text while the pointer
// rests on it.
#pragma once

#include <string>

#include "app/dialog_host.h"

namespace zelk {

class CToolTipCtrlExt {
 public:
  void create(DialogHost& host) { host_ = &host; }
  void add_tool(int control_id, const std::string& text) { host_->add_tooltip(control_id, text); }

 private:
  DialogHost* host_ = nullptr;
};

}  // namespace zelk
