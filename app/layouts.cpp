#include "app/layouts.h"

#include <span>

namespace zelk {

namespace {

constexpr ControlLayout kMainControls[] = {
    {kIdInput, ControlKind::kPushButton, "Input", 12, 12, 50, 12, true, false, false, nullptr},
    {kIdBand, ControlKind::kDropDownList, "", 12, 36, 66, 50, true, false, false, "Select VHF Band"},
    {kIdLLField, ControlKind::kEdit, "", 126, 36, 66, 12, true, false, true, "Field for lower-left corner of map"},
    {kIdPortrait, ControlKind::kRadioButton, "Portrait", 18, 72, 40, 10, true, true, false, nullptr},
    {kIdLandscape, ControlKind::kRadioButton, "Landscape", 18, 84, 50, 10, false, false, false, nullptr},
    {kIdTabloid, ControlKind::kRadioButton, "17\" x 11\"", 18, 96, 45, 10, false, false, false, nullptr},
    {kIdColor, ControlKind::kCheckBox, "Color", 108, 72, 33, 10, true, true, false, "Color output"},
    {kIdBold, ControlKind::kCheckBox, "Bold", 108, 84, 29, 10, true, false, false, "Bold output"},
    {kIdNeeded, ControlKind::kCheckBox, "Needed/worked", 108, 96, 68, 10, true, false, false,
     "Emphasize needed grids"},
    {kIdSChecked, ControlKind::kCheckBox, "S = *", 180, 72, 33, 10, true, false, false,
     "Submitted and Checked are same color"},
    {kIdCChecked, ControlKind::kCheckBox, "C = S = *", 180, 84, 48, 10, true, false, false,
     "Confirmed and Checked are same color"},
    {kIdFfma, ControlKind::kCheckBox, "FFMA", 180, 96, 36, 10, true, false, false, "Draw FFMA outline around USA"},
    {kIdGenerate, ControlKind::kDefaultPushButton, "Generate", 258, 12, 48, 12, true, false, false, nullptr},
    {kIdView, ControlKind::kPushButton, "View", 258, 36, 50, 14, true, false, false, nullptr},
    {kIdHelp, ControlKind::kPushButton, "Help", 258, 60, 50, 12, true, false, false, nullptr},
    {kIdDone, ControlKind::kPushButton, "Done", 258, 84, 50, 12, true, false, false, nullptr},
    {kIdInputList, ControlKind::kListBox, "", 72, 12, 150, 12, false, false, false, "Harvex ZELK Listing"},
    {kIdStatic, ControlKind::kGroupBox, "Print Format", 12, 60, 72, 54, false, false, false, nullptr, kIdPortrait},
    {kIdStatic, ControlKind::kStaticText, "Band", 90, 36, 17, 8, false, false, false, nullptr, kIdBand},
    {kIdStatic, ControlKind::kStaticText, "LL Field", 204, 36, 26, 8, false, false, false, nullptr, kIdLLField},
};

constexpr ControlLayout kAboutControls[] = {
    {kIdStatic, ControlKind::kIcon, "", 11, 17, 20, 20, false, false, false, nullptr},
    {kIdStatic, ControlKind::kStaticText, kMainCaption, 42, 18, 119, 8, false, false, false, nullptr},
    {kIdStatic, ControlKind::kStaticText, kAboutSecondLine, 42, 30, 119, 8, false, false, false, nullptr},
    {kIdGenerate, ControlKind::kDefaultPushButton, "OK", 178, 7, 50, 16, true, true, false, nullptr},
};

constexpr DialogLayout kMain{kMainDialogLayout, kMainCaption, 322, 119, "MS Shell Dlg", 8, kMainControls,
                             static_cast<int>(sizeof kMainControls / sizeof kMainControls[0])};
constexpr DialogLayout kAbout{kAboutDialogLayout, "About ZELK to HTML", 235, 55, "MS Shell Dlg", 8, kAboutControls,
                              static_cast<int>(sizeof kAboutControls / sizeof kAboutControls[0])};

}  // namespace

const int kTooltipOrder[9] = {kIdInputList, kIdBand, kIdLLField, kIdColor, kIdBold,
                              kIdNeeded,    kIdSChecked, kIdCChecked, kIdFfma};

const DialogLayout& main_dialog_layout() { return kMain; }
const DialogLayout& about_dialog_layout() { return kAbout; }

const ControlLayout* label_of(const DialogLayout& layout, const ControlLayout& control) {
  std::span controls(layout.controls, layout.control_count);
  // A radio button belongs to the group the last leader before it starts.
  int named = control.id;
  for (const ControlLayout& c : controls) {
    if (&c == &control) break;
    if (control.kind == ControlKind::kRadioButton && c.kind == ControlKind::kRadioButton && c.group) named = c.id;
  }
  for (const ControlLayout& c : controls)
    if (c.names != 0 && c.names == named) return &c;
  return nullptr;
}

const char* accessible_name(const DialogLayout& layout, const ControlLayout& control) {
  if (*control.caption != '\0') return control.caption;
  if (const ControlLayout* label = label_of(layout, control)) return label->caption;
  return control.tooltip != nullptr ? control.tooltip : "";
}

}  // namespace zelk
