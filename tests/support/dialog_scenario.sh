# The walk a person takes through the real dialog, written once for every window it runs in.
# Sourced after real_parts.sh; the caller defines a driver for its window, then calls `walk`:
#   start_dialog [LISTING]  start the program, await its window (main: its id); with LISTING, also choose it
#                           (on the command line where the program takes one)
#   choose_listing          Input, and the listing the open-file box shows first
#   set_choices             band 2 M, "em" typed as LL Field, Portrait, FFMA
#   press BUTTON            Generate, View or Help
#   dismiss TITLE           Return on the box of that title, once it shows
#   open_about, quit        About from the window's menu; Escape and the program's end
#   hear_names              what a screen reader hears each control called, where the window tells
#   all_bands, any_band     the band list's last row but one, and its last; command_line OUT: -o OUT
#                           with the settings file, lines ended as the window's system ends them
# and sets listing, page, settings and help (where they are), expected (the command line's page
# for those choices), screenshot (optional: a picture of the restarted dialog).
# A new step: a function step_NAME below, NAME in `steps`, any new action in every driver.
steps=(start names choose generate save view help restart about any all drop)

step_start() { start_dialog; }
step_names() { hear_names; }
step_choose() { choose_listing && set_choices; }
step_generate() {
  press Generate
  dismiss zelk2html
  cmp "$page" "$expected" || fail "the dialog's page is not the command line's"
}
step_save() {
  [ "$(head -c 7 "$settings")" = 3.3.0.1 ] || fail "no settings of version 3.3.0.1 in $settings"
}
step_view() { press View && [ "$(opened)" = "$page" ] || fail "View opened another page"; }
step_help() { press Help && [ "$(opened)" = "$help" ] || fail "Help opened another page"; }
step_restart() {  # everything but the listing comes back from the settings file
  quit && rm "$page"
  start_dialog "$listing"
  # With no control lit under the pointer, once painted.
  [ -z "${screenshot:-}" ] || { x mousemove 0 0 && sleep 1 && import -window "$main" "$screenshot"; }
  step_generate
}
step_about() { open_about && dismiss 'About ZELK to HTML'; }
# The dialog saves its choices once its message is dismissed: the command line waits for them.
saved_band() { [ "$(od -An -t d4 -j 552 -N 4 "$settings" | tr -d ' ')" = "$1" ]; }
step_all() {  # the pages of --band all where the page goes, the saved choice meaning it there too
  local folder=${page%/*} all
  all=$(mktemp -d)
  all_bands && press Generate && dismiss zelk2html
  poll 30 "All bands saved" saved_band 11 && command_line "$all"
  for made in "$all"/*.html; do
    cmp "$made" "$folder/${made##*/}" || fail "the dialog's ${made##*/} is not the command line's"
  done
  press View && [ "$(opened)" = "$folder/$(basename "$listing" .csv)-bands.html" ] \
    || fail "View opened another page than the contents page"
  rm -r "$all"
}
step_any() {  # Any band, the choice saved with it: the command line's page from those settings
  local made
  made=$(mktemp -d)
  any_band && press Generate && dismiss zelk2html
  poll 30 "Any band saved" saved_band 12 && command_line "$made/any.html"
  cmp "$made/any.html" "$page" || fail "the dialog's any-band page is not the command line's"
  rm -r "$made"
}
step_drop() {  # two listings and a web address dropped: the first listing is taken, and said so
  local dropped=${listing%.csv} made=${page%/*}/${listing##*/}
  cp "$listing" "$dropped 2.csv" && drag_onto "$main" https://example.org/a.csv "$dropped 2.csv" "$listing"
  dismiss zelk2html && press Generate && dismiss zelk2html
  [ -f "${made%.csv} 2-bands.html" ] || fail "the dropped listing was not taken"
  rm "$dropped 2.csv" "${made%.csv} 2"*.html
}

walk() {
  for step in "${steps[@]}"; do
    echo "step: $step"
    "step_$step"
  done
  quit
}
