#!/usr/bin/env bash
# The designer's windows among the designs: hints on the palette; a short cut of the designer
# window pressed on a design; View > Forms... brings the chosen design to the front and makes
# it the current one; the alignment palette stays above a design that takes a click.
#   windows.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form --new-form --dump "$E2E_DUMP"
designer="$(wait_window 'KvFormDesigner1')"
form1="$(wait_window '^Form1$')"
form2="$(wait_window '^Form2$')"
wait_design '^form Form2 ' >/dev/null
stacked_above "the newer design" "$form2" "$form1"

# --- The pointer resting on a palette button shows its hint, a window of its own.
design_origins
visible() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
before="$(visible)"
read -r x y < <(palette_button 5)
xdotool mousemove --sync "$x" "$y"
sleep 0.2
xdotool mousemove --sync "$((x + 1))" "$y"
for ((i = 0; i < 30; i++)); do
  (($(visible) > before)) && break
  sleep 0.1
done
shot "0-hint"
(($(visible) > before)) || fail "no hint over the palette's button"

# --- Shift+F12 pressed on the design in front; Form1 picked by name.
read -r _ _ fx fy _ _ < <(wait_design '^form Form2 ')
xdotool mousemove --sync "$((fx + 300))" "$((fy + 200))" click 1
sleep 0.3
xdotool key shift+F12
dialog="$(wait_window '^View Form$')"
shot "1-view-form"
xdotool windowfocus --sync "$dialog"
xdotool key ctrl+a
xdotool type Form1
xdotool key Return
wait_design '^form Form1 ' >/dev/null
sleep 0.5
shot "2-form1-picked"
expect_eq "designer caption" "DemoForm.KvFormDesigner1 - Form1 (Insert & Delete)" "$(window_name "$designer")"
stacked_above "the picked design" "$form1" "$form2"

# --- The alignment palette stays above a design that takes a click.
xdotool windowfocus --sync "$designer"
xdotool key alt+v
sleep 0.3
xdotool key a
palette="$(wait_window '^Align$')"
read -r _ _ fx fy _ _ < <(wait_design '^form Form1 ')
xdotool mousemove --sync "$((fx + 500))" "$((fy + 300))" click 1
sleep 0.5
shot "3-design-clicked"
stacked_above "the alignment palette" "$palette" "$form1"

quit_without_saving "4-save-prompt"
echo "ok"
