#!/usr/bin/env bash
# A crash loses at most the work since the last recovery copy: a button inserted on a new form,
# kvdemo killed, started again: it offers the design back, and Yes brings the button back in a
# modified design.
#   recovery.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"
demo="${1:-$KV_BIN_DIR/kvdemo}"

e2e_start "$demo" --new-form --dump "$E2E_DUMP"
wait_window '^Form1$' >/dev/null
design_origins
insert_button 24 24
wait_design '^Button1 TButton Form1 24 24 ' >/dev/null
copies="$E2E_DATA_HOME/KvKit/recovery"
for ((i = 0; i < 50; i++)); do
  compgen -G "$copies/*.info" >/dev/null && break
  sleep 0.1
done
compgen -G "$copies/*.info" >/dev/null || fail "no recovery copy after the first change"

kill -9 "$E2E_DEMO"
wait "$E2E_DEMO" 2>/dev/null || true
rm -f "$E2E_DUMP"
e2e_launch "$demo" --new-form --dump "$E2E_DUMP"
confirm="$(wait_window '^Confirm$')"
shot "0-offer"
xdotool windowfocus --sync "$confirm"
xdotool key alt+y
wait_window '^Form1$' >/dev/null
wait_window '^Form2$' >/dev/null  # the new form asked for on the command line comes after
sleep 0.5
shot "1-restored"

# The restored design, picked with View > Forms... from the new one in front of it.
read -r _ _ fx fy _ _ < <(wait_design '^form Form2 ')
xdotool mousemove --sync "$((fx + 300))" "$((fy + 200))" click 1
sleep 0.3
xdotool key shift+F12
dialog="$(wait_window '^View Form$')"
xdotool windowfocus --sync "$dialog"
xdotool key ctrl+a
xdotool type Form1
xdotool key Return
wait_design '^form Form1 ' >/dev/null
wait_design '^Button1 TButton Form1 24 24 ' >/dev/null
sleep 0.3
shot "2-form1-picked"
designer="$(wait_window ' - Form1 \(Insert & Delete\)$')"
[[ -n "$designer" ]] || fail "the designer window does not name the restored design"
# Copies of the crashed session are gone; this session keeps one of the restored design.
expect_eq "recovery copies after the restore" 1 "$(ls "$copies"/*.info | wc -l)"

quit_without_saving "3-save-prompt"
expect_eq "recovery copies after a clean exit" 0 "$(ls "$copies" | wc -l)"
echo "ok"
