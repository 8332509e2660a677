#!/usr/bin/env bash
# Builds a small form in kvdemo with the mouse alone: a class chosen on the palette and clicked
# onto the new form, dragged in grid steps, a second one, both band-selected and deleted; then
# the host closes without saving. kvdemo's --dump file tells what the design holds.
#   mouse.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form --dump "$E2E_DUMP"
wait_window 'KvFormDesigner1' >/dev/null
form="$(wait_window '^Form1$')"
design_origins

sleep 0.3
shot "0-start"

# --- Insert: the button lands at the click point in its default size, selected.
choose_button
shot "1-class-chosen"
read -r x y < <(at 101 61)
xdotool mousemove --sync "$x" "$y" click 1
wait_design '^Button1 TButton Form1 101 61 75 25 selected$' >/dev/null
shot "2-inserted"

# --- Drag by (21, 13): steps of 8 round to (24, 16).
read -r x y < <(at 130 70)
xdotool mousemove --sync "$x" "$y" mousedown 1
settle
for step in 5 10 15 21; do
  xdotool mousemove --sync "$((x + step))" "$((y + step * 13 / 21))"
  settle
done
shot "3-dragging"
xdotool mouseup 1
wait_design '^Button1 TButton Form1 125 77 75 25 selected$' >/dev/null
shot "4-dragged"

# --- A second button, then a band from empty area over both.
choose_button
read -r x y < <(at 101 161)
xdotool mousemove --sync "$x" "$y" click 1
wait_design '^Button2 TButton Form1 101 161 75 25 selected$' >/dev/null
read -r x y < <(at 40 30)
xdotool mousemove --sync "$x" "$y" mousedown 1
settle
read -r x y < <(at 140 180)
xdotool mousemove --sync "$((x - 50))" "$((y - 50))"
settle
xdotool mousemove --sync "$x" "$y"
settle
shot "5-band"
xdotool mouseup 1
wait_design '^Button2 .* selected$' >/dev/null
wait_design '^Button1 .* selected$' >/dev/null
expect_eq "band selection" 2 "$(count ' selected$')"
sleep 0.3
shot "6-band-selected"
same_area "band erased" 0-start 6-band-selected 36 26 8 120

# --- Delete removes both; the form is selected again.
xdotool key Delete
for ((i = 0; i < 50; i++)); do
  [[ "$(count '^Button[12] ')" == 0 ]] && break
  sleep 0.1
done
expect_eq "buttons left after Delete" 0 "$(count '^Button[12] ')"
sleep 0.3
shot "7-deleted"
same_area "form after Delete" 0-start 7-deleted 0 0 400 300

# --- Close without saving: the host asks about the modified design, No lets everything go.
quit_without_saving "8-save-prompt"
echo "ok"
