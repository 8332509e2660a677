#!/usr/bin/env bash
# The object inspector in kvdemo, driven as a user drives it: a button and a list box clicked
# onto a new form, F11, a Caption typed (the button follows every key), Left set with Enter, a
# Color picked from the drop-down list, Font expanded and its Size set, three lines typed into
# the string list editor opened by Items' ellipsis button; the design saved with its unit,
# opened again in a new session, and all of it found there. kvdemo's --dump file tells what the
# design and the inspector hold.
#   inspector.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo; kvform is taken from the same folder)
source "$(dirname "$0")/lib.bash"

demo="${1:-$KV_BIN_DIR/kvdemo}"
kvform="$(dirname "$demo")/kvform"
dump="$E2E_ARTIFACTS/inspector-design.txt"
saved="$E2E_ARTIFACTS/inspector-saved"
rm -rf "$dump" "$saved"
mkdir -p "$saved"

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
settle() { sleep 0.3; }
at() { echo "$((fx + $1)) $((fy + $2))"; }
# (without --sync: a pointer already at the spot would never report its move)
click_at() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; settle; }

# The inspector's rows as the dump lists them: the index of a row, waiting for it to exist.
row_of() { wait_design "^row [0-9]+ $1 = " | awk '{print $2}'; }
wait_value() { wait_design "^row [0-9]+ $1 = $2\$" >/dev/null; }

# go_row NAME: clicks the row's name (the grid makes it current) and clicks the name again (the
# editor takes the focus with its text selected). A row out of view is reached from the nearest
# row shown with Up or Down in the editor, which scroll the grid.
go_row() {
  local row near gx gy pitch top shown y key
  row="$(row_of "$1")"
  read -r _ gx gy pitch _ top shown _ < <(wait_design '^inspector ')
  near=$row
  ((near < top)) && near=$top
  ((near >= top + shown)) && near=$((top + shown - 1))
  xdotool windowfocus --sync "$inspector"
  y=$((gy + (near - top) * pitch + pitch / 2))
  click_at $((gx + 10)) "$y"
  wait_design "^inspector [0-9]+ [0-9]+ [0-9]+ $near " >/dev/null
  click_at $((gx + 10)) "$y"
  key=Down
  ((row < near)) && key=Up
  for ((; near != row; near += (row > near ? 1 : -1))); do
    xdotool key "$key"
    sleep 0.1
  done
  wait_design "^inspector [0-9]+ [0-9]+ [0-9]+ $row " >/dev/null
}

# --- A new form with a button and a list box from the Standard page.
e2e_start "$demo" --new-form --dump "$dump"
designer="$(wait_window 'KvFormDesigner1')"
wait_window '^Form1$' >/dev/null
read -r _ px py < <(wait_design '^palette ')
read -r _ _ fx fy _ _ < <(wait_design '^form Form1 ')
palette_click() { click_at $((px + 50 + 28 * $1 + 14)) $((py + 14)); }
sleep 0.3
palette_click 5  # TButton
read -r x y < <(at 40 40)
click_at "$x" "$y"
wait_design '^Button1 TButton Form1 40 40 75 25 selected$' >/dev/null
palette_click 8  # TListBox
read -r x y < <(at 200 40)
click_at "$x" "$y"
wait_design '^ListBox1 TListBox Form1 200 40 [0-9]+ [0-9]+ selected$' >/dev/null
read -r x y < <(at 60 50)
click_at "$x" "$y"
wait_design '^Button1 TButton Form1 40 40 75 25 selected$' >/dev/null
shot "1-inserted"

# --- F11 shows the inspector, beside the design, on the selected button.
xdotool windowfocus --sync "$designer"
xdotool key F11
inspector="$(wait_window '^Object Inspector$')"
wait_value Name Button1
read -r ix iy iw ih < <(geometry "$inspector")
read -r _ _ gfx _ < <(geometry "$(wait_window '^Form1$')")
((ix + iw <= gfx)) || fail "the inspector ($ix+$iw) overlaps the design (at $gfx)"
shot "2-inspector"

# --- Caption: the button's caption follows every key.
go_row Caption
typed=""
for ch in H e l l o; do
  xdotool type "$ch"
  typed+="$ch"
  wait_value Caption "$typed"
done
shot "3-caption"

# --- Left: nothing moves until Enter.
go_row Left
xdotool type 120
settle
wait_design '^Button1 TButton Form1 40 40 ' >/dev/null
xdotool key Return
wait_design '^Button1 TButton Form1 120 40 75 25 selected$' >/dev/null
wait_value Left 120
shot "4-left"

