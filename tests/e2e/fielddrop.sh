#!/usr/bin/env bash
# Fields dragged from kvdemo's field list onto a new form become labelled data-aware controls,
# and Run shows the form filled from the sample database.
#   fielddrop.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form --report

form="$(wait_window '^Form1$')"
fields="$(wait_window '^Fields$')"
read -r fx fy fw fh < <(geometry "$form")
read -r lx ly lw lh < <(geometry "$fields")
# The first field of the first table (EMPLOYEE.EmpNo) is the list's top row, below the combo box;
# rows are 13 pixels high in the default font.
item_x=$((lx + 40)) item_y=$((ly + 30)) row_h=13

# drag_to X Y: a press on the first row, one move onto the form, a release.
drag_to() {
  xdotool mousemove --sync "$item_x" "$item_y" mousedown 1
  sleep 0.2
  xdotool mousemove --sync "$1" "$2"
  sleep 0.2
  xdotool mouseup 1
  sleep 0.5
}

# One field: a label and an edit box at the drop point, bound through a new data source.
drag_to $((fx + 16)) $((fy + 16))
shot "one-field"

# Every field of the table (the first one is selected still; Shift+click on the eighth and last
# row adds the rest), dropped to the right of the first one: the data source is reused.
xdotool mousemove --sync "$item_x" $((item_y + 7 * row_h)) keydown shift click 1 keyup shift
sleep 0.2
drag_to $((fx + 240)) $((fy + 16))
shot "all-fields"

# Run, from the host's menu; the live form is a second window of the design's caption.
host_menu r r
run=""
for ((i = 0; i < 100; i++)); do
  run="$(xdotool search --onlyvisible --name '^Form1$' | grep -vx "$form" | head -1 || true)"
  [[ -n "$run" ]] && break
  sleep 0.1
done
[[ -n "$run" ]] || fail "Run showed no live form"
sleep 0.5
shot "run"

# What the live form holds, as kvdemo --report printed it: the dropped controls, bound to the
# first employee's record, and one data source.
report="$E2E_LOG"
expect_line() { grep -qxF "$1" "$report" || fail "live form lacks: $1"; }
expect_line 'Form1_1.Label1: TLabel "EmpNo"'
expect_line 'Form1_1.DBEdit1: TDBEdit "1"'
expect_line 'Form1_1.Label3: TLabel "LastName"'
expect_line 'Form1_1.DBEdit3: TDBEdit "Nelson"'
expect_line 'Form1_1.DBCheckBox1: TDBCheckBox "Active"'
grep -q '^Form1_1\.DBMemo1: TDBMemo "Vice president, sales\.' "$report" || fail "live form lacks the memo's text"
expect_line 'Form1_1.DBImage1: TDBImage ""'
expect_eq "data sources" "1" "$(grep -c ': TDataSource$' "$report")"
grep -q 'TKvIcon\|TKvDot\|TKLabel' "$report" && fail "the engine's own controls reached the live form"
echo "ok"
