// The dialog layouts, icon and strings as data: the one source of positions,
// captions, styles and tooltips for every front end. Positions are in dialog
// units (left, top, width, height).
#pragma once

namespace zelk {

enum ControlId : int {
  kIdGenerate = 1,  // IDOK: the default button
  kIdDone = 2,      // IDCANCEL: also Escape and the close box
  kIdBand = 1001,
  kIdBold = 1002,
  kIdColor = 1003,
  kIdInput = 1004,
  kIdInputList = 1005,
  kIdLLField = 1006,
  kIdHelp = 1007,
  kIdTabloid = 1010,
  kIdLandscape = 1011,
  kIdPortrait = 1012,
  kIdSChecked = 1013,
  kIdView = 1014,
  kIdFfma = 1015,
  kIdNeeded = 1016,
  kIdCChecked = 1017,
  kIdStatic = -1,  // labels and the group box
};

inline constexpr int kAboutDialogLayout = 100;
inline constexpr int kMainDialogLayout = 101;
inline constexpr int kProgramIcon = 102;
inline constexpr int kAboutMenuString = 103;
inline constexpr int kAboutCommand = 16;  // system-menu command of the About entry

enum class ControlKind {
  kPushButton,
  kDefaultPushButton,
  kDropDownList,  // unsorted, vertical scroll bar
  kEdit,          // border, scrolls sideways; capitals only where `capitals`
  kRadioButton,   // auto; `group` starts a group
  kCheckBox,      // auto
  kListBox,       // one line, no selection, border, vertical scroll bar
  kGroupBox,
  kStaticText,
  kIcon,
};

struct ControlLayout {
  int id;
  ControlKind kind;
  const char* caption;  // "" for none
  int x, y, width, height;
  bool tab_stop;
  bool group;           // starts a group (first radio button)
  bool capitals;        // edit box turns letters into capitals
  const char* tooltip;  // nullptr for none
  // A label's: the control it names for a screen reader; a group box's: the
  // first radio button of the group it frames. 0 for none.
  int names = 0;
};

struct DialogLayout {
  int id;
  const char* caption;
  int width, height;
  const char* font_name;
  int font_points;
  const ControlLayout* controls;  // in tab order
  int control_count;
};

const DialogLayout& main_dialog_layout();
const DialogLayout& about_dialog_layout();

// The label or group box a screen reader reads with `control`, or null: the
// name of a control without a caption, the group of a radio button.
const ControlLayout* label_of(const DialogLayout& layout, const ControlLayout& control);
// What a screen reader calls `control`: its caption, else its label's, else
// its tooltip's words (the listing box shows a file's name, not its purpose).
const char* accessible_name(const DialogLayout& layout, const ControlLayout& control);

// The tools registered with the tooltip control, in registration order.
extern const int kTooltipOrder[9];

// String 103, the About entry of the system menu ("&" marks the access key).
inline constexpr const char* kAboutMenuText = "&About ZELK to HTML...";
inline constexpr const char* kMainCaption = "ZELK to HTML Version 3.3";
inline constexpr const char* kAboutSecondLine = "(C) 2026 the ZELK developers";

}  // namespace zelk
