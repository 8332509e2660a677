#!/usr/bin/env bash
# kvdemo opens a new form below the designer window; closing the host offers to save it.
#   spine.sh [KVDEMO]   (default: $KV_BIN_DIR/kvdemo)
source "$(dirname "$0")/lib.bash"

e2e_start "${1:-$KV_BIN_DIR/kvdemo}" --new-form

designer="$(wait_window 'KvFormDesigner1')"
expect_eq "designer caption" "DemoForm.KvFormDesigner1 - Form1 (Insert & Delete)" "$(window_name "$designer")"
read -r dx dy dw dh < <(geometry "$designer")
expect_eq "designer window at the top left" "0 0" "$dx $dy"
expect_eq "designer window height" "108" "$dh"

form="$(wait_window '^Form1$')"
read -r fx fy fw fh < <(geometry "$form")
screen_w=1280 screen_h=1024
expect_eq "new form position" "200 108" "$fx $fy"
expect_eq "new form size" "$(( (screen_w * 68 + 50) / 100 )) $(( (screen_h * 63 + 50) / 100 ))" "$fw $fh"
shot "new-form"

# Closing the host asks about the modified design; No lets everything close.
quit_without_saving "save-prompt"
echo "ok"
