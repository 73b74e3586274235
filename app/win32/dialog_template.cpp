#include "app/win32/dialog_template.h"

#include <commctrl.h>

#include "app/win32/code_page_text.h"

#include <string>

namespace zelk {

namespace {

// Predefined window classes, given in a template by ordinal.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kListBoxClass = 0x0083;
constexpr std::uint16_t kComboBoxClass = 0x0085;

std::uint16_t window_class(ControlKind kind) {
  switch (kind) {
    case ControlKind::kEdit: return kEditClass;
    case ControlKind::kStaticText:
    case ControlKind::kIcon: return kStaticClass;
    case ControlKind::kListBox: return kListBoxClass;
    case ControlKind::kDropDownList: return kComboBoxClass;
    default: return kButtonClass;
  }
}

class Writer {
 public:
  explicit Writer(std::vector<std::uint16_t>& words) : words_(words) {}

  void word(std::uint16_t value) { words_.push_back(value); }
  void dword(std::uint32_t value) {
    word(static_cast<std::uint16_t>(value & 0xFFFF));
    word(static_cast<std::uint16_t>(value >> 16));
  }
  void coordinate(int value) { word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
  // Captions are text in the active code page (UTF-8 under the manifest);
  // templates hold UTF-16.
  void text(const char* value) {
    for (wchar_t c : wide_text(value)) word(static_cast<std::uint16_t>(c));
    word(0);
  }
  void ordinal(std::uint16_t value) {
    word(0xFFFF);
    word(value);
  }
  // Each item template starts on a DWORD boundary.
  void align_dword() {
    if (words_.size() % 2 != 0) word(0);
  }

 private:
  std::vector<std::uint16_t>& words_;
};

}  // namespace

DWORD dialog_style(const DialogLayout&) {
  // A fixed-size modal frame with title bar and system menu, centred on the
  // screen; "MS Shell Dlg" with DS_FIXEDSYS maps to the system's dialog font.
  return DS_SETFONT | DS_FIXEDSYS | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
}

DWORD dialog_ex_style(const DialogLayout& layout) {
  // Only the main dialog is the program's window in the task bar.
  return layout.id == kMainDialogLayout ? WS_EX_APPWINDOW : 0;
}

DWORD control_style(const ControlLayout& control) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (control.tab_stop) style |= WS_TABSTOP;
  if (control.group) style |= WS_GROUP;
  switch (control.kind) {
    case ControlKind::kPushButton: style |= BS_PUSHBUTTON; break;
    case ControlKind::kDefaultPushButton: style |= BS_DEFPUSHBUTTON; break;
    case ControlKind::kDropDownList: style |= CBS_DROPDOWNLIST | WS_VSCROLL; break;
    case ControlKind::kEdit:
      style |= ES_LEFT | ES_AUTOHSCROLL | WS_BORDER;
      if (control.capitals) style |= ES_UPPERCASE;
      break;
    case ControlKind::kRadioButton: style |= BS_AUTORADIOBUTTON; break;
    case ControlKind::kCheckBox: style |= BS_AUTOCHECKBOX; break;
    // The box is as high as the layout says, even where that is not a whole
    // number of lines.
    case ControlKind::kListBox: style |= LBS_NOSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER; break;
    case ControlKind::kGroupBox: style |= BS_GROUPBOX; break;
    case ControlKind::kStaticText: style |= SS_LEFT | WS_GROUP; break;
    case ControlKind::kIcon: style |= SS_ICON; break;
  }
  return style;
}

DialogTemplate build_dialog_template(const DialogLayout& layout) {
  DialogTemplate result;
  Writer out(result.words_);
  out.word(1);       // dlgVer
  out.word(0xFFFF);  // signature of the extended template
  out.dword(0);      // helpID
  out.dword(dialog_ex_style(layout));
  out.dword(dialog_style(layout));
  out.word(static_cast<std::uint16_t>(layout.control_count));
  out.coordinate(0);  // x, y: DS_CENTER places it
  out.coordinate(0);
  out.coordinate(layout.width);
  out.coordinate(layout.height);
  out.word(0);  // no menu
  out.word(0);  // the standard dialog class
  out.text(layout.caption);
  out.word(static_cast<std::uint16_t>(layout.font_points));
  out.word(FW_NORMAL);
  out.word(static_cast<std::uint16_t>(DEFAULT_CHARSET << 8));  // italic 0, then the character set
  out.text(layout.font_name);

  for (int i = 0; i < layout.control_count; ++i) {
    const ControlLayout& control = layout.controls[i];
    out.align_dword();
    out.dword(0);  // helpID
    out.dword(0);  // exStyle
    out.dword(control_style(control));
    out.coordinate(control.x);
    out.coordinate(control.y);
    out.coordinate(control.width);
    out.coordinate(control.height);
    out.dword(static_cast<std::uint32_t>(control.id));
    out.ordinal(window_class(control.kind));
    if (control.kind == ControlKind::kIcon) {
      out.ordinal(static_cast<std::uint16_t>(kProgramIcon));
    } else {
      out.text(control.caption);
    }
    out.word(0);  // no creation data
  }
  return result;
}

}  // namespace zelk
