#!/usr/bin/env bash
# A main menu designed with the mouse and keyboard: a TMainMenu clicked onto a new form, its
# icon double-clicked (the menu designer opens), an item added and its caption typed (named
# File1, the form grows a menu bar), a sub-item with a caption and a short cut, picked in the
# inspector as the menu designer's selection.
#   menus.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form --dump "$E2E_DUMP"
wait_window '^Form1$' >/dev/null
design_origins

# TMainMenu is the first class of the Standard page.
read -r x y < <(palette_button 0)
xdotool mousemove --sync "$x" "$y" click 1
read -r x y < <(at 200 150)
xdotool mousemove --sync "$x" "$y" click 1
wait_design '^MainMenu1 TMainMenu - 200 150 28 28 selected$' >/dev/null
top0="$fy"

read -r x y < <(at 214 164)
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
w="$(wait_window '^Form1\.MainMenu1$')"
shot "0-menu-designer"
read -r wx wy _ _ < <(geometry "$w")
# button X Y: a point of the menu designer's client area (its layout: forms/KvMnuEdt.dfm).
button() { xdotool mousemove --sync $((wx + $1)) $((wy + $2)) click 1; settle; }
caption() {
  button 320 34
  xdotool key ctrl+a
  xdotool type --delay 50 "$1"
  settle
}

button 366 144  # Add
wait_design '^N1 TMenuItem ' >/dev/null
caption 'File'
wait_design '^File1 TMenuItem ' >/dev/null
# The designed form shows its menu bar at once: its client area moves down.
for ((i = 0; i < 50; i++)); do
  read -r _ _ _ fy _ _ < <(wait_design '^form Form1 ')
  ((fy > top0)) && break
  sleep 0.1
done
((fy > top0)) || fail "the designed form shows no menu bar (client top $fy, was $top0)"

button 278 176  # Submenu
caption 'Open'
wait_design '^Open1 TMenuItem ' >/dev/null
button 320 78  # ShortCut
xdotool key ctrl+a
xdotool type --delay 50 'F2'
settle
# The inspector shows the item the menu designer has selected.
wait_design '^row [0-9]+ Caption = Open$' >/dev/null
wait_design '^row [0-9]+ ShortCut = F2$' >/dev/null
shot "1-designed"

quit_without_saving "2-save-prompt"
echo "ok"
