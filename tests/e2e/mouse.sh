#!/usr/bin/env bash
# Builds a small form in kvdemo with the mouse alone: a class chosen on the palette and clicked
# onto the new form, dragged in grid steps, a second one, both band-selected and deleted; then
# the host closes without saving. kvdemo's --dump file tells what the design holds.
#   mouse.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

dump="$E2E_ARTIFACTS/mouse-design.txt"
rm -f "$dump"
e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form --dump "$dump"
wait_window 'KvFormDesigner1' >/dev/null
form="$(wait_window '^Form1$')"

# wait_design REGEX: waits up to 5 s for a line of the dump that matches; prints it.
wait_design() {
  local i
  for ((i = 0; i < 50; i++)); do
    if [[ -s "$dump" ]] && grep -E -m1 "$1" "$dump"; then return 0; fi
    sleep 0.1
  done
  [[ -s "$dump" ]] && cat "$dump" >&2
  fail "the design shows no line /$1/"
}
# The engine reads the pointer's position when it handles an event, not the event's own: a
# press must be handled before the pointer moves on, so the gestures pause after each step.
settle() { sleep 0.2; }
# count REGEX: how many lines of the dump match.
count() { grep -c -E "$1" "$dump" || true; }
# same_area WHAT SHOT1 SHOT2 X Y W H: the two screenshots agree pixel for pixel on that
# form-client rectangle (nothing left behind by handles or the band).
same_area() {
  local what="$1" a="$E2E_ARTIFACTS/mouse-$2.png" b="$E2E_ARTIFACTS/mouse-$3.png" crop diff
  crop="$6x$7+$((fx + $4))+$((fy + $5))"
  convert "$a" -crop "$crop" +repage "$E2E_ARTIFACTS/crop-a.png"
  convert "$b" -crop "$crop" +repage "$E2E_ARTIFACTS/crop-b.png"
  diff="$(compare -metric AE "$E2E_ARTIFACTS/crop-a.png" "$E2E_ARTIFACTS/crop-b.png" null: 2>&1 || true)"
  rm -f "$E2E_ARTIFACTS/crop-a.png" "$E2E_ARTIFACTS/crop-b.png"
  expect_eq "$what: pixels differing from $2" 0 "$diff"
}

read -r _ px py < <(wait_design '^palette ')
read -r _ _ fx fy _ _ < <(wait_design '^form Form1 ')
# Form-client point to the screen.
at() { echo "$((fx + $1)) $((fy + $2))"; }
# The palette's class button k (0 = first after the pointer and the scroll button).
palette_button() { echo "$((px + 50 + 28 * $1 + 14)) $((py + 14))"; }

# TButton is the sixth class of the Standard page, the page shown first.
readonly button_slot=5
choose_button() {
  read -r x y < <(palette_button $button_slot)
  xdotool mousemove --sync "$x" "$y" click 1
}

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