# --- The list box: Color picked from the drop-down list.
read -r x y < <(at 220 60)
click_at "$x" "$y"
wait_value Name ListBox1
go_row Color
xdotool key F4  # Alt+Down would move to the next row, as Down does
settle
shot "5-color-list"
xdotool type clRed
xdotool key Return
wait_value Color clRed
shot "6-color"

# --- Items: the ellipsis button opens the string list editor; three lines, OK.
go_row Items
read -r _ bx by < <(wait_design '^editbutton ')
click_at "$bx" "$by"
editor="$(wait_window '^String list editor$')"
xdotool windowfocus --sync "$editor"
read -r ex ey _ _ < <(geometry "$editor")
sleep 0.5  # the dialog focuses its first control once it is active
# Two tabs reach the memo from the first control. (A click into the memo does not give it the
# focus on X: the memo's native widget never sees the press.)
xdotool key Tab
sleep 0.2
xdotool key Tab
sleep 0.2
xdotool type --delay 50 Alpha
xdotool key Return
xdotool type --delay 50 Beta
xdotool key Return
xdotool type --delay 50 Gamma
shot "7-items"
click_at $((ex + 185 + 37)) $((ey + 248 + 12))
for ((i = 0; i < 50; i++)); do
  xdotool search --onlyvisible --name '^String list editor$' >/dev/null 2>&1 || break
  sleep 0.1
done
read -r _ _ lw lh < <(wait_design '^ListBox1 TListBox ' | awk '{print $1, $2, $6, $7}')
shot "8-items-done"

# --- Font: expanded by a double click on its name, then Size with Enter.
go_row Font
read -r _ gx gy pitch _ top _ _ < <(wait_design '^inspector ')
row="$(row_of Font)"
xdotool mousemove $((gx + 10)) $((gy + (row - top) * pitch + pitch / 2)) sleep 0.1 click --repeat 2 --delay 80 1
settle
go_row Size
xdotool type 14
xdotool key Return
wait_value Size 14
shot "9-font-size"

# --- Save the design with its unit (File > Generate Unit As...).
xdotool windowfocus --sync "$designer"
xdotool key --window "$designer" alt+f
sleep 0.3
xdotool key g
sleep 1
shot "10-save-dialog"
xdotool key ctrl+a
xdotool type "$saved/Unit1.pas"
xdotool key Return
for ((i = 0; i < 50; i++)); do
  [[ -s "$saved/Unit1.dfm" && -s "$saved/Unit1.pas" ]] && break
  sleep 0.1
done
[[ -s "$saved/Unit1.dfm" ]] || fail "no form file saved"
shot "11-saved"
e2e_stop

# --- The saved file holds all of it: the inspector's rows of each component as kvform lists
# them, and the list box's lines in the file's text.
rows="$("$kvform" inspect "$saved/Unit1.dfm" Button1 --expand; "$kvform" inspect "$saved/Unit1.dfm" ListBox1 --expand)" ||
  fail "kvform inspect failed"
text="$("$kvform" totext "$saved/Unit1.dfm")" || fail "kvform totext failed"
printf '%s\n' "$rows" "$text" >"$E2E_ARTIFACTS/inspector-saved.txt"
has() { grep -qE -- "$2" <<<"$1" || fail "the saved form lacks /$2/"; }
has "$rows" '^  Caption = Hello$'
has "$rows" '^  Left = 120$'
has "$rows" '^  Color = clRed$'
has "$rows" '^ +Size = 14$'
grep -q 'Button1: TButton;' "$saved/Unit1.pas" || fail "the unit does not declare Button1"

# --- A new session opens it, and the inspector shows the values again.
rm -f "$dump"
e2e_start "$demo" --open "$saved/Unit1.dfm" --dump "$dump"
designer="$(wait_window 'KvFormDesigner1')"
read -r _ _ fx fy _ _ < <(wait_design '^form Form1 ')
wait_design '^Button1 TButton Form1 120 40 75 25' >/dev/null
wait_design "^ListBox1 TListBox Form1 200 40 $lw $lh" >/dev/null
read -r x y < <(at 140 50)
click_at "$x" "$y"
xdotool windowfocus --sync "$designer"
xdotool key F11
inspector="$(wait_window '^Object Inspector$')"
wait_value Name Button1
wait_value Caption Hello
read -r x y < <(at 220 60)
click_at "$x" "$y"
wait_value Name ListBox1
wait_value Color clRed
wait_value Items '\[TStrings\]'
shot "12-reopened"
# Last, so that a failure here comes after every other check: the list box's three lines.
has "$text" "'Alpha'"
has "$text" "'Beta'"
has "$text" "'Gamma'"
echo "ok"
