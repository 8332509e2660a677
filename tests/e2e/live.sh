#!/usr/bin/env bash
# Live forms beside the designs. A value typed in Run's live form and never posted is gone once
# that form is closed: the next Run shows the record as stored. "Edit this form" on kvdemo's
# main window, ended by the designer's File > Close, gives the window its working buttons back.
#   live.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form --report --dump "$E2E_DUMP"
designer="$(wait_window 'KvFormDesigner1')"
form="$(wait_window '^Form1$')"
fields="$(wait_window '^Fields$')"
report="$E2E_LOG"
design_origins

# --- The FirstName field dropped onto the design: a label and DBEdit1.
read -r lx ly _ _ < <(geometry "$fields")
xdotool mousemove --sync $((lx + 40)) $((ly + 30 + 2 * 13)) mousedown 1
sleep 0.2
read -r x y < <(at 16 16)
xdotool mousemove --sync "$x" "$y"
sleep 0.2
xdotool mouseup 1
read -r _ _ _ el et ew eh < <(wait_design '^DBEdit1 TDBEdit Form1 ')

# run: Run from the host's menu; the id of the new live form (a second window named Form1).
run() {
  local id i
  host_menu r r
  for ((i = 0; i < 100; i++)); do
    id="$(xdotool search --onlyvisible --name '^Form1$' | grep -vx "$form" | head -1 || true)"
    [[ -n "$id" ]] && break
    sleep 0.1
  done
  [[ -n "$id" ]] || fail "Run showed no live form"
  sleep 0.5
  echo "$id"
}
live="$(run)"
grep -qE '^Form1_[0-9]+\.DBEdit1: TDBEdit "Robert"$' "$report" || fail "Run does not show the record"

# Typed into the live edit; another window takes the focus from it, and the record takes the
# value, unposted. Then the live form is closed.
read -r rx ry _ _ < <(geometry "$live")
xdotool windowfocus --sync "$live"
xdotool mousemove --sync $((rx + el + ew / 2)) $((ry + et + eh / 2)) click 1
sleep 0.2
xdotool key End
xdotool type Typed
sleep 0.2
xdotool windowfocus --sync "$fields"
sleep 0.3
shot "1-typed"
close_window "$live"
for ((i = 0; i < 50; i++)); do
  xdotool search --onlyvisible --name '^Form1$' | grep -qx "$live" || break
  sleep 0.1
done
cp "$report" "$report.before"
live="$(run)"
shot "2-second-run"
tail -n +"$(($(wc -l <"$report.before") + 1))" "$report" | grep -E '\.DBEdit1: ' >"$report.second" || true
expect_eq "the second Run's edit" 'DBEdit1: TDBEdit "Robert"' "$(sed -E 's/^Form1_[0-9]+\.//' "$report.second")"
close_window "$live"

# --- Edit this form: kvdemo's own window is designed, its buttons dead; File > Close in the
# designer window ends that, and its "New form" button opens a design again.
host_menu f e
read -r _ _ hx hy _ _ < <(wait_design '^form DemoForm ')
shot "3-host-designed"
xdotool windowfocus --sync "$designer"
xdotool key --window "$designer" alt+f
sleep 0.3
xdotool key c
sleep 0.5
shot "4-design-closed"
xdotool mousemove --sync $((hx + 16 + 120)) $((hy + 12 + 14)) click 1
wait_window '^Form2$' >/dev/null
shot "5-new-form-from-the-host"
echo "ok"
