// In-memory dialog templates built from the layouts in res/: the same bytes a
// resource compiler makes of a DIALOGEX statement, so Windows itself lays the
// controls out in dialog units, in the font the layout names, in tab order.
//
//   DialogTemplate main = build_dialog_template(main_dialog_layout());
//   DialogBoxIndirectParamA(instance, main.get(), nullptr, proc, 0);
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/layouts.h"

namespace zelk {

class DialogTemplate {
 public:
  // A DLGTEMPLATEEX; DialogBoxIndirect takes it as a DLGTEMPLATE pointer.
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  const std::vector<std::uint16_t>& words() const { return words_; }

 private:
  friend DialogTemplate build_dialog_template(const DialogLayout& layout);
  // WORD-sized cells keep the whole template WORD-aligned, as it must be.
  std::vector<std::uint16_t> words_;
};

// Window styles of the dialog and of each kind of control.
DWORD dialog_style(const DialogLayout& layout);
DWORD dialog_ex_style(const DialogLayout& layout);
DWORD control_style(const ControlLayout& control);

DialogTemplate build_dialog_template(const DialogLayout& layout);

}  // namespace zelk
